#!/usr/bin/env bash
# Builds the libFuzzer harnesses (tests/fuzz, with clang, in build/fuzz) and
# runs each over its seed corpus for a while. A crash, a sanitizer report or
# a broken check in a harness fails the run, and so does an input that makes
# the process use more than 512 MB, ask for more than 128 MB at once or run
# for more than 10 seconds; the input that did it is kept as
# build/fuzz/artifacts/<harness>-{crash,oom,timeout}-*.
#   fuzz.sh [SECONDS] [HARNESS...]   default: 30 seconds each, every harness
# New inputs the fuzzer finds go to build/fuzz/corpus/<harness>, never into
# the seed corpus of the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
bash scripts/build.sh fuzz
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
  for seeds in tests/fuzz/corpus/*/; do harnesses+=("$(basename "$seeds")"); done
fi
mkdir -p build/fuzz/artifacts
# The address sanitizer keeps freed memory aside (256 MB by default), which
# the memory limit would count against the harness.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=32}
status=0
for harness in "${harnesses[@]}"; do
  found=build/fuzz/corpus/$harness
  mkdir -p "$found"
  echo "=== fuzz $harness (${seconds} s)"
  if ! "build/fuzz/tests/fuzz/$harness" -max_total_time="$seconds" -print_final_stats=1 \
      -rss_limit_mb=512 -malloc_limit_mb=128 -timeout=10 \
      -artifact_prefix="build/fuzz/artifacts/$harness-" "$found" "tests/fuzz/corpus/$harness" \
      >"build/fuzz/$harness.log" 2>&1; then
    status=1
    tail -n 60 "build/fuzz/$harness.log"
  else
    grep -E '^stat::number_of_executed_units' "build/fuzz/$harness.log" || true
  fi
done
exit $status
