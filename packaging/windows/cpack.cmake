# cpack -G NSIS: zorla-exporta-cli-VERSION-win64.exe, a 64-bit installer for Program Files. It offers to add the
# program's folder to PATH (a silent install, when given /PATH); the Start menu gets the manual, the connection file
# and the uninstaller.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME zorla-exporta-cli)
set(CPACK_PACKAGE_VENDOR "ZORLA Exporta")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME zorla-exporta-cli-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exportação do ZORLA para o Lumetra (linha de comando)")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZORLA Exporta")
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_PACKAGE_NAME "ZORLA Exporta ${PROJECT_VERSION} (linha de comando)")
set(CPACK_NSIS_DISPLAY_NAME "ZORLA Exporta (linha de comando)")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_UNINSTALL_NAME Desinstalar)
set(CPACK_NSIS_MENU_LINKS "Manual do zorla-exporta-cli.txt" "Manual do zorla-exporta-cli"
                          [[bin\\dbxconnections.ini]] "Arquivo de conexão (dbxconnections.ini)")
# The program is 64-bit; so is the installer, which Wine's 64-bit loader then runs too.
set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include FileFunc.nsh")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!include '${CMAKE_CURRENT_LIST_DIR}/caminho.nsh'")
include(CPack)
