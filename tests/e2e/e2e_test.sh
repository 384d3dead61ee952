#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program in a private Xvfb display, driven with xdotool: what only the whole program
# shows (start-up, cache, real players, screen saver, single instance, lists, MPRIS, signals).
# Usage: e2e_test.sh <path to the kelvorn binary>
# Exit codes: 0 pass, 1 fail, 77 skip (a needed tool is missing).
set -uo pipefail

(($# == 1)) || { echo "usage: $0 <kelvorn binary>" >&2; exit 2; }
binary=$(realpath "$1")

for tool in Xvfb xdotool sox lame; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-e2e.XXXXXX")
xvfb_pid="" app_pid="" second_pid="" bus_pid="" bus_address=""

pass() { echo "PASS: $*"; }
fail() {
    echo "FAIL: $*"
    local log
    for log in "$work"/app*.err "$work/xvfb.log"; do
        [[ -s $log ]] && { echo "--- last lines of ${log##*/} ---"; tail -n 30 "$log"; }
    done
    exit 1
}

# shellcheck source=scripts/process-helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/process-helpers.sh"

# Ends the processes this script started, and removes the working folder.
cleanup() {
    stop_processes "$second_pid" "$app_pid" "$bus_pid" "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# Names (without folder) of the songs the process has open, one per line.
open_songs() {
    local fd target
    for fd in /proc/"$1"/fd/*; do
        target=$(readlink "$fd" 2>/dev/null) || continue
        [[ ${target,,} == *.@(mp3|flac|ogg) ]] && printf '%s\n' "${target##*/}"
    done | sort -u
}

# --- the working folder --------------------------------------------------------------
# Three long songs; "band B" sorts between "Band A" and "Band C" only when case is ignored.
songs=("Band A - Song One.mp3" "band B - Song Two.mp3" "Band C - Song Three.mp3")
mkdir -p "$work/music" "$work/home" "$work/tmp" "$work/run"
chmod 700 "$work/run"
freq=330
for song in "${songs[@]}"; do
    sox -n -r 44100 -c 1 "$work/tone.wav" synth 30 sine "$freq" fade 0.05 30 0.3 vol 0.3 ||
        fail "sox could not make a test tone"
    lame --quiet -b 64 "$work/tone.wav" "$work/music/$song" || fail "lame could not encode $song"
    freq=$((freq + 110))
done
rm -f "$work/tone.wav"
printf 'not a song\r\n' >"$work/music/notes.txt"
printf 'music/\r\n' >"$work/Mp3Path.kvx"
printf -- '-1\r\n' >"$work/GFXSpeed.kvx"
printf '00:00:00\r\n0\r\n0\r\n 30 \r\n 100 \r\n 100 \r\n' >"$work/Settings.kvx"
# A one-second intro, when ffmpeg is there to make it.
intro=""
if command -v ffmpeg >/dev/null 2>&1 &&
    ffmpeg -loglevel error -f lavfi -i testsrc=size=160x120:rate=10 -f lavfi -i sine=frequency=500 \
        -t 1 -c:v mpeg4 -c:a mp3 "$work/intro.avi" </dev/null; then
    intro=yes
fi

# Run as an ordinary user (to whom a read-only folder is read-only), from a copy it owns.
as_user=()
cp "$binary" "$work/kelvorn" || fail "could not copy the program"
binary=$work/kelvorn
if ((EUID == 0)); then
    command -v setpriv >/dev/null 2>&1 || { echo "SKIP: setpriv is not installed"; exit 77; }
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    chown -R 65534:65534 "$work"
fi

# A start without a display says why and ends with an error status, not an abort.
"${as_user[@]}" env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
    "$binary" >/dev/null 2>"$work/nodisplay.err"
status=$?
((status > 0 && status < 128)) || fail "a start without a display ended with status $status"
grep -q '^kelvorn: cannot start: .*display' "$work/nodisplay.err" ||
    fail "a start without a display did not say why: $(head -c 300 "$work/nodisplay.err")"
pass "a start without a display says why and ends with status $status"

# Another user's files at the lock's and socket's old names in /tmp stop nothing.
mkdir "$work/tmp/kelvorn-65534.lock" && : >"$work/tmp/kelvorn-65534" && chown 0:0 "$work/tmp/kelvorn-65534"*

# --- a private X display ---------------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_ready() { [[ $(wc -l <"$work/display") -ge 1 ]]; }
wait_for 10 display_ready || fail "Xvfb did not start"
display=":$(head -n 1 "$work/display")"
echo "using display $display"

# A private home, runtime and temp folder: nothing of the user's own takes part.
run_app() {
    local log=$1
    cd "$work" || exit 1
    exec "${as_user[@]}" env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$work/home" \
        XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" DISPLAY="$display" QT_QPA_PLATFORM=xcb KELVORN_DEBUG=1 \
        ${bus_address:+DBUS_SESSION_BUS_ADDRESS=$bus_address} "$binary" >"$work/$log.out" 2>"$work/$log.err"
}

# Starts run $1 (its log $1.err) and waits until it takes keys; $2 names it on failure.
start_run() {
    run_app "$1" &
    app_pid=$! log_name=$1
    wait_for 30 find_window && wait_for 10 ready || fail "$2 did not start"
}
# Ends the run with SIGTERM within $1 seconds.
end_run() {
    kill -TERM "$app_pid"
    wait_for "$1" not_alive "$app_pid" || fail "SIGTERM did not end the program within $1 s${2:+ $2}"
}

# --- first start: scan and cache -------------------------------------------------------
run_app app1 &
app_pid=$! log_name=app1
cache_written() { [[ $(grep -c . "$work/CashList.kvx" 2>/dev/null) == 3 ]]; }
wait_for 30 cache_written || fail "CashList.kvx with the 3 songs was not written within 30 s"

find_window() {
    window=$(DISPLAY=$display xdotool search --onlyvisible --name '^kelvorn$' 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
wait_for 30 find_window || fail "no visible window titled \"kelvorn\" within 15 s"
pass "window \"kelvorn\" is shown"
kill -PIPE "$app_pid"
sleep 0.3
alive "$app_pid" || fail "SIGPIPE ended the program"
pass "SIGPIPE ends nothing"

# "kelvorn: ready" on stderr (KELVORN_DEBUG=1): the main screen takes keys.
ready() { grep -q 'kelvorn: ready' "$work/$log_name.err" 2>/dev/null; }
wait_for 10 ready || echo "note: no \"kelvorn: ready\" line on stderr; carrying on"
alive "$app_pid" || fail "the program ended during start-up"

# Nothing plays above the normal volume at start-up: the volume is set before the intro.
if [[ -n $intro ]]; then
    first_line() { grep -n "kelvorn: $1" "$work/app1.err" | head -n 1 | cut -d: -f1; }
    volume_line=$(first_line volume) intro_line=$(first_line intro)
    [[ -n $intro_line ]] || fail "the intro was not played"
    [[ $volume_line -lt $intro_line ]] || fail "the intro played before the normal volume was set"
    grep -m 1 "kelvorn: volume" "$work/app1.err" | grep -q ' 30' ||
        fail "the first volume is not the normal volume of Settings.kvx"
    pass "the intro plays at the normal volume"
fi

# Focus the window and type (Qt ignores events sent to a window id); each key waits up to 1 s for its "handled" line.
handled_count() { grep -c 'kelvorn: handled' "$work/$log_name.err" 2>/dev/null; }
send_key() {
    local before=$(handled_count)
    DISPLAY=$display xdotool windowactivate "$window" >/dev/null 2>&1
    DISPLAY=$display xdotool windowfocus "$window" >/dev/null 2>&1
    DISPLAY=$display xdotool key --clearmodifiers "$1"
    handled_more() { (($(handled_count) > before)); }
    wait_for 1 handled_more || true
}
type_keys() { for key in "$@"; do send_key "$key"; done; }

# --- play and skip ---------------------------------------------------------------------
playing_only() { [[ $(open_songs "$app_pid") == "$1" ]]; }
# Passes when the song $1, and nothing else, is open within 5 s of what $2 names.
expect_playing() {
    wait_for 5 playing_only "$1" || fail "$2 did not play $1 (open: $(open_songs "$app_pid" | tr '\n' ' '))"
    pass "$2 plays $1"
}

send_key 1
expect_playing "${songs[0]}" '"1"'
send_key 1
expect_playing "${songs[1]}" '"1" again'

# --- the X screen saver waits while a song plays, and only then --------------------------
# With noblank, Xvfb's saver covers the main screen's #9090C0 with the root's pattern.
if command -v xset >/dev/null 2>&1 && command -v ffmpeg >/dev/null 2>&1; then
    main_points() {  # of 64x36 points on the screen, those in the main screen's colour
        ffmpeg -loglevel error -f x11grab -i "$display" -frames:v 1 -vf scale=64:36:flags=neighbor \
            -f rawvideo -pix_fmt rgb24 - </dev/null | od -An -v -tx1 -w3 | grep -c '90 90 c0'
    }
    main_gone() { (($(main_points) == 0)); }
    DISPLAY=$display xset s 3 s noblank
    for second in 0 1 2 3 4 5 6 7 8 9 10; do
        (($(main_points) > 500)) || fail "the screen saver started after $second s while a song played"
        sleep 1
    done
    send_key 2  # paused: nothing to stay awake for
    wait_for 10 main_gone || fail "the screen saver did not start within 10 s of the pause"
    DISPLAY=$display xset s off s reset
    pass "the screen saver waits while a song plays and starts once it is paused"
fi

# --- a second start hands over to the first and ends ------------------------------------
run_app app2 &
second_pid=$!
wait_for 5 not_alive "$second_pid" || fail "a second start did not end by itself within 5 s"
second_pid=""
alive "$app_pid" || fail "the first instance ended when a second one was started"
pass "a second start ends by itself; the first keeps running"

# --- the road of one request: lists menu, full list, select a song, back -----------------
# "3" the lists menu, "1" the full list, down, up, select: the first song plays.
type_keys 3 1 a q c
expect_playing "${songs[0]}" "lists menu, full list, select"
# The second select adds the third song to the custom list.
type_keys a a x numbersign
alive "$app_pid" || fail "the back key on the full list ended the program"
pass "back from the full list keeps the program running"

# --- save the custom list as a playlist, typed on the keypad: "6" "6" is M --------------
type_keys 3 5 6 6 c
saved_as_m() { [[ -f $work/music/M.m3u && $(od -An -c "$work/music/M.m3u" | tr -d ' \n') == 'BandC-SongThree.mp3\r\n' ]]; }
wait_for 5 saved_as_m || fail "SAVE PLAYLIST did not write M.m3u with the custom list"
pass "SAVE PLAYLIST wrote M.m3u holding ${songs[2]}"

# --- load it: the playlist's first song plays ------------------------------------------
type_keys 3 4 c
expect_playing "${songs[2]}" "LOAD PLAYLIST"
type_keys numbersign

# --- search TWO ("8" "8", "9" "9", "6" "6" "6" "6") and play the result -----------------
type_keys 3 3 8 8 9 9 6 6 6 6 c c
expect_playing "${songs[1]}" "ALPHA SEARCH for TWO"
type_keys numbersign

# --- a save into a read-only folder keeps the old file and says so -----------------------
type_keys 3 1 x x numbersign
chmod a-w "$work/music"
before=$(od -c "$work/music/M.m3u")
type_keys 3 5 6 6 c
said_not_saved() { grep -q 'kelvorn: notice .*NOT SAVED' "$work/app1.err"; }
wait_for 5 said_not_saved || fail "a failed save did not show NOT SAVED"
[[ $(od -c "$work/music/M.m3u") == "$before" ]] || fail "a failed save changed M.m3u"
chmod u+w "$work/music"
pass "a save into a read-only folder keeps M.m3u and shows NOT SAVED"

# --- the back key: black screen, then the exit -------------------------------------------
# The first "#" blanks the screen, the second leaves it, the third and fourth end the program.
type_keys numbersign numbersign numbersign
alive "$app_pid" || fail "the program ended after only 3 \"#\""
send_key numbersign
wait_for 5 not_alive "$app_pid" || fail "the program still runs after 4 \"#\""
app_pid=""
pass "the program ended after the black screen and 4 \"#\""

# --- second run: MPRIS on a private bus, SIGTERM -----------------------------------------
rm -f "$work/intro.avi"
if command -v dbus-daemon >/dev/null 2>&1 && command -v dbus-send >/dev/null 2>&1; then
    "${as_user[@]}" dbus-daemon --session --nofork --print-address=3 3>"$work/bus" &
    bus_pid=$!
    bus_ready() { [[ -s $work/bus ]]; }
    wait_for 5 bus_ready && bus_address=$(head -n 1 "$work/bus")
fi
start_run app3 "the second run"
send_key 1
expect_playing "${songs[0]}" '"1" in the second run'

if [[ -n $bus_address ]]; then
    mpris() {
        "${as_user[@]}" env DBUS_SESSION_BUS_ADDRESS="$bus_address" dbus-send --session --print-reply \
            --dest=org.mpris.MediaPlayer2.kelvorn /org/mpris/MediaPlayer2 "$@"
    }
    mpris org.mpris.MediaPlayer2.Player.Next >/dev/null || fail "MPRIS Next was not answered"
    expect_playing "${songs[1]}" "MPRIS Next"
    mpris org.freedesktop.DBus.Properties.Get string:org.mpris.MediaPlayer2.Player string:PlaybackStatus |
        grep -q '"Playing"' || fail "MPRIS does not say Playing"
    pass "MPRIS: Next plays ${songs[1]}, PlaybackStatus is Playing"
fi

end_run 5
wait "$app_pid" 2>/dev/null
status=$?
app_pid=""
((status == 0)) || fail "SIGTERM ended the program with status $status"
[[ -z $(ls -A "$work/run" | grep kelvorn) ]] || fail "SIGTERM left $(ls "$work/run")"
pass "SIGTERM ends the program with status 0 and removes its socket and lock"

# --- third run: a song whose reads stall is playing when the alarm falls due -----------
# First in the cache, a FIFO named like a song that nobody writes: reads block as on a disk asleep.
stalled="0 Stalled.mp3"
mkfifo "$work/music/$stalled" && chown --reference="$work/music" "$work/music/$stalled"
exec {stall_fd}<>"$work/music/$stalled"
printf '%s\r\n' "$stalled" "${songs[@]}" >"$work/CashList.kvx"
printf '%s\r\n' "${songs[2]}" >"$work/music/ALARM.m3u"
alarm_at=$(($(date +%s) + 20))  # time for a start on a busy machine
printf '%s\r\n1\r\n0\r\n 30 \r\n 100 \r\n 100 \r\n' "$(date -d "@$alarm_at" +%H:%M:%S)" >"$work/Settings.kvx"
start_run app4 "the third run"
(($(date +%s) < alarm_at - 3)) || fail "the third run started too late for its alarm"
while (($(date +%s) < alarm_at - 3)); do sleep 0.2; done
send_key c  # plays the archive from its first entry, the FIFO
sleep 1
handled_before=$(handled_count)
send_key a
(($(handled_count) > handled_before)) || fail "a key was not handled while a song's reads stall"
alarm_song_open() { grep -qxF "${songs[2]}" <<<"$(open_songs "$app_pid")"; }
while (($(date +%s) < alarm_at)); do sleep 0.1; done
wait_for 10 alarm_song_open || fail "the alarm's song did not open within 10 s of the alarm time"
end_run 2 "while a read stalls"
app_pid=""
exec {stall_fd}>&-
pass "a stalled song: keys act, the alarm's song opens, SIGTERM ends the program within 2 s"

# --- fourth run: an album folder in FLAC and Ogg, and another player's playlist ----------
album="Tree Artist/Tree Album"
mkdir -p "$work/music/$album"
for song in "01 Flac Song.flac" "02 Ogg Song.ogg"; do
    ffmpeg -loglevel error -f lavfi -i sine=frequency=440:duration=30 "$work/music/$album/$song" </dev/null ||
        fail "ffmpeg could not make $song"
done
chown -R --reference="$work/music" "$work/music/Tree Artist"
rm -f "$work/CashList.kvx" "$work/music/$stalled" "$work/music/"*.m3u
printf 'subfolders=1\nformats=mp3 flac ogg\n' >"$work/Library.kvx"
printf '00:00:00\r\n0\r\n0\r\n 30 \r\n 100 \r\n 100 \r\n' >"$work/Settings.kvx"
# Exported elsewhere: a header, the other player's notes, an absolute path and a file:// URL.
flac_url="file://$work/music/$album/01 Flac Song.flac"
printf '#EXTM3U\r\n#EXTINF:30,Tree Artist - Ogg Song\r\n%s\r\n#EXTINF:30,Tree Artist - Flac Song\r\n%s\r\n' \
    "$work/music/$album/02 Ogg Song.ogg" "${flac_url// /%20}" >"$work/music/Other.m3u8"
start_run app5 "the fourth run"
grep -qxF "$album/01 Flac Song.flac"$'\r' "$work/CashList.kvx" ||
    fail "the scan with subfolders did not cache the album: $(cat "$work/CashList.kvx")"
pass "Library.kvx: the scan takes the album folder's FLAC and Ogg songs"
type_keys 3 4 c  # PLAY LISTS: Other.m3u8 is the only one
expect_playing "02 Ogg Song.ogg" "an EXTM3U playlist's absolute path"
type_keys numbersign 1  # back on the main screen, "1" skips
expect_playing "01 Flac Song.flac" "an EXTM3U playlist's file:// URL"
end_run 5

echo "PASS: e2e"
