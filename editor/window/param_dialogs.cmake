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

# Desktop integration: the menu entry, the document type (*.qtd) and the
# program icon in the hicolor theme.
include(GNUInstallDirs)
set(desktop_dir ${params_dir}/../desktop)
set(icon_dir ${params_dir}/resources/artwork)
install(FILES ${desktop_dir}/vtqedit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop_dir}/vtqedit-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME vtqedit.xml)
foreach(size 16 32 48 64 128 256)
  install(FILES ${icon_dir}/program_icon_${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME vtqedit.png)
endforeach()
install(FILES ${icon_dir}/program_icon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME vtqedit.svg)

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
if(TOOLSET_TESTS AND DESKTOP_FILE_VALIDATE)
  # desktop-file-validate prints every problem it finds, hints included.
  add_test(NAME vtqedit_desktop_entry
    COMMAND sh -c "out=$(\"$0\" \"$1\" 2>&1); printf '%s' \"$out\"; [ -z \"$out\" ]"
            ${DESKTOP_FILE_VALIDATE} ${desktop_dir}/vtqedit.desktop)
endif()
