# What `cmake --install` puts under a prefix, and the Debian package that CPack makes of it
# (scripts/package).
#
# Everything goes below the prefix, also the file for Chromium's /etc/chromium.d: its folder
# is CMAKE_INSTALL_SYSCONFDIR, "etc" under the prefix unless configured absolute
# (-DCMAKE_INSTALL_SYSCONFDIR=/etc, as the package does).

include(GNUInstallDirs)

set(KLEBWERK_KENNUNG de.quenmoral.klebwerk)
set(KLEBWERK_DATEN ${CMAKE_CURRENT_SOURCE_DIR}/data)

install(TARGETS klebwerk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KLEBWERK_DATEN}/${KLEBWERK_KENNUNG}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KLEBWERK_DATEN}/${KLEBWERK_KENNUNG}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KLEBWERK_DATEN}/${KLEBWERK_KENNUNG}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KLEBWERK_DATEN}/chromium-zugang DESTINATION ${CMAKE_INSTALL_SYSCONFDIR}/chromium.d
  RENAME klebwerk)
set(KLEBWERK_DOKU ${CMAKE_INSTALL_DATADIR}/doc/klebwerk)
install(FILES ${KLEBWERK_DATEN}/copyright DESTINATION ${KLEBWERK_DOKU})

# The icon's bitmaps in the usual sizes of the hicolor theme, drawn from the SVG at build time.
set(KLEBWERK_SYMBOL_GROESSEN 16 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(symbole)
  foreach(groesse ${KLEBWERK_SYMBOL_GROESSEN})
    set(png ${CMAKE_CURRENT_BINARY_DIR}/symbole/${groesse}/${KLEBWERK_KENNUNG}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/symbole/${groesse}
      COMMAND ${RSVG_CONVERT} -w ${groesse} -h ${groesse} -o ${png} ${KLEBWERK_DATEN}/${KLEBWERK_KENNUNG}.svg
      DEPENDS ${KLEBWERK_DATEN}/${KLEBWERK_KENNUNG}.svg VERBATIM)
    list(APPEND symbole ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${groesse}x${groesse}/apps)
  endforeach()
  add_custom_target(klebwerk_symbole ALL DEPENDS ${symbole})
else()
  message(WARNING "rsvg-convert not found (librsvg2-bin): the icon is installed as SVG only")
endif()

# Debian's changelog of the package, compressed the reproducible way Debian wants it.
set(KLEBWERK_CHANGELOG ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
add_custom_command(OUTPUT ${KLEBWERK_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/debian
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${KLEBWERK_DATEN}/changelog ${KLEBWERK_CHANGELOG}
  DEPENDS ${KLEBWERK_DATEN}/changelog VERBATIM)
add_custom_target(klebwerk_changelog ALL DEPENDS ${KLEBWERK_CHANGELOG})

# Everything `cmake --install` puts in place, for builds of single targets (the
# sanitizer run builds only what it tests, the installation test among it).
add_custom_target(klebwerk_installation DEPENDS klebwerk klebwerk_changelog)
if(RSVG_CONVERT)
  add_dependencies(klebwerk_installation klebwerk_symbole)
endif()
install(FILES ${KLEBWERK_CHANGELOG} DESTINATION ${KLEBWERK_DOKU})

# `install` and the package build only what they install; the scripts build those targets.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME klebwerk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Klebwerk maintainers <maintainers@users.noreply.c-seed-c0c38754.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pastes every new screenshot into a chosen AI chat")
set(CPACK_PACKAGE_DESCRIPTION
  "Klebwerk delivers every new screenshot into one chosen target window,\n\
typically an AI chat in a program of its own or a browser tab: it brings\n\
the target forward, puts the capture on the clipboard, focuses the\n\
chat's input field, pastes, sends if asked to, and returns the user to\n\
where they were, with the clipboard as it was. It works on X11 desktops\n\
through AT-SPI accessibility and speaks German and English.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries from the binary; beside them what Klebwerk needs at run time that no
# library names: the image formats of other capture tools, the accessibility bus, a session
# bus and xdg-open for settings pages. (Qt's X11 platform plugin comes with libqt6gui6.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-image-formats-plugins, at-spi2-core, default-dbus-session-bus | dbus-session-bus, xdg-utils")
# GNOME's screenshot shortcuts and folders are read through GSettings.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dconf-gsettings-backend | gsettings-backend")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Files in /etc are the administrator's: dpkg keeps their edits across updates.
if(IS_ABSOLUTE "${CMAKE_INSTALL_SYSCONFDIR}")
  set(KLEBWERK_CONFFILES ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
  file(WRITE ${KLEBWERK_CONFFILES} "${CMAKE_INSTALL_SYSCONFDIR}/chromium.d/klebwerk\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KLEBWERK_CONFFILES})
  set(CPACK_SET_DESTDIR ON)
endif()
include(CPack)

# The login item of a build starts the installed program where one exists.
set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/linux/xdg_anmeldeobjekt.cpp APPEND PROPERTY
  COMPILE_DEFINITIONS KLEBWERK_INSTALLIERTES_PROGRAMM="${CMAKE_INSTALL_FULL_BINDIR}/klebwerk")

# Installing into a temporary prefix, with the checks of the installed files.
add_test(NAME installation.PrefixHaeltAlleDateienGueltig
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/installation/installation_test.sh ${CMAKE_BINARY_DIR})
set_tests_properties(installation.PrefixHaeltAlleDateienGueltig PROPERTIES LABELS logik TIMEOUT 120)
