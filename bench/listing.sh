#!/usr/bin/env bash
# Lists install categories of 10,000 and 20,000 sub-folders under Wine and prints how the
# listing compares with the bare work (one enumeration, the same existence tests and readme
# reads) measured in the same run, and how it grows. Goal: at most 1.5 times the bare work, and
# 20,000 entries at most 2.2 times 10,000.
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
out=$(wine "$root/build/win32/foyer_bench.exe" "Z:${work//\//\\}" 10000 20000 | tr -d '\r')
echo "$out"
echo "$out" | awk '$1 == 10000 { l1 = $3 } $1 == 20000 { l2 = $3 }
  END { if (l1 > 0) printf "growth 20000/10000: %.2f (goal <= 2.2)\n", l2 / l1 }'
