# The Windows download: `cpack` makes Sorimo-<version>-win64.zip with one
# folder holding Sorimo.exe, the licence and a read-me, both with the line
# ends of Windows. The program keeps its settings beside itself, so the
# folder is all there is to install.
install(TARGETS Sorimo RUNTIME DESTINATION .)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE ${PROJECT_BINARY_DIR}/LICENSE.txt "${licence}")
install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt ${PROJECT_SOURCE_DIR}/resources/windows/ReadMe.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Sorimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A tiny quick launcher for 28 files")
set(CPACK_PACKAGE_FILE_NAME Sorimo-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
