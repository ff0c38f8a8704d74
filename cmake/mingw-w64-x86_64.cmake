# Cross-compiles the Windows program (64-bit) with Debian's mingw-w64:
#   cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The POSIX thread flavour of the compiler gives the whole C++ standard
# library; everything is linked statically, so Sorimo.exe needs no DLL beyond
# those of Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SORIMO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SORIMO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SORIMO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SORIMO_MINGW_PREFIX}-windres)

# Libraries and headers come from the cross toolchain only; programs (code
# generators, ImageMagick) from the build machine.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
