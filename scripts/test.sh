#!/usr/bin/env bash
# Installs what is missing, builds the release and the sanitizer builds and
# runs every test in both, then cross-builds the Windows program and runs its
# tests under Wine; last, when clang is there, each fuzzing harness runs for
# 30 seconds over its seed corpus (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh test
status=0
python3 scripts/check-layers.py --self-test || status=1
for flavour in release asan win32; do
  echo "=== $flavour build"
  bash scripts/build.sh "$flavour"
  echo "=== $flavour tests"
  ctest --test-dir "build/$flavour" --output-on-failure -j "$(nproc)" || status=1
done
if command -v clang++ >/dev/null; then
  echo "=== fuzzing"
  bash scripts/fuzz.sh 30 || status=1
fi
exit $status
