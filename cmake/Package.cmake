# The Debian package (scripts/package runs cpack): one package holding
# everything the install rules install, native, with stripped programs.
set(TOOLSET_PACKAGE_MAINTAINER "KESH toolset authors <toolset@kesh.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TOOLSET_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KESH")
set(CPACK_PACKAGE_CONTACT ${TOOLSET_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "production tools for interactive audio content")
set(CPACK_PACKAGE_DESCRIPTION
    "A cue editor and four console programs for interactive audio content.\n"
    "vtqedit edits time-coded cue documents for an interactive toy and writes\n"
    "each command as a burst of audio pulses to be mixed into a film's sound\n"
    "track. voconv merges exported sound projects and writes the sound data of\n"
    "the Nintendo 64, Game Boy and Game Boy Advance with a C or assembler\n"
    "include file. mid2trk turns Standard MIDI Files into song files, macrolift\n"
    "moves Game Boy sound macros to the Game Boy Advance command set, and\n"
    "kalptrim strips the header of KALP sample files.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_NAME ${TOOLSET_PACKAGE_NAME})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TOOLSET_PACKAGE_MAINTAINER})
# dpkg-shlibdeps (which needs `file`) works out the libraries' packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# Plugins that Qt loads at run time are invisible to dpkg-shlibdeps. They are
# needed once the editor links Qt: the platform plugins (X11 ships with
# libqt6gui6, the others with qt6-qpa-plugins), the picture readers beyond
# GIF, JPEG and ICO (SVG icons among them) and the sound back end, which
# decodes and plays wave files through GStreamer.
set(TOOLSET_QT_PLUGIN_PACKAGES
    libqt6gui6 qt6-qpa-plugins libqt6svg6 qt6-image-formats-plugins
    libqt6multimedia6 gstreamer1.0-plugins-base gstreamer1.0-plugins-good)

# True when TARGET links a Qt library, directly or through its libraries.
function(toolset_links_qt target result)
  set(pending ${target})
  set(seen "")
  while(pending)
    list(POP_FRONT pending item)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
    if(item MATCHES "^Qt6?::")
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
    if(item IN_LIST seen OR NOT TARGET "${item}")
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(imported ${item} IMPORTED)
    if(NOT imported)
      get_target_property(direct ${item} LINK_LIBRARIES)
      get_target_property(interface ${item} INTERFACE_LINK_LIBRARIES)
      foreach(libraries IN ITEMS direct interface)
        if(${libraries})
          list(APPEND pending ${${libraries}})
        endif()
      endforeach()
    endif()
  endwhile()
  set(${result} FALSE PARENT_SCOPE)
endfunction()

set(toolset_window_uses_qt FALSE)
if(TARGET vtqedit)
  toolset_links_qt(vtqedit toolset_window_uses_qt)
endif()
if(toolset_window_uses_qt)
  string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${TOOLSET_QT_PLUGIN_PACKAGES}")
endif()

include(CPack)
