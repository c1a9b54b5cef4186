# What `cmake --install` puts where, and the Debian package that `cpack -G DEB` makes of it.
include(GNUInstallDirs)

# The project's public home and the screenshot the AppStream metainfo shows. Placeholders until
# the project is published; a software centre fetches the screenshot from there.
set(SOLVENA_HOMEPAGE_URL "https://solvena.example.org/" CACHE STRING "The project's home page")
set(SOLVENA_SCREENSHOT_URL "${SOLVENA_HOMEPAGE_URL}docs/screenshot.png" CACHE STRING
    "Where docs/screenshot.png is published")
set(SOLVENA_PACKAGE_MAINTAINER "Solvena maintainers <maintainers@solvena.example.org>" CACHE STRING
    "Maintainer field of the Debian package")

# solvena_add_packaging(): the install rules and the package. Call it once every target of the
# tree exists (a deferred call at the end of the top-level CMakeLists.txt), because it installs
# solvena-render only when tools/ has added it.
function(solvena_add_packaging)
  set(here ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(gen ${PROJECT_BINARY_DIR}/packaging)
  set(data ${CMAKE_INSTALL_DATADIR})
  # The date of the release the project version names; change the two together.
  set(SOLVENA_RELEASE_DATE 2026-12-07)

  set(with_render OFF)
  if(TARGET solvena-render)
    set(with_render ON)
  endif()

  install(TARGETS solvena RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(with_render)
    install(TARGETS solvena-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()

  # The rest is for Linux desktops and Debian: XDG data folders, manual pages, the package.
  if(NOT (UNIX AND NOT APPLE))
    return()
  endif()

  # Menu entry, file type and software-centre entry, all named after the desktop identity.
  set(SOLVENA_METAINFO_MORE_BINARIES "")
  if(with_render)
    set(SOLVENA_METAINFO_MORE_BINARIES "\n    <binary>solvena-render</binary>")
  endif()
  configure_file(${here}/solvena.desktop.in ${gen}/${SOLVENA_APP_ID}.desktop @ONLY)
  configure_file(${here}/solvena-mime.xml.in ${gen}/mime/${SOLVENA_APP_ID}.xml @ONLY)
  configure_file(${here}/solvena.metainfo.xml.in ${gen}/${SOLVENA_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${gen}/${SOLVENA_APP_ID}.desktop DESTINATION ${data}/applications)
  install(FILES ${gen}/mime/${SOLVENA_APP_ID}.xml DESTINATION ${data}/mime/packages)
  install(FILES ${gen}/${SOLVENA_APP_ID}.metainfo.xml DESTINATION ${data}/metainfo)

  # Icon: the SVG and the PNG sizes rendered from it (icons/render-pngs.sh).
  install(FILES ${here}/icons/solvena.svg DESTINATION ${data}/icons/hicolor/scalable/apps
          RENAME ${SOLVENA_APP_ID}.svg)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${here}/icons/solvena-${size}.png
            DESTINATION ${data}/icons/hicolor/${size}x${size}/apps RENAME ${SOLVENA_APP_ID}.png)
  endforeach()

  # Manual pages and the change log, compressed as Debian wants them (-n: no time stamp, so
  # that builds repeat byte for byte).
  execute_process(COMMAND date -u -R -d ${SOLVENA_RELEASE_DATE}
    OUTPUT_VARIABLE SOLVENA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  set(pages man/solvena.1)
  if(with_render)
    list(APPEND pages man/solvena-render.1)
  endif()
  set(gzipped "")
  foreach(page IN LISTS pages ITEMS debian/changelog)
    configure_file(${here}/${page}.in ${gen}/${page} @ONLY)
    add_custom_command(OUTPUT ${gen}/${page}.gz
      COMMAND gzip -9n -c ${gen}/${page} > ${gen}/${page}.gz
      DEPENDS ${gen}/${page}
      VERBATIM)
    list(APPEND gzipped ${gen}/${page}.gz)
  endforeach()
  add_custom_target(solvena_packaging_docs ALL DEPENDS ${gzipped})
  list(TRANSFORM pages APPEND .gz)
  list(TRANSFORM pages PREPEND ${gen}/)
  install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${here}/debian/copyright ${gen}/debian/changelog.gz
          DESTINATION ${data}/doc/solvena)

  # The package: what `cmake --install` puts under /usr, stripped, and nothing else.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME solvena)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_CONTACT "${SOLVENA_PACKAGE_MAINTAINER}")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for digital timing charts")
  set(CPACK_PACKAGE_DESCRIPTION
    "ソルベナエディタ draws the timing charts of digital circuits: each row of
its grid is a signal, each column a time step, and every cell holds a level
(low, high or undefined) drawn as a waveform. Levels are set on a selection
with the keys 0, 1 and 2, every change can be undone, signals are named in
place, and charts are saved as small CP932 text files that open unchanged on
Windows.")
  if(with_render)
    string(APPEND CPACK_PACKAGE_DESCRIPTION "
.
solvena-render writes a chart as BMP, EMF, PNG, SVG, PDF or WaveJSON without
a display.")
  endif()
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${SOLVENA_HOMEPAGE_URL}")
  # The shared libraries as dpkg-shlibdeps finds them, plus what the program loads or uses
  # without linking it: the run-time group of scripts/deps.sh, the one list of packages.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/deps.sh --list runtime
    OUTPUT_VARIABLE runtime_packages OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${runtime_packages}")
  # No postrm: after a removal the triggers of shared-mime-info and desktop-file-utils drop the
  # type and the entry, and a postrm would keep the package in dpkg's "config-files" state.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${here}/debian/postinst)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  include(CPack)
endfunction()
