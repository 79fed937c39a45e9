# The installed layout, desktop integration and the Debian package.
#
#   PREFIX/bin/               quavero, qvr, qvlang (and qvrindex when built)
#   PREFIX/share/quavero/     Lang/*.lng and the library template data.blk, found by the
#                             programs relative to their own folder (../share/quavero)
#   PREFIX/share/applications, metainfo, icons/hicolor, man/man1, bash-completion
include(GNUInstallDirs)

set(QUAVERO_APP_ID example.kestrel.Quavero)
set(QUAVERO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/quavero)
set(QUAVERO_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

foreach(program quavero qvr qvlang qvrindex)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
install(DIRECTORY ${QUAVERO_LANG_DIR}/ DESTINATION ${QUAVERO_SHARE_DIR}/Lang
  FILES_MATCHING PATTERN "*.lng")
install(FILES ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/data.blk DESTINATION ${QUAVERO_SHARE_DIR})

install(FILES ${QUAVERO_PACKAGING_DIR}/${QUAVERO_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUAVERO_PACKAGING_DIR}/${QUAVERO_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${QUAVERO_PACKAGING_DIR}/qvr.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME qvr)

# Icons: the scalable picture as drawn, and PNGs rendered from it at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(QUAVERO_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/app.svg)
set(QUAVERO_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(icon_outputs)
foreach(size 16 22 24 32 48 64 128 256)
  set(png ${QUAVERO_ICON_DIR}/${size}x${size}/apps/quavero.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUAVERO_ICON_DIR}/${size}x${size}/apps
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${QUAVERO_ICON_SVG}
    DEPENDS ${QUAVERO_ICON_SVG}
    COMMENT "Rendering the ${size} px icon" VERBATIM)
  list(APPEND icon_outputs ${png})
endforeach()
add_custom_target(quavero_icons ALL DEPENDS ${icon_outputs})
install(DIRECTORY ${QUAVERO_ICON_DIR} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QUAVERO_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME quavero.svg)

# Man pages from the programs' own --help (and, for qvr, every command's help).
find_program(HELP2MAN help2man REQUIRED)
set(QUAVERO_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(man_outputs)
set(man_entries "quavero|the Quavero music library"
  "qvr|the Quavero library from the command line" "qvlang|Quavero language files")
if(TARGET qvrindex)
  list(APPEND man_entries "qvrindex|the Quavero indexing engine")
  # For users who want the engine running whenever they are logged in:
  # systemctl --user enable --now quavero-index.service
  install(FILES ${QUAVERO_PACKAGING_DIR}/quavero-index.service
    DESTINATION lib/systemd/user)
endif()
foreach(entry IN LISTS man_entries)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 program)
  list(GET parts 1 summary)
  set(page ${QUAVERO_MAN_DIR}/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN} -DPROGRAM=$<TARGET_FILE:${program}>
      -DNAME=${program} "-DSUMMARY=${summary}" -DOUTPUT=${page}
      -P ${QUAVERO_PACKAGING_DIR}/ManPage.cmake
    COMMAND gzip -9 -n -f ${page}
    DEPENDS ${program} ${QUAVERO_PACKAGING_DIR}/ManPage.cmake
    COMMENT "Writing the manual page of ${program}" VERBATIM)
  list(APPEND man_outputs ${page}.gz)
endforeach()
add_custom_target(quavero_man ALL DEPENDS ${man_outputs})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Debian documentation: the copyright statement and the changelog.
set(QUAVERO_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${QUAVERO_CHANGELOG_GZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND sh -c "gzip -9 -n -c '${QUAVERO_PACKAGING_DIR}/changelog' > '${QUAVERO_CHANGELOG_GZ}'"
  DEPENDS ${QUAVERO_PACKAGING_DIR}/changelog VERBATIM)
add_custom_target(quavero_changelog ALL DEPENDS ${QUAVERO_CHANGELOG_GZ})
install(FILES ${QUAVERO_PACKAGING_DIR}/copyright ${QUAVERO_CHANGELOG_GZ}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quavero) # named after the package

# cpack -G DEB in the build folder makes quavero_VERSION_ARCH.deb.
set(CPACK_PACKAGE_NAME quavero)
set(CPACK_PACKAGE_VENDOR Kestrel)
set(CPACK_PACKAGE_CONTACT "Quavero developers <quavero@kestrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "music library manager for MP3, WMA and WAV files")
set(CPACK_PACKAGE_DESCRIPTION
  "Quavero keeps a catalogue of MP3, WMA and WAV files in an embedded\n"
  "database and shows it by artist and album, with smart filters, ratings,\n"
  "virtual folders and audio CDs. It edits tags, renames files from their\n"
  "tags, looks discs up in CDDB, rips CDs and converts between formats.\n"
  "The qvr command line works on the same library.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries come from dpkg-shlibdeps; Qt's X11 platform plugin is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, gstreamer1.0-libav")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
