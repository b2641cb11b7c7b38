#!/usr/bin/env bash
# The pace over a minute, on 24-bit and 16-bit screens, of the Linux program and of the Windows
# program under Wine, beside the least an X program does to keep the same pace (bench/floor_xlib):
# the median and 99th percentile of the intervals between pictures on screen, the pictures in
# 60 s (600 are due), the processor use, and, reading the window after each picture, the slides
# skipped or repeated between whole slides and the pictures torn between two slides (the floor
# puts slide 1 again and again: its repeats are its own). Needs make test-normal and make windows
# first.
# Usage: bench/pace.sh [BUILD_DIR] [WINDOWS_BUILD_DIR]; SECONDS_EACH=60 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
windows=$(realpath "${2:-build-windows}")
seconds=${SECONDS_EACH:-60}
export WINEPREFIX=$windows/wine-bench WINEDEBUG=-all
source bench/x_session.sh

echo "| program, screen | interval, median (ms) | 99th percentile (ms) | pictures in $seconds s | processor (% of a core) | skipped, repeated, torn |"
echo "|---|---|---|---|---|---|"
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
for depth in 24 16; do
  start_xvfb 2048x1536x$depth
  warm_wine
  for row in "floor:$build/bench/floor_xlib presentation/slides/slide01.jpg" \
             "vorlan-kidney:$build/vorlan-kidney" \
             "vorlan-kidney.exe under Wine:/usr/lib/wine/wine64 $windows/vorlan-kidney.exe"; do
    read -r median _ _ pictures cpu p99 _ skipped repeated torn < <($build/bench/pace_probe "$seconds" ${row#*:})
    echo "| ${row%%:*}, $depth bits | $median | $p99 | $pictures | $cpu | $skipped, $repeated, $torn |"
  done
  wineserver -k 2>/dev/null || true
  stop_xvfb
done
