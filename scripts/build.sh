#!/usr/bin/env bash
# Configures and builds one flavour: release (default), program (the Linux
# program alone, without tests, benchmarks and tools: what scripts/run.sh
# starts), asan, or win32 (the
# Windows program, cross-compiled with mingw-w64: build/win32/app/Sorimo.exe),
# or fuzz (the libFuzzer harnesses of tests/fuzz, built with clang; see
# scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
targets=()
case "$flavour" in
  release) args=(-DCMAKE_BUILD_TYPE=Release) ;;
  program) args=(-DCMAKE_BUILD_TYPE=Release -DSORIMO_TESTS=OFF -DSORIMO_BENCH=OFF -DSORIMO_TOOLS=OFF) ;;
  asan) args=(-DCMAKE_BUILD_TYPE=Debug -DSORIMO_SANITIZE=ON -DSORIMO_BENCH=OFF) ;;
  win32) args=(-DCMAKE_BUILD_TYPE=Release -DSORIMO_BENCH=OFF
               -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake) ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORIMO_FUZZ=ON -DSORIMO_TESTS=OFF
              -DSORIMO_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++)
        targets=(--target sorimo_fuzzers) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac
cmake -S . -B "build/$flavour" -G Ninja "${args[@]}" >/dev/null
cmake --build "build/$flavour" -j "$(nproc)" "${targets[@]}"
