#!/usr/bin/env bash
# Runs one command in a Wine prefix of its own whose display scaling is
# <dpi> (Wine reads LogPixels once, when its server starts), on the display
# the caller has, with a wineserver of that prefix for the command's time:
#   scripts/dpi-run.sh 144 build/win/tests/win/vlcr_win_tests.exe -tc='*scaling*'
# A command ending in .exe runs under Wine; anything else runs as it is, with
# WINEPREFIX set (the end-to-end tests).
set -euo pipefail
dpi=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=$root/build/wine/prefix-$dpi
source "$root/scripts/session.sh"
trap 'timeout 20 wineserver -k >/dev/null 2>&1 || true' EXIT
mkdir -p "$WINEPREFIX"
# A fresh prefix gets the project's settings; the DPI goes into both places
# Wine reads it from, and the server starts anew to read it.
vlcr_start_wine >&2
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    timeout 60 wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
done
timeout 20 wineserver -k >/dev/null 2>&1 || true
timeout 20 wineserver -w >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1 || true
case "$1" in
    *.exe) "$root/scripts/wine-run" "$@" ;;
    *) "$@" ;;
esac
