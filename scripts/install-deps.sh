#!/usr/bin/env bash
# Installs the Debian packages that building (run), packaging (package) or testing (test) needs, when missing.
set -euo pipefail

run_packages=(cmake ninja-build g++ pkg-config libturbojpeg0-dev libsdl2-dev libx11-dev)
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev libcairo2-dev
  libjpeg62-turbo-dev libxdamage-dev xvfb xdotool x11-apps x11-utils x11-xserver-utils openbox
  weston libdecor-0-plugin-1-cairo)

# Making the Debian package, and checking it.
package_packages=(dpkg-dev lintian desktop-file-utils)

# Cross-building the Windows programs and running them under Wine in Xvfb.
windows_packages=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xdotool x11-apps x11-xserver-utils)

# Building the page with emscripten and testing it in headless Chromium, in Firefox ESR and in
# WebKitGTK's MiniBrowser (in Xvfb, through WebKitWebDriver).
web_packages=(emscripten libstb-dev chromium python3 brotli firefox-esr webkit2gtk-driver xvfb)

# Taking the README's screenshot.
docs_packages=(xvfb xdotool x11-apps openbox python3)

# The alternatives that bench/window.sh measures the player against.
bench_packages=(feh mpv)

case "${1:-}" in
  run) wanted=("${run_packages[@]}") ;;
  package) wanted=("${run_packages[@]}" "${package_packages[@]}") ;;
  test) wanted=("${run_packages[@]}" "${test_packages[@]}" "${package_packages[@]}") ;;
  windows) wanted=("${run_packages[@]}" "${windows_packages[@]}") ;;
  web) wanted=("${run_packages[@]}" "${web_packages[@]}") ;;
  docs) wanted=("${run_packages[@]}" "${docs_packages[@]}") ;;
  bench) wanted=("${run_packages[@]}" "${test_packages[@]}" "${bench_packages[@]}") ;;
  *) echo "usage: $0 run|package|windows|web|test|docs|bench" >&2; exit 2 ;;
esac

# Installed whatever its triggers' state: a package whose triggers another run has yet to process
# is there to use.
missing=()
for p in "${wanted[@]}"; do
  case "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" in
    installed | triggers-pending | triggers-awaited) ;;
    *) missing+=("$p") ;;
  esac
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Another apt or dpkg run (an unattended upgrade, a second terminal) holds the package manager's
# lock: wait for it, up to 10 minutes, rather than fail.
lock_wait=(-o DPkg::Lock::Timeout=600)
if lslocks -n -o PATH 2>/dev/null | grep -qE '^/var/lib/(dpkg/lock|apt/lists/lock)'; then
  echo "Waiting for another apt or dpkg run to finish (up to 10 minutes)..."
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Quiet unless it fails; then the whole log says why.
if ! { $sudo apt-get "${lock_wait[@]}" update -qq && \
       $sudo apt-get "${lock_wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "Could not install: ${missing[*]}" >&2
  exit 1
fi
