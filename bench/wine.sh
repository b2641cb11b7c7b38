#!/usr/bin/env bash
# The Windows program under Wine in Xvfb with a warm wineserver, beside the Linux program in the
# same display: time until the first picture is on screen, then the pace (intervals between
# pictures, processor use) at the start pace and stopped; then each again at a display scale of
# 150 % (LogPixels and Xft.dpi 144). Needs make windows and make test-normal first. Usage: bench/wine.sh [BUILD_DIR] [WINDOWS_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
windows=$(realpath "${2:-build-windows}")
runs=${RUNS:-5}
export WINEPREFIX=$windows/wine-bench WINEDEBUG=-all

source bench/x_session.sh
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
start_xvfb 2048x1536x24 -noreset
warm_wine

declare -A command=(
  [windows]="/usr/lib/wine/wine64 $windows/vorlan-kidney.exe"
  [linux]="$build/vorlan-kidney"
)
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

echo "| program | first picture, median of $runs (ms) | interval at the start pace, median (ms) | standard deviation (ms) | processor playing (%) | processor stopped (%) |"
echo "|---|---|---|---|---|---|"
set_dpi() {
  /usr/lib/wine/wine64 reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    >/dev/null 2>&1
  echo "Xft.dpi: $1" | xrdb -merge
}
for row in "windows 96" "linux 96" "windows 144" "linux 144"; do
  read -r name dpi <<<"$row"
  set_dpi "$dpi"
  firsts=$(for _ in $(seq "$runs"); do $build/bench/first_frame 1 ${command[$name]} | awk '{print $1}'; done)
  read -r interval deviation _ _ playing _ < <($build/bench/pace_probe 5 ${command[$name]})
  stopped=$(PACE_PROBE_SETUP='xdotool key --window $WINDOW space' \
    $build/bench/pace_probe 5 ${command[$name]} | awk '{print $5}')
  echo "| $name, $dpi dpi | $(median <<<"$firsts") | $interval | $deviation | $playing | $stopped |"
done
set_dpi 96
