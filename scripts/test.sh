#!/usr/bin/env bash
# Installs what is missing, builds the native, fuzz and Windows builds, and
# runs every test: native, under Wine, and end to end in an X display.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh

for preset in native fuzz win; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

source scripts/session.sh
VLCR_OWN_DISPLAY=1
trap vlcr_stop_session EXIT
vlcr_start_display
vlcr_start_wine

# One CTest run over the three builds, so that its summary covers them all.
mkdir -p build/all
cat > build/all/CTestTestfile.cmake <<CTEST
subdirs("$root/build/native" "$root/build/fuzz" "$root/build/win")
CTEST
status=0
ctest --test-dir build/all --output-on-failure --timeout 300 "$@" || status=$?
vlcr_report_window_manager
exit $status
