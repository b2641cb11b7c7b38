#!/usr/bin/env bash
# Checks the built Debian package: lintian and desktop-file-validate find no error, it holds
# what it should, it installs, the installed player passes the e2e checks of its first picture,
# caption, playback and Escape, and removing it leaves nothing it installed.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/vorlan-kidney_*_amd64.deb)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

lintian --fail-on error "$deb"
desktop-file-validate presentation/vorlan-kidney.desktop

mapfile -t files < <(dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ {sub(/^\./, "", $6); print $6}')
for wanted in /usr/bin/vorlan-kidney /usr/share/applications/vorlan-kidney.desktop \
  /usr/share/icons/hicolor/scalable/apps/vorlan-kidney.svg \
  /usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/vorlan-kidney.png \
  /usr/share/man/man1/vorlan-kidney.1.gz /usr/share/doc/vorlan-kidney/copyright; do
  printf '%s\n' "${files[@]}" | grep -qx "$wanted" || { echo "package lacks $wanted" >&2; exit 1; }
done

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y -qq "./$deb" >/dev/null
trap '$sudo apt-get remove -y -qq vorlan-kidney >/dev/null 2>&1 || true' EXIT
VK_PLAYER=/usr/bin/vorlan-kidney build/tests/vorlan_e2e_tests --gtest_brief=1 \
  --gtest_filter='FirstPictureE2eTest.*:PlayerE2eTest.CaptionClientAreaAndPlayback:PlayerE2eTest.EscapeEndsWithStatusZero'

$sudo apt-get remove -y -qq vorlan-kidney >/dev/null
trap - EXIT
for file in "${files[@]}"; do
  if [ -e "$file" ]; then echo "left after removal: $file" >&2; exit 1; fi
done
test ! -e /usr/share/doc/vorlan-kidney || { echo "left after removal: its doc folder" >&2; exit 1; }
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes: checked, installed, run, removed"
