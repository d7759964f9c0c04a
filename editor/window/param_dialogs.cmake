# The parameter dialogs shown inside the command dialog, with what they need
# (sources, resources, tests, install rules). Included by editor/CMakeLists.txt
# after editor_window and editor_window_tests exist.
set(params_dir ${CMAKE_CURRENT_LIST_DIR})
target_sources(editor_window PRIVATE
  ${params_dir}/param_dialogs.cpp
  ${params_dir}/params/ability_dlg.cpp
  ${params_dir}/params/animation_dlg.cpp
  ${params_dir}/params/play_sound_dlg.cpp
  ${params_dir}/params/vocabulary_list.cpp
  ${params_dir}/preview/gif_preview.cpp
  ${params_dir}/preview/picture_source.cpp
  ${params_dir}/preview/preview_canvas.cpp
  ${params_dir}/preview/preview_picture.cpp
  ${params_dir}/preview/preview_resources.cpp
  ${params_dir}/preview/preview_worker.cpp
  ${params_dir}/resources/artwork.qrc
  ${params_dir}/resources/help.qrc
  ${params_dir}/resources/pictures.qrc
)
# The sounds (some megabytes) are compiled straight into an object file.
qt_add_big_resources(sound_resources ${params_dir}/resources/sounds.qrc)
target_sources(editor_window PRIVATE ${sound_resources})

if(TARGET editor_window_tests)
  target_sources(editor_window_tests PRIVATE
    ${params_dir}/../tests/gif_builder.cpp
    ${params_dir}/tests/gif_preview_test.cpp
    ${params_dir}/tests/preview_worker_test.cpp
    ${params_dir}/tests/param_dialogs_test.cpp
  )
  target_include_directories(editor_window_tests PRIVATE ${params_dir}/../tests)
endif()
