#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-program figures for a built kelvorn binary, in a private Xvfb display:
#   (a) start-up to the interactive main screen with a 32,768-song cache, no animations;
#   (b) CPU (share of one core) and resident memory while a song plays on the idle main screen;
#   (c) the gap between one song's end and the next song's start;
#   (d) the scan of a folder of 32,768 songs: launch to the written cache, and the longest
#       time the event loop did not run during the scan;
#   (e) the same for 32,768 songs in 2,000 folders three levels deep (Library.kvx with
#       subfolders on), beside the floor of `find | sort -f` on that tree;
#   (f) CPU of the program and of the X server while the black screen's lines run, nothing
#       playing, in a display of its own at 1024x768.
# Reads the program's KELVORN_DEBUG=1 lines on stderr: "kelvorn: ready <ms>",
# "kelvorn: cache <ms>", "kelvorn: stall <ms> <longest>", "kelvorn: playing <ms> <file>"
# and "kelvorn: ended <ms>".
# Usage: bench-program.sh <kelvorn binary>
set -euo pipefail

if (($# != 1)); then
    echo "usage: $0 <kelvorn binary>" >&2
    exit 2
fi
binary=$(realpath "$1")
for tool in Xvfb xdotool sox lame; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "bench-program: '$tool' is missing (run scripts/install-deps.sh)" >&2
        exit 1
    fi
done

startup_runs=5
sample_seconds=20

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvorn-bench.XXXXXX")
xvfb_pid=""
xvfb2_pid=""
app_pid=""
drain_pid=""

# shellcheck source=scripts/process-helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/process-helpers.sh"

stop_pid() {
    local pid=$1
    [[ -n $pid ]] || return 0
    if alive "$pid"; then
        kill "$pid" 2>/dev/null || true
        for _ in {1..40}; do
            alive "$pid" || break
            sleep 0.05
        done
        alive "$pid" && kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    stop_pid "$app_pid"
    stop_pid "$drain_pid"
    stop_pid "$xvfb_pid"
    stop_pid "$xvfb2_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# --- test folders ------------------------------------------------------------------------
tone() { # <file.mp3> <seconds> <frequency>
    sox -n -r 44100 -c 1 "$work/tone.wav" synth "$2" sine "$3" fade 0.02 "$2" 0.05 vol 0.3
    lame --quiet -b 64 "$work/tone.wav" "$1"
    rm -f "$work/tone.wav"
}

# big/: a cache of 32,768 songs; only the first one exists, long enough for the CPU sample.
mkdir -p "$work/big/music"
printf 'music/\r\n' >"$work/big/Mp3Path.kvx"
printf -- '-1\r\n' >"$work/big/GFXSpeed.kvx"
tone "$work/big/music/Aaa Bench - Long Tune.mp3" $((sample_seconds + 15)) 440
{
    printf 'Aaa Bench - Long Tune.mp3\r\n'
    awk 'BEGIN { for (i = 1; i < 32768; i++) printf "Artist %05d - Title %05d.mp3\r\n", i, i }'
} >"$work/big/CashList.kvx"

# scan/: 32,768 (empty) songs and no cache: every start scans.
mkdir -p "$work/scan/music"
printf 'music/\r\n' >"$work/scan/Mp3Path.kvx"
printf -- '-1\r\n' >"$work/scan/GFXSpeed.kvx"
(cd "$work/scan/music" && awk 'BEGIN { for (i = 0; i < 32768; i++) printf "Artist %05d - Title %05d.mp3\n", i, i }' |
    xargs -d '\n' touch)

# tree/: 32,768 (empty) songs in 20 x 10 x 10 folders, taken with their subfolders.
mkdir -p "$work/tree/music"
printf 'music/\r\n' >"$work/tree/Mp3Path.kvx"
printf -- '-1\r\n' >"$work/tree/GFXSpeed.kvx"
printf 'subfolders=1\r\nformats=mp3 flac ogg\r\n' >"$work/tree/Library.kvx"
(cd "$work/tree/music" &&
    awk 'BEGIN { for (i = 0; i < 2000; i++) printf "Artist %02d/Album %02d/CD %02d\n", i / 100, i / 10 % 10, i % 10 }' |
    xargs -d '\n' mkdir -p &&
    awk 'BEGIN { for (i = 0; i < 32768; i++) printf "Artist %02d/Album %02d/CD %02d/%02d Title %05d.flac\n",
        i % 2000 / 100, i % 2000 / 10 % 10, i % 10, i / 2000, i }' | xargs -d '\n' touch)

# gap/: three songs of one second each, scanned at start.
mkdir -p "$work/gap/music"
printf 'music/\r\n' >"$work/gap/Mp3Path.kvx"
printf -- '-1\r\n' >"$work/gap/GFXSpeed.kvx"
tone "$work/gap/music/Gap A - One.mp3" 1 440
tone "$work/gap/music/Gap B - Two.mp3" 1 550
tone "$work/gap/music/Gap C - Three.mp3" 1 660

# --- display --------------------------------------------------------------------------
mkdir -p "$work/home" "$work/run" "$work/tmp"
chmod 700 "$work/run"
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_ready() { [[ $(wc -l <"$work/display") -ge 1 ]]; }
wait_for 10 display_ready || { echo "bench-program: Xvfb did not start" >&2; exit 1; }
display=":$(head -n 1 "$work/display")"

# Starts the program in folder $1 with stderr to $2; sets app_pid.
start_app() {
    (
        cd "$work/$1" || exit 1
        exec env -u WAYLAND_DISPLAY HOME="$work/home" XDG_RUNTIME_DIR="$work/run" \
            TMPDIR="$work/tmp" DISPLAY="$display" QT_QPA_PLATFORM=xcb KELVORN_DEBUG=1 \
            "$binary" >/dev/null 2>"$2"
    ) &
    app_pid=$!
}

window=""
find_window() {
    window=$(DISPLAY=$display xdotool search --onlyvisible --name '^kelvorn$' 2>/dev/null | head -n 1)
    [[ -n $window ]]
}
send_key() {
    DISPLAY=$display xdotool windowactivate "$window" >/dev/null 2>&1 || true
    DISPLAY=$display xdotool windowfocus "$window" >/dev/null 2>&1 || true
    DISPLAY=$display xdotool key --clearmodifiers "$1"
}
has_line() { grep -q "^kelvorn: $2" "$1" 2>/dev/null; }

# --- (a) start-up and (d) scan -----------------------------------------------------------
# One unmeasured start warms the caches; then the wall time from launch to the ready line
# (and to the cache line, the rewritten cache) in big/, and from launch to the written
# cache in scan/.
startup_wall=()
startup_self=()
cache_wall=()
scan_wall=()
stalls=()
mkfifo "$work/err.fifo"
measure_start() { # <folder>: sets t0, t_cache, t_ready, self, stall
    t0=$(now_us)
    start_app "$1" "$work/err.fifo"
    exec {err_fd}<"$work/err.fifo"
    t_cache=""
    t_ready=""
    self=""
    stall=""
    while IFS= read -r -t 30 -u "$err_fd" line; do
        case $line in
        "kelvorn: stall "*) stall=${line##* } ;;
        "kelvorn: cache "*) t_cache=$(now_us) ;;
        "kelvorn: ready "*)
            t_ready=$(now_us)
            self=${line#kelvorn: ready }
            self=${self%% *}
            break
            ;;
        esac
    done
    # Keep the pipe drained so the program never blocks on it.
    cat <&"$err_fd" >/dev/null &
    drain_pid=$!
    exec {err_fd}<&-
    stop_pid "$app_pid"
    app_pid=""
    stop_pid "$drain_pid"
    drain_pid=""
    [[ -n $t_ready ]] || echo "bench-program: no \"kelvorn: ready\" line within 30 s" >&2
}
for run in $(seq 0 "$startup_runs"); do
    measure_start big
    [[ -n $t_ready ]] || break
    if ((run > 0)); then
        startup_wall+=("$(((t_ready - t0) / 1000))")
        startup_self+=("$self")
        [[ -n $t_cache ]] && cache_wall+=("$(((t_cache - t0) / 1000))")
    fi
done
for run in $(seq 0 "$startup_runs"); do
    rm -f "$work/scan/CashList.kvx"
    measure_start scan
    [[ -n $t_ready ]] || break
    if ((run > 0)); then
        [[ -n $t_cache ]] && scan_wall+=("$(((t_cache - t0) / 1000))")
        [[ -n $stall ]] && stalls+=("$stall")
    fi
done
tree_wall=()
floor_wall=()
for run in $(seq 0 "$startup_runs"); do
    rm -f "$work/tree/CashList.kvx"
    measure_start tree
    [[ -n $t_ready ]] || break
    t1=$(now_us)
    (cd "$work/tree/music" && find . -type f | sort -f >/dev/null)
    if ((run > 0)); then
        [[ -n $t_cache ]] && tree_wall+=("$(((t_cache - t0) / 1000))")
        floor_wall+=("$((($(now_us) - t1) / 1000))")
    fi
done
[[ $(grep -c . "$work/tree/CashList.kvx") == 32768 ]] || echo "bench-program: the tree scan did not cache 32,768 songs" >&2

# --- (b) CPU and memory while a song plays -----------------------------------------------
# CPU clock ticks (user + system) and resident kB of the program; empty once it has ended.
ticks() { awk '{ sub(/^.*\) /, ""); split($0, f, " "); print f[12] + f[13] }' "/proc/${1:-$app_pid}/stat" 2>/dev/null || true; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$app_pid/status" 2>/dev/null || true; }
cpu_pct=""
rss_max=""
start_app big "$work/idle.err"
if wait_for 30 has_line "$work/idle.err" "ready" && wait_for 10 find_window; then
    send_key 1
    if wait_for 10 has_line "$work/idle.err" "playing"; then
        sleep 2
        hz=$(getconf CLK_TCK)
        c0=$(ticks)
        s0=$(now_us)
        rss_max=0
        for _ in $(seq "$sample_seconds"); do
            sleep 1
            alive "$app_pid" || break
            r=$(rss_kb)
            if ((${r:-0} > rss_max)); then rss_max=$r; fi
        done
        c1=$(ticks)
        if [[ -n $c0 && -n $c1 ]]; then
            s1=$(now_us)
            cpu_pct=$(awk -v c="$((c1 - c0))" -v hz="$hz" -v us="$((s1 - s0))" \
                'BEGIN { printf "%.2f", 100 * (c / hz) / (us / 1e6) }')
            rss_max=$(awk -v k="$rss_max" 'BEGIN { printf "%.0f", k / 1024 }')
        else
            rss_max=""
        fi
    fi
fi
stop_pid "$app_pid"
app_pid=""

# --- (c) next song ---------------------------------------------------------------------
gaps=()
start_app gap "$work/gap.err"
if wait_for 30 has_line "$work/gap.err" "ready" && wait_for 10 find_window; then
    send_key 1
    sleep 7
fi
stop_pid "$app_pid"
app_pid=""
while read -r gap; do
    gaps+=("$gap")
done < <(awk '$1 == "kelvorn:" && $2 == "ended" { ended = $3; next }
              $1 == "kelvorn:" && $2 == "playing" && ended != "" { print $3 - ended; ended = "" }' \
             "$work/gap.err")

# --- (f) the black screen's lines ----------------------------------------------------------
# A display of its own, the size the lines' cost is quoted for; the program and the X server
# are sampled together while the lines run.
lines_pct=""
xserver_pct=""
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display2" 2>>"$work/xvfb.log" &
xvfb2_pid=$!
display2_ready() { [[ $(wc -l <"$work/display2") -ge 1 ]]; }
if wait_for 10 display2_ready; then
    main_display=$display
    display=":$(head -n 1 "$work/display2")"
    start_app big "$work/lines.err"
    if wait_for 30 has_line "$work/lines.err" "ready" && wait_for 10 find_window; then
        send_key numbersign
        sleep 1
        send_key c
        sleep 2
        hz=$(getconf CLK_TCK)
        c0=$(ticks)
        x0=$(ticks "$xvfb2_pid")
        s0=$(now_us)
        sleep "$sample_seconds"
        c1=$(ticks)
        x1=$(ticks "$xvfb2_pid")
        s1=$(now_us)
        if [[ -n $c0 && -n $c1 && -n $x0 && -n $x1 ]]; then
            share() { awk -v c="$1" -v hz="$hz" -v us="$((s1 - s0))" 'BEGIN { printf "%.2f", 100 * (c / hz) / (us / 1e6) }'; }
            lines_pct=$(share $((c1 - c0)))
            xserver_pct=$(share $((x1 - x0)))
        fi
    fi
    stop_pid "$app_pid"
    app_pid=""
    display=$main_display
fi
stop_pid "$xvfb2_pid"

# --- table ------------------------------------------------------------------------------
figure() { if [[ -n $1 ]]; then printf '%s' "$1"; else printf '—'; fi; }
# Median and maximum of the arguments (whole numbers); empty without arguments.
median_of() { (($#)) && printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
max_of() { (($#)) && printf '%s\n' "$@" | sort -n | tail -n 1; }

startup_median=$(median_of "${startup_wall[@]}" || true)
startup_max=$(max_of "${startup_wall[@]}" || true)
self_median=$(median_of "${startup_self[@]}" || true)
gap_median=$(median_of "${gaps[@]}" || true)
gap_max=$(max_of "${gaps[@]}" || true)
cache_median=$(median_of "${cache_wall[@]}" || true)
cache_max=$(max_of "${cache_wall[@]}" || true)
scan_median=$(median_of "${scan_wall[@]}" || true)
scan_max=$(max_of "${scan_wall[@]}" || true)
stall_max=$(max_of "${stalls[@]}" || true)
tree_median=$(median_of "${tree_wall[@]}" || true)
tree_max=$(max_of "${tree_wall[@]}" || true)
floor_median=$(median_of "${floor_wall[@]}" || true)

row() { printf '%-46s %-40s %s\n' "$@"; }
echo
echo "Whole program ($(basename "$binary") in Xvfb 1280x720, $(nproc) cores)"
row "figure" "measured" "target"
row "start-up to main screen, 32,768-song cache" \
    "$(figure "$startup_median") ms median, $(figure "$startup_max") max (n=${#startup_wall[@]})" "< 300 ms"
row "  the program's own count to ready" "$(figure "$self_median") ms median" ""
row "start-up to the rewritten cache, 32,768 songs" \
    "$(figure "$cache_median") ms median, $(figure "$cache_max") max (n=${#cache_wall[@]})" "< 200 ms"
row "scan of 32,768 songs, launch to written cache" \
    "$(figure "$scan_median") ms median, $(figure "$scan_max") max (n=${#scan_wall[@]})" "< 500 ms"
row "  longest event-loop stall during that scan" "$(figure "$stall_max") ms max" "< 100 ms"
row "tree scan, 32,768 songs in 2,000 folders" \
    "$(figure "$tree_median") ms median, $(figure "$tree_max") max (n=${#tree_wall[@]})" "< 500 ms"
row "  floor: find | sort -f on that tree" "$(figure "$floor_median") ms median" ""
row "CPU while a song plays, main screen idle" \
    "$(figure "$cpu_pct") % of one core over ${sample_seconds} s" "< 1 %"
row "resident memory while a song plays" "$(figure "$rss_max") MB max" "< 150 MB"
row "CPU while the black screen's lines run" "$(figure "$lines_pct") % of one core over ${sample_seconds} s" "< 2 %"
row "  the X server meanwhile (1024x768)" "$(figure "$xserver_pct") % of one core" ""
row "next song after the last one ended" \
    "$(figure "$gap_median") ms median, $(figure "$gap_max") max (n=${#gaps[@]})" "< 150 ms"
