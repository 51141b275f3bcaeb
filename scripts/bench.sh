#!/usr/bin/env bash
# Builds a release configuration without sanitizers and runs the benchmarks.
#   scripts/bench.sh [benchmark filter regex]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
"$repo/scripts/setup.sh"
dir=$repo/build/bench
mkdir -p "$repo/build"
configure_native "$dir" -DCMAKE_BUILD_TYPE=Release -DTESS_SANITIZE=OFF
build "$dir"
for b in $(find "$dir/bench" -maxdepth 1 -type f -name '*_bench' -perm -u+x | sort); do
  echo "== $(basename "$b")"
  (cd "$dir" && "$b" ${1:+--benchmark_filter="$1"})
done
