#!/usr/bin/env bash
# Runs a Windows program under Wine in the prefix $WINEPREFIX, making the
# prefix first when it does not exist yet (that takes a while, once).
#   wine-run.sh --init          only make the prefix
#   wine-run.sh PROGRAM ARGS... run a program; its exit code is ours
set -euo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the prefix folder}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers: the programs need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # Without a display wineboot must not try to show its progress window.
  DISPLAY= wineboot -i >/dev/null 2>&1
  wineserver -w
fi
[ "${1:-}" = --init ] && exit 0
exec wine "$@"
