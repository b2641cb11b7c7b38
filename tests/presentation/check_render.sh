#!/usr/bin/env bash
# The committed slides are exactly what the renderer draws on this machine.
set -eu
render=$1
slides=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$render" "$out"
status=0
for f in "$slides"/slide*.jpg; do
  cmp "$f" "$out/$(basename "$f")" || status=1
done
[ "$(ls "$out" | wc -l)" -eq 24 ] || status=1
exit $status
