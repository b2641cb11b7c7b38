#!/usr/bin/env bash
# Measures, in one Xvfb and one run, the player beside a user's usual alternatives for looping the
# same 24 slide files (feh's slideshow, mpv on the image sequence): time from process start until
# the first picture is on screen, and peak resident memory after playing for 3 s. Then the time
# to present one slide change in the player's window, and the pace: intervals between pictures on
# screen and processor use, at the start pace beside feh and mpv at 10 a second, and the player
# stopped and at its fastest pace; last, the player at a desktop scale of 150 % (Xft.dpi 144), its
# picture scaled to 1536 by 1152. Usage: bench/window.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-9}
scripts/install-deps.sh bench

source bench/x_session.sh
trap stop_xvfb EXIT
start_xvfb 2048x1536x24 -noreset

slides=(presentation/slides/slide*.jpg)
declare -A command=(
  [vorlan-kidney]="$build/vorlan-kidney"
  [feh]="feh --slideshow-delay 0.1 ${slides[*]}"
  [mpv]="mpv --no-config --vo=x11 --really-quiet --loop-file=inf --mf-fps=10 mf://presentation/slides/slide*.jpg"
)

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "| program | first picture on screen, median of $runs (ms) | range (ms) | peak RSS while playing (MiB) |"
echo "|---|---|---|---|"
# Interleaved, so that all three meet the same machine.
declare -A firsts rss
for _ in $(seq "$runs"); do
  for name in vorlan-kidney feh mpv; do
    read -r first peak < <($build/bench/first_frame 3 ${command[$name]} || true)
    firsts[$name]+="$first "
    rss[$name]+="$peak "
  done
done
for name in vorlan-kidney feh mpv; do
  values=$(tr ' ' '\n' <<<"${firsts[$name]}" | grep -v '^$')
  range="$(sort -n <<<"$values" | head -1) to $(sort -n <<<"$values" | tail -1)"
  peak=$(tr ' ' '\n' <<<"${rss[$name]}" | grep -v '^$' | sort -n | tail -1)
  echo "| $name | $(median <<<"$values") | $range | $peak |"
done

echo
pace_runs=${PACE_RUNS:-3}
echo "Pace: $pace_runs interleaved runs of 5 s each; each figure is the median of the runs."
echo
echo "| program, pace | interval between pictures, median (ms) | standard deviation (ms) | shortest (ms) | processor (% of a core) |"
echo "|---|---|---|---|---|"
# The fastest pace is a move to the top-left from elsewhere: a pointer that an earlier run left in
# the corner raises no move.
declare -A pace=(
  ["vorlan-kidney, start pace"]="|${command[vorlan-kidney]}"
  ["feh, 0.1 s slideshow"]="|${command[feh]}"
  ["mpv, 10 a second"]="|${command[mpv]}"
  ["vorlan-kidney, stopped (Space)"]='xdotool key --window $WINDOW space|'"${command[vorlan-kidney]}"
  ["vorlan-kidney, fastest (pointer top-left)"]='xdotool mousemove --window $WINDOW 9 9 mousemove --window $WINDOW 0 0|'"${command[vorlan-kidney]}"
)
order=("vorlan-kidney, start pace" "feh, 0.1 s slideshow" "mpv, 10 a second"
  "vorlan-kidney, stopped (Space)" "vorlan-kidney, fastest (pointer top-left)")
declare -A results
for _ in $(seq "$pace_runs"); do
  for name in "${order[@]}"; do
    setup=${pace[$name]%%|*}
    results[$name]+="$(PACE_PROBE_SETUP=$setup $build/bench/pace_probe 5 ${pace[$name]#*|})"$'\n'
  done
done
for name in "${order[@]}"; do
  row="| $name |"
  for column in 1 2 3 5; do
    row+=" $(grep -v '^$' <<<"${results[$name]}" | awk -v c=$column '{print $c}' | median) |"
  done
  echo "$row"
done

echo
echo "At 150 % (Xft.dpi 144, a 1536 by 1152 window): $pace_runs runs of 5 s after the first 3 s, medians."
echo
echo "| scale | first picture, median of $runs (ms) | interval at the start pace (ms) | standard deviation (ms) | processor playing (%) |"
echo "|---|---|---|---|---|"
for dpi in 96 144; do
  echo "Xft.dpi: $dpi" | xrdb -merge
  firsts=$(for _ in $(seq "$runs"); do $build/bench/first_frame 1 "${command[vorlan-kidney]}" | awk '{print $1}'; done)
  # After the first loop, which at 150 % also scales each slide once.
  paces=$(for _ in $(seq "$pace_runs"); do
    PACE_PROBE_SETUP='sleep 3' $build/bench/pace_probe 5 "${command[vorlan-kidney]}"; done)
  row="| $dpi dpi | $(median <<<"$firsts") |"
  for column in 1 2 5; do row+=" $(awk -v c=$column '{print $c}' <<<"$paces" | median) |"; done
  echo "$row"
done
xrdb -remove

echo
"$build/bench/vorlan_present_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
