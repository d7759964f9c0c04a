# The parameter dialogs shown inside the command dialog, with what they need
# (sources, resources, tests, install rules). Included by editor/CMakeLists.txt
# after editor_window and editor_window_tests exist.
target_sources(editor_window PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/param_dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources/artwork.qrc
  ${CMAKE_CURRENT_LIST_DIR}/resources/help.qrc
)

# Tests of the parameter dialogs go into the window's test program:
#   if(TARGET editor_window_tests)
#     target_sources(editor_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tests/...)
#   endif()
