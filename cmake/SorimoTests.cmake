# Registers GoogleTest binaries with CTest. On the build machine each test
# case becomes a CTest test; a Windows binary of a cross build runs whole
# under Wine (scripts/wine-run.sh), in the build folder's own Wine prefix,
# which the test wine_prefix makes before any other test needs it.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(SORIMO_WINE_RUN ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh)
  set(SORIMO_WINE_ENV WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix)
  add_test(NAME wine_prefix COMMAND bash ${SORIMO_WINE_RUN} --init)
  set_tests_properties(wine_prefix PROPERTIES
    FIXTURES_SETUP wine_prefix ENVIRONMENT "${SORIMO_WINE_ENV}" TIMEOUT 300)
endif()

function(sorimo_add_gtest target)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    add_test(NAME ${target} COMMAND bash ${SORIMO_WINE_RUN} $<TARGET_FILE:${target}>)
    set_tests_properties(${target} PROPERTIES
      FIXTURES_REQUIRED wine_prefix ENVIRONMENT "${SORIMO_WINE_ENV}" TIMEOUT 600)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
