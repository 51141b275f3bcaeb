#!/usr/bin/env bash
# Sets everything up, builds the Windows program and starts it under Wine on
# the user's display (a virtual one when there is none).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

"$repo/scripts/setup.sh"
native=$repo/build/native
win=$repo/build/windows
mkdir -p "$repo/build"
configure_native "$native"
build "$native" tess_tools
configure_windows "$win" "$native"
build "$win"

exe=$win/tessarin.exe
if [ ! -f "$exe" ]; then
  echo "Tessarin's program start-up is not built yet: there is no program to start."
  exit 0
fi
[ -n "${DISPLAY:-}" ] || echo "No display: starting the program on a virtual X display (Xvfb)."
trap wine_stop EXIT
wine_start wineprefix
cd "$win" && wine "$exe"
