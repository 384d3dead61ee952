#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The picture of the main screen that the AppStream metainfo shows: the program started
# in a private Xvfb display on the demo folder's settings and songs (a fresh Settings.kvx,
# so the defaults show), "1" pressed so that a song plays, and the screen grabbed.
# Usage: make-screenshot.sh <kelvorn binary> <demo folder> <output .png>
set -euo pipefail

if (($# != 3)); then
    echo "usage: $0 <kelvorn binary> <demo folder> <output .png>" >&2
    exit 2
fi
binary=$(realpath "$1")
demo=$(realpath "$2")
out=$3
for tool in Xvfb xdotool ffmpeg; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "make-screenshot: '$tool' is missing (run scripts/install-deps.sh)" >&2; exit 1; }
done

# shellcheck source=scripts/process-helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/process-helpers.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-screenshot.XXXXXX")
xvfb_pid="" app_pid=""
cleanup() {
    stop_processes "$app_pid" "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# The demo folder's own files; its songs and videos through links, its cache left behind.
mkdir -p "$work/demo" "$work/home" "$work/run" "$work/tmp"
chmod 700 "$work/run"
cp "$demo/Mp3Path.kvx" "$demo/Video.kvx" "$work/demo/"
ln -s "$demo/music" "$demo/videos" "$work/demo/"

Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_ready() { [[ -s $work/display ]]; }
wait_for 10 display_ready || { echo "make-screenshot: Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$work/display")"

(
    cd "$work/demo"
    exec env -u WAYLAND_DISPLAY HOME="$work/home" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" \
        DISPLAY="$display" QT_QPA_PLATFORM=xcb KELVORN_DEBUG=1 "$binary" >/dev/null 2>"$work/app.err"
) &
app_pid=$!
logged() { grep -q "^kelvorn: $1" "$work/app.err"; }
window=""
find_window() {
    window=$(DISPLAY=$display xdotool search --onlyvisible --name '^kelvorn$' 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
if ! wait_for 30 logged ready || ! wait_for 10 find_window; then
    echo "make-screenshot: the program did not come up" >&2
    tail -n 20 "$work/app.err" >&2
    exit 1
fi
DISPLAY=$display xdotool windowactivate "$window" >/dev/null 2>&1 || true
DISPLAY=$display xdotool windowfocus "$window" >/dev/null 2>&1 || true
DISPLAY=$display xdotool key --clearmodifiers 1
wait_for 10 logged playing || { echo "make-screenshot: no song started" >&2; exit 1; }
# The song's title and the progress bar have drawn by then.
sleep 4
mkdir -p "$(dirname "$out")"
ffmpeg -loglevel error -y -f x11grab -video_size 1280x720 -i "$display" -frames:v 1 "$out" </dev/null
echo "make-screenshot: wrote $out"
