#!/usr/bin/env bash
# Runs the real vorlan-replay on each golden script and compares its output, standard error and
# exit status with the stored expectation. Scripts named *.state.script run with --state.
set -u
replay=$1
dir=$(dirname "$0")/golden
failed=0
for script in "$dir"/*.script; do
  name=${script%.script}
  args=()
  case "$script" in *.state.script) args=(--state) ;; esac
  actual=$("$replay" "${args[@]}" <"$script" 2>&1; echo "exit $?")
  if ! diff -u "$name.expected" <(printf '%s\n' "$actual"); then
    echo "FAILED: $(basename "$script")"
    failed=1
  fi
done
exit $failed
