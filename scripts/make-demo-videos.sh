#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the demo videos named in demo/Video.kvx: short generated clips with a soft tone,
# written with ffmpeg into <folder>/videos. Files that already exist are kept.
set -euo pipefail

if (($# != 1)); then
    echo "usage: $0 <working folder>" >&2
    exit 2
fi
out_dir=$1/videos
mkdir -p "$out_dir"

if ! command -v ffmpeg >/dev/null 2>&1; then
    echo "make-demo-videos: 'ffmpeg' is missing (run scripts/install-deps.sh)" >&2
    exit 1
fi

# file | picture source (an ffmpeg lavfi graph) | tone in Hz
clips=(
    "Colour Bars.mp4|smptehdbars=size=640x360:rate=25|440"
    "Mandelbrot Zoom.mp4|mandelbrot=size=640x360:rate=25|330"
    "Game of Life.mp4|life=size=640x360:rate=25:mold=10:ratio=0.1:death_color=#202060:life_color=#80c0ff,scale=640:360|262"
)
seconds=8

made=0
for entry in "${clips[@]}"; do
    IFS='|' read -r name picture tone <<<"$entry"
    target="$out_dir/$name"
    [[ -e $target ]] && continue
    tmp="$out_dir/.making-$name"
    ffmpeg -loglevel error -y \
        -f lavfi -i "$picture" \
        -f lavfi -i "sine=frequency=$tone:sample_rate=44100" \
        -t "$seconds" -af "volume=0.2,afade=t=in:d=0.5,afade=t=out:st=$((seconds - 1)):d=1" \
        -c:v libx264 -preset veryfast -pix_fmt yuv420p -c:a aac -b:a 96k \
        -f mp4 "$tmp"
    mv -f "$tmp" "$target"
    made=$((made + 1))
done
if ((made > 0)); then
    echo "make-demo-videos: made $made video(s) in $out_dir"
fi
