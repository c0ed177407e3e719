# Sourced: starts and stops the X display, window manager and wineserver that
# the program and its tests run in. Every wait is bounded.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

VLCR_SESSION_PIDS=()

vlcr_wait_for() {  # seconds, command...
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

vlcr_start_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && [ -z "${VLCR_OWN_DISPLAY:-}" ]; then
        echo "session: using DISPLAY=$DISPLAY"
        return 0
    fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    VLCR_SESSION_PIDS+=($xvfb)
    export DISPLAY=":$n"
    vlcr_wait_for 20 xdpyinfo || { echo "session: Xvfb did not start" >&2; return 1; }
    # A window manager makes Wine's focus and key state behave as on a desktop;
    # without one, some Wine calls wait for it for ever. Twice in a few dozen
    # sessions here no openbox was running once the session had started, and
    # the tests hung later: it is kept running for as long as the display is.
    local log="/tmp/vlcr-openbox-$n.log"
    : >"$log"
    VLCR_OPENBOX_LOG=$log
    (
        while kill -0 "$xvfb" 2>/dev/null; do
            echo "session: openbox starting at $(date +%T)" >>"$log"
            openbox --sm-disable >>"$log" 2>&1
            sleep 0.2
        done
    ) &
    VLCR_SESSION_PIDS+=($!)
    vlcr_wait_for 20 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window" ||
        { echo "session: openbox did not start:" >&2; cat "$log" >&2; return 1; }
    echo "session: Xvfb and openbox on DISPLAY=$DISPLAY"
}

# Whether the window manager stayed, and still answers, for the whole run:
# the tests no longer depend on it, but the end-to-end runs are slower
# without one, and its log says why it went.
vlcr_wm_answers() {  # asks it to change the number of desktops, and back
    local n
    n=$(timeout 5 xdotool get_num_desktops 2>/dev/null) || return 1
    timeout 5 xdotool set_num_desktops $((n + 1)) || return 1
    vlcr_wait_for 3 sh -c "[ \"\$(xdotool get_num_desktops)\" = $((n + 1)) ]" || return 1
    timeout 5 xdotool set_num_desktops "$n" || true
}
vlcr_report_window_manager() {
    [ -n "${VLCR_OPENBOX_LOG:-}" ] || return 0
    local starts answers=yes
    starts=$(grep -c "^session: openbox starting" "$VLCR_OPENBOX_LOG" || true)
    vlcr_wm_answers || answers=no
    echo "session: openbox started $starts time(s); answering at the end: $answers"
    if [ "$starts" != 1 ] || [ "$answers" != yes ]; then
        tail -n 20 "$VLCR_OPENBOX_LOG"
    fi
}

vlcr_start_wine() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    # A server left from an earlier run of this prefix may belong to another
    # display; its programs would open their windows there.
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "session: creating the Wine prefix $WINEPREFIX"
        timeout 180 wineboot -i >/dev/null 2>&1 || { echo "session: wineboot failed" >&2; return 1; }
        timeout 60 wineserver -w || true
        # Wine defines txtfile but no .txt association in a fresh prefix.
        timeout 30 wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 || true
    fi
    # A persistent server keeps every later start warm.
    wineserver -p >/dev/null 2>&1 || true
    timeout 60 wine cmd /c exit >/dev/null 2>&1 || true
    # Wine 8 never asks the window manager to focus a window, and openbox
    # does not focus a tool window of its own accord, so the launch menu
    # would not get the keyboard. Unmanaged, its windows take the X focus
    # themselves when the program gives them the focus. The benchmarks and
    # the Windows tests run the same way; so they also never wait on the
    # window manager (a managed window's hiding waits up to 2 s for it, and
    # the tests hide thousands).
    local exe
    for exe in vlcr.exe vlcr_bench.exe vlcr_win_tests.exe; do
        timeout 60 wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" /v Managed /d N /f \
            >/dev/null 2>&1 || true
    done
}

vlcr_stop_session() {
    timeout 20 wineserver -k >/dev/null 2>&1 || true
    timeout 20 wineserver -w >/dev/null 2>&1 || true
    local p
    for p in "${VLCR_SESSION_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${VLCR_SESSION_PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    VLCR_SESSION_PIDS=()
}
