# GoogleTest for builds that have no GoogleTest package for their target
# (the mingw-w64 cross build): built from the sources that Debian's
# `googletest` package installs under <prefix>/src/googletest. Provides the
# targets GTest::gtest and GTest::gtest_main, as find_package(GTest) does.
find_path(SORIMO_GTEST_SOURCE_DIR NAMES googletest/CMakeLists.txt
          PATH_SUFFIXES src/googletest NO_CMAKE_FIND_ROOT_PATH)
if(NOT SORIMO_GTEST_SOURCE_DIR)
  message(FATAL_ERROR "GoogleTest sources not found: install Debian's googletest package "
                      "or set SORIMO_GTEST_SOURCE_DIR")
endif()

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Windows threads serve GoogleTest; it needs no pthreads there.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)

# Our warning flags are for our code: the third-party sources are built as
# their authors build them, and their headers count as system headers.
get_directory_property(sorimo_saved_compile_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${SORIMO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${sorimo_saved_compile_options}")
foreach(name gtest gtest_main)
  if(NOT TARGET GTest::${name})
    add_library(GTest::${name} ALIAS ${name})
  endif()
endforeach()
