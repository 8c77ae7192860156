# What `cmake --install` puts where, beside the two programs (their own folders install them to bin):
# the help book to read in a web browser, the sample files, the desktop entry and the program's icon.
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

# Installs the built tree into a temporary prefix and checks what arrived; it needs both programs built.
if(ODIZODORUZ_BUILD_TESTS)
  add_test(NAME install COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_COMMAND}
                                ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_DATADIR})
  set_tests_properties(install PROPERTIES LABELS install)
endif()
