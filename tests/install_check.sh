#!/usr/bin/env bash
# cmake --install puts the program, its desktop entry and its icon in the freedesktop layout.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
test -x "$prefix/bin/vorlan-kidney"
desktop="$prefix/share/applications/vorlan-kidney.desktop"
grep -qx 'Exec=vorlan-kidney' "$desktop"
grep -qx 'Icon=vorlan-kidney' "$desktop"
grep -qx 'Type=Application' "$desktop"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/vorlan-kidney.svg"
