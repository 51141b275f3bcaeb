#!/usr/bin/env bash
# Cross-builds for Windows and runs tests under Wine.
#   scripts/wintest.sh <name> [ctest -R regex]
# uses the native build build/<name> for the data tools (building them first)
# and the cross build build/win-<name>. TESS_WINTEST_NO_TOOLS=1 skips the
# native tools, for tests that need no data the tools build (the skin and the
# fonts need none).
set -euo pipefail
source "$(dirname "$0")/lib.sh"
name=${1:?usage: wintest.sh <name> [regex]}
regex=${2:-}
native=$repo/build/$name
win=$repo/build/win-$name
mkdir -p "$repo/build"
[ -f "$native/CMakeCache.txt" ] || configure_native "$native" -DTESS_BENCH=OFF
[ "${TESS_WINTEST_NO_TOOLS:-0}" = 1 ] || build "$native" tess_tools
configure_windows "$win" "$native"
if [ -n "$regex" ]; then
  targets=$(cd "$win" && ctest -N -R "$regex" | awk '/Test +#/ {print $3}')
  build "$win" $targets
else
  build "$win"
fi
trap wine_stop EXIT
wine_start "wineprefix-$name"
cd "$win" && ctest --output-on-failure ${regex:+-R "$regex"} -j"${TESS_TEST_JOBS:-4}"
