#!/usr/bin/env bash
# Runs the start-up measurement in 15 fresh processes and prints each run and the median total.
set -eu
bin=${1:-build/bench/vorlan_startup}
for i in $(seq 15); do "$bin"; done | tee /dev/stderr |
  awk '{print $8}' | sort -n | awk '{a[NR]=$1} END {print "median total:", a[int((NR+1)/2)], "ms"}'
