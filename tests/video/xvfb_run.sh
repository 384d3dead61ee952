#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program (with its arguments) in a private Xvfb display on Qt's xcb platform.
# Exit codes: the program's own, or 77 (skip) when Xvfb is not installed.
set -uo pipefail
command -v Xvfb >/dev/null 2>&1 || { echo "SKIP: Xvfb is not installed"; exit 77; }
# shellcheck source=scripts/process-helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/process-helpers.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-xvfb.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
trap 'stop_processes "$xvfb_pid"; rm -rf "$work"' EXIT
display_ready() { [[ -s $work/display ]]; }
wait_for 10 display_ready || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
env -u WAYLAND_DISPLAY DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb "$@"
