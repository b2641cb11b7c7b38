#!/usr/bin/env bash
# Runs the real vorlan-replay on each golden script and compares its output, standard error and
# exit status with the stored expectation. Scripts named *.state.script run with --state. Each
# run has 5 s (or VK_GOLDEN_TIMEOUT), so that a player that loops fails here instead of hanging.
# Then the scripts that cannot be read and the output that cannot be written.
set -u
replay=("$@")  # the program, or an emulator and the program
limit=${VK_GOLDEN_TIMEOUT:-5}
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
  actual=$(timeout "$limit" "${replay[@]}" "${args[@]}" <"$script" 2>&1; echo "exit $?")
  check "$(basename "$script")" "$(cat "$name.expected")" "$actual"
done
# A folder or a closed input is refused with one line and exit 2 (under Wine they show as a read
# error, so only the line's start is compared). Under node a closed input reads as an empty one,
# so VK_GOLDEN_INPUTS can leave it out.
for input in ${VK_GOLDEN_INPUTS:-folder closed}; do
  case $input in
    folder) actual=$(timeout "$limit" "${replay[@]}" <"$dir" 2>&1 >/dev/null; echo "exit $?") ;;
    closed) actual=$(timeout "$limit" "${replay[@]}" <&- 2>&1 >/dev/null; echo "exit $?") ;;
  esac
  check "$input input" "vorlan-replay: cannot read the script:
exit 2" "$(sed 's/\(cannot read the script:\).*/\1/' <<<"$actual")"
done
# An output that cannot be written ends the run at once, even of an endless script.
check "full disk" "vorlan-replay: cannot write the output
exit 1" "$({ echo play; yes -; } | timeout "$limit" "${replay[@]}" 2>&1 >/dev/full; echo "exit $?")"
check "endless line" "vorlan-replay: line 1: longer than 1048576 bytes
exit 2" "$(timeout "$limit" "${replay[@]}" </dev/zero 2>&1 >/dev/null; echo "exit $?")"
check "help" "usage: vorlan-replay [--state] < SCRIPT
exit 0" "$(timeout "$limit" "${replay[@]}" --help </dev/null 2>/dev/null; echo "exit $?")"
check "unknown option" "usage: vorlan-replay [--state] < SCRIPT
exit 2" "$(timeout "$limit" "${replay[@]}" --bogus </dev/null 2>&1; echo "exit $?")"
exit $failed
