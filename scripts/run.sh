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
# The program and the data it reads at start-up (skin, fonts, lexicons,
# splash pictures and cursors).
build "$win" tessarin data_skin data_fonts lexicons startup_content

exe=$win/tessarin.exe
[ -f "$exe" ] || { echo "tessarin.exe was not built: see $win.build.log"; exit 1; }
[ -n "${DISPLAY:-}" ] || echo "No display: starting the program on a virtual X display (Xvfb)."
trap wine_stop EXIT
wine_start wineprefix
cd "$win" && wine "$exe"
