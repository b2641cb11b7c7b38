#!/usr/bin/env bash
# Replays a script of about 50 MB of mixed pumps and prints its time and peak memory.
set -eu
replay=${1:-build/vorlan-replay}
script=$(mktemp)
trap 'rm -f "$script"' EXIT
awk 'BEGIN {
  print "play"
  split("-|key 32|move 100 200|key 43|click|key 45|move 1e6 -3|key 97; key 13", kinds, "|")
  for (i = 0; i < 6000000; ++i) print kinds[i % 8 + 1]
}' > "$script"
echo "script: $(( $(stat -c %s "$script") / 1000000 )) MB"
/usr/bin/time -f 'time: %e s, peak memory: %M KiB' "$replay" < "$script" > /dev/null
