#!/usr/bin/env bash
# Lists install categories of 10,000 and 20,000 sub-folders under Wine, in the real main window.
# First pass: the listing alone, for how it grows (goal: 20,000 entries at most 2.2 times
# 10,000). Second pass: the listing against the bare work measured in the same run (one
# enumeration, the same existence tests and readme reads; goal: at most 1.5 times). The passes
# are apart because the bare work's lookups of missing names, which Wine answers by reading the
# whole folder, grow with the square of its size and disturb the caches the listing then meets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$(nproc)" --target foyer_bench >/dev/null
. "$root/tools/testbed/testbed.sh"
testbed_init
testbed_xvfb 24
work=$root/build/bench
mkdir -p "$work"
bench() { wine "$root/build/win32/foyer_bench.exe" "Z:${work//\//\\}" "$@" | tr -d '\r'; }
echo "-- the listing alone"
alone=$(bench 10000 20000 --no-bare)
echo "$alone" | cut -c1-8,20-42
echo "$alone" | awk '$1 == 10000 { l1 = $3 } $1 == 20000 { l2 = $3 }
  END { if (l1 > 0) printf "growth 20000/10000: %.2f (goal <= 2.2)\n", l2 / l1 }'
echo "-- against the bare work"
bench 10000 20000
