#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the launcher.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
bash scripts/build.sh release
exec build/release/app/sorimo "$@"
