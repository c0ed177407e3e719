#!/usr/bin/env bash
# Runs one command inside a display and wineserver of its own, then stops
# them: for running a single Windows test by hand, for example
#   scripts/in-session.sh build/win/tests/win/vlcr_win_tests.exe -tc='*button*'
# Set WINEPREFIX to keep several of these apart.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/session.sh
VLCR_OWN_DISPLAY=1
trap vlcr_stop_session EXIT
vlcr_start_display >&2
vlcr_start_wine >&2
case "$1" in
    *.exe) scripts/wine-run "$@" ;;
    *) "$@" ;;
esac
