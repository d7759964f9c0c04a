# Installation (`cmake --install build --prefix P`):
#   P/bin/                                 every program, side by side (voconv
#                                          starts mid2trk and kvtool from there)
#   P/share/man/man1/                      a gzip-compressed manual page each
#   P/share/bash-completion/completions/   completion of the programs' options
#   P/share/doc/<package>/                 README, licence, copyright, changelog
#                                          and the example project
# The editor's desktop file, MIME type and icons are installed by the editor's
# own rules. Everything installed goes into one Debian package (cmake/Package.cmake).
include(GNUInstallDirs)

set(TOOLSET_PACKAGE_NAME kesh-audio-toolset)
set(TOOLSET_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${TOOLSET_PACKAGE_NAME})
set(TOOLSET_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
set(TOOLSET_STAGE ${PROJECT_BINARY_DIR}/install-files)

set(toolset_document_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(toolset_folder_permissions
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${toolset_folder_permissions})

# The programs. install(TARGETS) takes each one from wherever the build put it.
set(toolset_programs vtqedit voconv voconv-1.15 mid2trk mid2trk-1.29g macrolift kalptrim kvtool)
set(toolset_installed_programs "")
foreach(program IN LISTS toolset_programs)
  if(TARGET ${program})
    list(APPEND toolset_installed_programs ${program})
  endif()
endforeach()
install(TARGETS ${toolset_installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# toolset_gzip(SOURCE OUTPUT): OUTPUT is SOURCE compressed the way Debian
# wants it (best compression, no name or time stamp, so the bytes are stable).
function(toolset_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${source} ${output}
    DEPENDS ${source} VERBATIM)
endfunction()

# toolset_link(TARGET LINK): a relative symbolic link in the staging folder;
# install(FILES) keeps it a link.
function(toolset_link target link)
  add_custom_command(OUTPUT ${link}
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${target} ${link} VERBATIM)
endfunction()

# Manual pages. An older release's page is a link to the current program's
# page, which has a section on that release's differences.
set(toolset_man_pages vtqedit voconv mid2trk macrolift kalptrim kvtool)
set(toolset_man_links "voconv-1.15=voconv" "mid2trk-1.29g=mid2trk")
set(toolset_man_files "")
foreach(page IN LISTS toolset_man_pages)
  toolset_gzip(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${TOOLSET_STAGE}/man/${page}.1.gz)
  list(APPEND toolset_man_files ${TOOLSET_STAGE}/man/${page}.1.gz)
endforeach()
foreach(entry IN LISTS toolset_man_links)
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 link)
  list(GET pair 1 page)
  toolset_link(${page}.1.gz ${TOOLSET_STAGE}/man/${link}.1.gz)
  list(APPEND toolset_man_files ${TOOLSET_STAGE}/man/${link}.1.gz)
endforeach()
install(FILES ${toolset_man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        PERMISSIONS ${toolset_document_permissions})

# Bash completion is loaded by command name, so an older release's name is a
# link to the current program's script, which knows both.
set(toolset_completions vtqedit voconv mid2trk kvtool)
set(toolset_completion_links "voconv-1.15=voconv" "mid2trk-1.29g=mid2trk")
set(toolset_completion_files "")
foreach(name IN LISTS toolset_completions)
  # Copied beside the links, which would dangle in the staging folder otherwise.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/bash-completion/${name} ${TOOLSET_STAGE}/completions/${name} COPYONLY)
  list(APPEND toolset_completion_files ${TOOLSET_STAGE}/completions/${name})
endforeach()
foreach(entry IN LISTS toolset_completion_links)
  string(REPLACE "=" ";" pair ${entry})
  list(GET pair 0 link)
  list(GET pair 1 name)
  toolset_link(${name} ${TOOLSET_STAGE}/completions/${link})
  list(APPEND toolset_completion_files ${TOOLSET_STAGE}/completions/${link})
endforeach()
install(FILES ${toolset_completion_files} DESTINATION ${TOOLSET_COMPLETION_DIR}
        PERMISSIONS ${toolset_document_permissions})

# Documents. The changelog is a Debian native changelog; its newest entry
# must carry the project's version.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog toolset_changelog_head LIMIT_COUNT 1)
if(NOT toolset_changelog_head MATCHES "^${TOOLSET_PACKAGE_NAME} \\(${PROJECT_VERSION}\\) ")
  message(SEND_ERROR "packaging/debian/changelog: the newest entry is not version ${PROJECT_VERSION} "
                     "of ${TOOLSET_PACKAGE_NAME}: ${toolset_changelog_head}")
endif()
toolset_gzip(${PROJECT_SOURCE_DIR}/packaging/debian/changelog ${TOOLSET_STAGE}/doc/changelog.gz)
install(FILES README.md LICENSE packaging/debian/copyright ${TOOLSET_STAGE}/doc/changelog.gz
        DESTINATION ${TOOLSET_DOC_DIR} PERMISSIONS ${toolset_document_permissions})
install(DIRECTORY examples/ DESTINATION ${TOOLSET_DOC_DIR}/examples
        FILE_PERMISSIONS ${toolset_document_permissions}
        DIRECTORY_PERMISSIONS ${toolset_folder_permissions}
        PATTERN "__pycache__" EXCLUDE)

add_custom_target(toolset_install_files ALL
  DEPENDS ${toolset_man_files} ${toolset_completion_files} ${TOOLSET_STAGE}/doc/changelog.gz)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)

if(TOOLSET_TESTS)
  # Installs into a temporary prefix and checks the installed tree.
  add_test(NAME install_tree
    COMMAND bash ${PROJECT_SOURCE_DIR}/packaging/tests/install_tree_test.sh ${PROJECT_BINARY_DIR} ${CMAKE_COMMAND})
  set_tests_properties(install_tree PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
