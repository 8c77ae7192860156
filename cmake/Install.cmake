# What `cmake --install` puts where, beside the two programs (their own folders install them to bin):
# the help book to read in a web browser, the sample files, the desktop entry and the program's icon,
# the manual pages, the bash completion of the command-line tool and the AppStream description that
# software centres list the program by.
# An installed copy keeps its settings in the user's configuration folder; it knows itself installed by
# the folder share/odizodoruz next to its bin folder (see engine/SettingsPath.h).
include(GNUInstallDirs)

set(ODIZODORUZ_DATA_DIR ${CMAKE_INSTALL_DATADIR}/odizodoruz)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${ODIZODORUZ_DATA_DIR}/help)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/samples/ DESTINATION ${ODIZODORUZ_DATA_DIR}/samples)
install(FILES ${CMAKE_SOURCE_DIR}/resources/odizodoruz.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 256)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/odizodoruz-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME odizodoruz.png)
endforeach()

# The manual pages, compressed as Debian keeps them (-n: the same bytes on every build).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ODIZODORUZ_MANUALS odizodoruz.1 odizodoruz-cli.1)
set(manuals)
foreach(page ${ODIZODORUZ_MANUALS})
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
                     COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_SOURCE_DIR}/docs/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/docs/man/${page} VERBATIM)
  list(APPEND manuals ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(manuals ALL DEPENDS ${manuals})
install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${CMAKE_SOURCE_DIR}/resources/completion/odizodoruz-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME odizodoruz-cli)

# The AppStream description, with this version and its release date.
set(ODIZODORUZ_APPSTREAM_ID io.github.odizodoruz.odizodoruz)
set(ODIZODORUZ_METAINFO ${CMAKE_BINARY_DIR}/${ODIZODORUZ_APPSTREAM_ID}.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/resources/odizodoruz.metainfo.xml.in ${ODIZODORUZ_METAINFO} @ONLY)
install(FILES ${ODIZODORUZ_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Installs the built tree into a temporary prefix and checks what arrived; it needs both programs built.
if(ODIZODORUZ_BUILD_TESTS)
  add_test(NAME install COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_COMMAND}
                                ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_DATADIR})
  set_tests_properties(install PROPERTIES LABELS install)
  # What software centres and desktops read must validate (without the network: the screenshot's
  # address is checked for its form only).
  add_test(NAME appstream COMMAND appstreamcli validate --no-net ${ODIZODORUZ_METAINFO})
  # Every text of the window's sources has a finished translation.
  add_test(NAME translations
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-translations.sh $<TARGET_FILE:Qt6::lupdate>
                   ${CMAKE_BINARY_DIR}/translated-sources.lst ${CMAKE_SOURCE_DIR}/resources/translations)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop-entry COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_SOURCE_DIR}/resources/odizodoruz.desktop)
  endif()
endif()
