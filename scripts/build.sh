#!/usr/bin/env bash
# Configures and builds one flavour: release (default), asan, or win32 (the
# Windows program, cross-compiled with mingw-w64: build/win32/app/Sorimo.exe).
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
case "$flavour" in
  release) args=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan) args=(-DCMAKE_BUILD_TYPE=Debug -DSORIMO_SANITIZE=ON -DSORIMO_BENCH=OFF) ;;
  win32) args=(-DCMAKE_BUILD_TYPE=Release -DSORIMO_BENCH=OFF
               -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
cmake -S . -B "build/$flavour" -G Ninja "${args[@]}" >/dev/null
cmake --build "build/$flavour" -j "$(nproc)"
