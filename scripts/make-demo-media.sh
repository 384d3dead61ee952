#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a handful of short demo tunes ("Artist - Title.mp3") in the given folder with sox
# and lame: a plucked or bell-like arpeggio over a soft chord pad and bass, with reverb.
# Files that already exist are kept, so a second run returns at once.
set -euo pipefail

if (($# != 1)); then
    echo "usage: $0 <folder>" >&2
    exit 2
fi
out_dir=$1
mkdir -p "$out_dir"

for tool in sox lame; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "make-demo-media: '$tool' is missing (run scripts/install-deps.sh)" >&2
        exit 1
    fi
done

# name | beats per minute | key (semitones from A4) | voice | arpeggio (chord tones per
# eighth note: 0 root, 1 third, 2 fifth, 3 octave) | chords (semitones from the key: m = minor) | bars
tunes=(
    "Orla Kestrin - Morning on Pier Nine|104|-9|pluck|0 1 2 3 2 1 2 1|0 7 9m 5|12"
    "The Brassleaf Society - Kettle Rain|92|-7|sine|0 2 3 2 1 2 3 2|0 5 7 5|11"
    "Juniper Coast Trio - Slow Tide|84|-4|pluck|0 1 2 1 3 2 1 2|0m 8 3 10|10"
    "Nimbus & Wren - Paper Lanterns|112|-2|triangle|0 2 1 3 0 2 1 2|0 9m 5 7|14"
    "Tovan Mireille - Café Étoile|98|-5|pluck|3 2 1 0 1 2 3 2|0m 5m 10 3|12"
    "Lantern Moth Ensemble - Orchard Lights|88|-9|sine|0 1 2 3 3 2 1 0|0 4m 5 7|11"
    "Calder Reyes - Northbound Lullaby|76|-11|triangle|0 2 3 2 0 2 3 2|0 5 0 7|9"
    "The Saltglass Pilots - Sunday Harbour|120|-6|pluck|0 1 2 1 0 1 2 3|0 7 9m 4m 5 0 5 7|16"
)

# One tune: writes "$out_dir/$name.mp3" through a temporary file, so a broken run never
# leaves a file that a later run would keep.
make_tune() {
    local name=$1 bpm=$2 key=$3 voice=$4 pattern=$5 chords=$6 bars=$7
    local work target="$out_dir/$name.mp3"
    work=$(mktemp -d)
    # shellcheck disable=SC2064  # expand now: the local is gone when the trap runs
    trap "rm -rf '$work'" RETURN

    local eighth bar
    eighth=$(awk -v b="$bpm" 'BEGIN { printf "%.4f", 30 / b }')
    bar=$(awk -v e="$eighth" 'BEGIN { printf "%.4f", e * 8 }')

    local -a arp_files=() pad_files=() tones chord_list steps
    local chord root third pitch note_file pad_file release
    release=$(awk -v e="$eighth" 'BEGIN { print e * 0.6 }')
    read -r -a tones <<<"$pattern"
    read -r -a chord_list <<<"$chords"
    for ((b = 0; b < bars; b++)); do
        chord=${chord_list[b % ${#chord_list[@]}]}
        root=${chord%m}
        if [[ $chord == *m ]]; then third=3; else third=4; fi
        steps=(0 "$third" 7 12)
        for t in "${tones[@]}"; do
            pitch=$((key + root + steps[t]))
            note_file="$work/n$pitch.wav"
            if [[ ! -f $note_file ]]; then
                sox -n -r 44100 -c 1 "$note_file" synth "$eighth" "$voice" "%$pitch" \
                    fade q 0.005 "$eighth" "$release" vol 0.5
            fi
            arp_files+=("$note_file")
        done
        # Pad: bass an octave and a half down plus the triad an octave down, mixed to mono.
        pad_file="$work/c$chord.wav"
        if [[ ! -f $pad_file ]]; then
            sox -r 44100 -c 4 -n -c 1 "$pad_file" synth "$bar" \
                triangle "%$((key + root - 24))" sine "%$((key + root - 12))" \
                sine "%$((key + root + third - 12))" sine "%$((key + root + 7 - 12))" \
                remix - fade q 0.15 "$bar" 0.4 vol 0.35
        fi
        pad_files+=("$pad_file")
    done

    sox "${arp_files[@]}" "$work/arp.wav"
    sox "${pad_files[@]}" "$work/pad.wav"
    # The fade-out end is given as a time: with a mix input, sox misjudges "-0" (the end).
    local length
    length=$(soxi -D "$work/arp.wav")
    sox -m -v 0.7 "$work/arp.wav" -v 0.55 "$work/pad.wav" -c 2 "$work/mix.wav" \
        lowpass 6000 reverb 45 50 85 fade t 0.4 "$length" 2.5 norm -2
    local artist=${name%% - *} title=${name#* - }
    lame --quiet -b 128 --tt "$title" --ta "$artist" --tl "Kelvorn demo" \
        "$work/mix.wav" "$work/tune.mp3"
    mv -f "$work/tune.mp3" "$target"
}

# Two tunes at a time: enough to keep two cores busy.
jobs_max=$(nproc 2>/dev/null || echo 2)
pids=()
made=0
for entry in "${tunes[@]}"; do
    IFS='|' read -r name bpm key voice pattern chords bars <<<"$entry"
    [[ -e "$out_dir/$name.mp3" ]] && continue
    make_tune "$name" "$bpm" "$key" "$voice" "$pattern" "$chords" "$bars" &
    pids+=($!)
    made=$((made + 1))
    if ((${#pids[@]} >= jobs_max)); then
        wait "${pids[0]}"
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid"
done
if ((made > 0)); then
    echo "make-demo-media: made $made tune(s) in $out_dir"
fi
