#!/usr/bin/env bash
# Runs the real vorlan-replay on each golden script and compares its output, standard error and
# exit status with the stored expectation. Scripts named *.state.script run with --state. Each
# run has 5 s, so that a player that loops fails here instead of hanging. Then the scripts that
# cannot be read and the output that cannot be written.
set -u
replay=$1
dir=$(dirname "$0")/golden
failed=0
check() {  # NAME EXPECTED ACTUAL
  if ! diff -u <(printf '%s\n' "$2") <(printf '%s\n' "$3"); then
    echo "FAILED: $1"
    failed=1
  fi
}
for script in "$dir"/*.script; do
  name=${script%.script}
  args=()
  case "$script" in *.state.script) args=(--state) ;; esac
  actual=$(timeout 5 "$replay" "${args[@]}" <"$script" 2>&1; echo "exit $?")
  check "$(basename "$script")" "$(cat "$name.expected")" "$actual"
done
check "folder" "vorlan-replay: cannot read the script: standard input is a folder
exit 2" "$(timeout 5 "$replay" <"$dir" 2>&1; echo "exit $?")"
check "closed input" "vorlan-replay: cannot read the script: standard input is closed
exit 2" "$(timeout 5 "$replay" <&- 2>&1; echo "exit $?")"
check "full disk" "vorlan-replay: cannot write the output
exit 1" "$(printf 'play\n-\n' | timeout 5 "$replay" 2>&1 >/dev/full; echo "exit $?")"
exit $failed
