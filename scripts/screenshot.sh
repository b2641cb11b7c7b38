#!/usr/bin/env bash
# Takes docs/screenshot.png: the real player in its own Xvfb under openbox, captured with its
# window frame and caption, right after it opens.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh docs
make build >/dev/null
display=:$((RANDOM % 400 + 100))
Xvfb "$display" -screen 0 1100x860x24 -nolisten tcp 2>/dev/null &
server=$!
trap 'kill $player $wm $server 2>/dev/null || true; wait 2>/dev/null' EXIT
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
build/vorlan-kidney &
player=$!
window=$(xdotool search --sync --pid "$player" --name 'Vorlan Kidney' | head -1)
sleep 0.3  # openbox puts its frame around the window
frame=$(xwininfo -tree -id "$window" | awk '/Parent window id/ {print $4}')
xwd -silent -id "$frame" | scripts/xwd_to_png.py > docs/screenshot.png
echo "docs/screenshot.png: $(stat -c %s docs/screenshot.png) bytes"
