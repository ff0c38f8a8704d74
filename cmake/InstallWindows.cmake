# The Windows download: `cpack` makes Sorimo-<version>-win64.zip with one
# folder holding Sorimo.exe and a read-me. The program keeps its settings
# beside itself, so the folder is all there is to install.
install(TARGETS Sorimo RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/resources/windows/ReadMe.txt DESTINATION .)

set(CPACK_PACKAGE_NAME Sorimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A tiny quick launcher for 28 files")
set(CPACK_PACKAGE_FILE_NAME Sorimo-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
