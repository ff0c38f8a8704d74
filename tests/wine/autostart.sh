#!/usr/bin/env bash
# Sorimo.exe --autostart on|off under Wine: the value "Sorimo" in the
# user's Run key holds the quoted path of the exe, and is gone after off;
# what it prints is in the display language (English, Japanese).
# Usage: autostart.sh WINE-RUN-SCRIPT SORIMO-EXE   (WINEPREFIX set)
set -euo pipefail
run=$1
exe=$2
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
fail() { echo "FAIL: $*" >&2; wineserver -k 2>/dev/null || true; exit 1; }

said=$(LANG=C bash "$run" "$exe" --autostart on) || fail "--autostart on exited with $?"
[ "$said" = "Sorimo starts when you log on from now on." ] || fail "on said: $said"
value=$(bash "$run" reg query "$key" /v Sorimo | tr -d '\r' | awk '$1 == "Sorimo" {sub(/^[^"]*/, ""); print}')
expected="\"$(bash "$run" winepath -w "$exe" | tr -d '\r')\""
[ "$value" = "$expected" ] || fail "Run value is [$value], expected [$expected]"

said=$(LANG=ja_JP.UTF-8 bash "$run" "$exe" --autostart off) || fail "--autostart off exited with $?"
[ "$said" = "Sorimo はログオン時に起動しなくなりました。" ] || fail "off said: $said"
if bash "$run" reg query "$key" /v Sorimo >/dev/null 2>&1; then fail "the Run value is still there"; fi
# Off again is no fault.
bash "$run" "$exe" --autostart off >/dev/null || fail "a second off exited with $?"
wineserver -w
echo "autostart under Wine: ok"
