#!/usr/bin/env bash
# Runs a test program (with its arguments) in a private Xvfb display on Qt's xcb platform.
# Exit codes: the program's own, or 77 (skip) when Xvfb is not installed.
set -uo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIP: Xvfb is not installed"
    exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-xvfb.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
if [[ ! -s $work/display ]]; then
    echo "FAIL: Xvfb did not start"
    cat "$work/xvfb.log"
    exit 1
fi

env -u WAYLAND_DISPLAY DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb "$@"
