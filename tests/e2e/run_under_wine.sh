#!/usr/bin/env bash
# Runs the e2e suite of the Linux build against the Windows player under Wine: each X server of
# the suite gets its own warm wineserver, in a prefix of the build's own, ended with it.
# Usage: run_under_wine.sh E2E_TESTS PLAYER_EXE WINE_PREFIX
set -euo pipefail
e2e=$1 exe=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES="winedbg.exe=d;mscoree,mshtml="
wine=/usr/lib/wine/wine64
# Whatever fails says where, rather than end the test without a word.
trap 'echo "run_under_wine.sh: line $LINENO failed with status $?" >&2' ERR
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log=$(mktemp)
  if ! { env -u DISPLAY "$wine" wineboot -i && env -u DISPLAY wineserver -w; } >"$log" 2>&1 ||
    [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "run_under_wine.sh: cannot make the Wine prefix $WINEPREFIX:" >&2
    cat "$log" >&2
    exit 1
  fi
  rm -f "$log"
fi
player=$(mktemp) set_dpi=$(mktemp)
trap 'rm -f "$player" "$set_dpi"' EXIT
printf '#!/bin/sh\nexec %s %s "$@"\n' "$wine" "$exe" >"$player"
# The display scale as Windows keeps it: the user's LogPixels, read when a program starts.
printf '#!/bin/sh\nexec %s reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1\n' \
  "$wine" >"$set_dpi"
chmod +x "$player" "$set_dpi"
export VK_PLAYER=$player VK_E2E_SET_DPI=$set_dpi VK_E2E_UNDER_WINE=1
export VK_E2E_SERVER_START="wineserver -p" VK_E2E_SERVER_STOP="wineserver -k"
# What the Windows program shares with the Linux one; screen depths are the Linux program's own.
exec "$e2e" --gtest_brief=1 --gtest_filter="${VK_E2E_FILTER:-FirstPictureE2eTest.*:PlayerE2eTest.*:HighDpiE2eTest.*:FullScreenE2eTest.*:CommandLineTest.*}"
