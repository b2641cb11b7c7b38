#!/usr/bin/env bash
# The Linux program's start beside the least an X program does to show slide 1 (bench/floor_xlib:
# a bare Xlib window and TurboJPEG), interleaved in one Xvfb: the time from process start until
# the picture is on screen, as the X server sees it; then the program's start step by step
# (bench/start_steps). Needs make test-normal first. Usage: bench/start.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-15}

source bench/x_session.sh
trap stop_xvfb EXIT
start_xvfb 2048x1536x24

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
floor="" program=""
for _ in $(seq "$runs"); do
  floor+="$($build/bench/first_frame 0.2 $build/bench/floor_xlib presentation/slides/slide01.jpg | awk '{print $1}')"$'\n'
  program+="$($build/bench/first_frame 0.2 $build/vorlan-kidney | awk '{print $1}')"$'\n'
done
f=$(grep -v '^$' <<<"$floor" | median)
p=$(grep -v '^$' <<<"$program" | median)
echo "First picture on screen, median of $runs interleaved runs: vorlan-kidney $p ms, the bare-Xlib floor $f ms: $(awk -v p="$p" -v f="$f" 'BEGIN {printf "%.2f", p / f}') times."
echo
echo "| step, ms since the process started (median of $runs) | libraries loaded | description read | SDL started | window open | slide 1 decoded | slide 1 presented |"
echo "|---|---|---|---|---|---|---|"
steps=$(for _ in $(seq "$runs"); do $build/bench/start_steps; done)
row="| vorlan-kidney |"
for column in 1 2 3 4 5 6; do row+=" $(awk -v c=$column '{print $c}' <<<"$steps" | median) |"; done
echo "$row"
