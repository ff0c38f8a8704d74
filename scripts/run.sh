#!/usr/bin/env bash
# Installs what building and running need, builds the program alone (no
# tests, benchmarks or tools) into build/program and starts it with the
# given arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh run >&2
bash scripts/build.sh program >&2
exec build/program/app/sorimo "$@"
