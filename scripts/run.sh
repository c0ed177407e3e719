#!/usr/bin/env bash
# Installs what is missing, builds vlcr.exe and starts it under Wine with a
# Japanese locale: on $DISPLAY if there is one, otherwise in an Xvfb display
# of its own, whose name it prints so that you can take a screenshot
# (for example: DISPLAY=:90 import -window root shot.png).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset win >/dev/null
cmake --build --preset win --target vlcr

source scripts/session.sh
trap vlcr_stop_session EXIT
vlcr_start_display
vlcr_start_wine

echo "run: starting build/win/vlcr.exe on DISPLAY=$DISPLAY (Launch.ini beside it); Ctrl+C ends it"
wine build/win/vlcr.exe
