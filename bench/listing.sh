#!/usr/bin/env bash
# Lists install categories of 10,000 and 20,000 sub-folders under Wine, in the real main window.
# First pass: the listing alone, for how it grows (goal: 20,000 entries at most 2.2 times
# 10,000). Each size runs in a fresh process, as a user opens the medium, in five alternating
# rounds; the median of each size is compared, because one run under Wine on a small machine
# can take half as long again as the run before it. Second pass: the listing against the bare
# work measured in the same run (one enumeration, the same existence tests and readme reads;
# goal: at most 1.5 times).
# The passes are apart because the bare work's lookups of missing names, which Wine answers by
# reading the whole folder, grow with the square of its size and disturb the caches the listing
# then meets.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The 32-bit build, or the 64-bit one where this machine cannot run 32-bit code.
. "$root/tools/testbed/testbed.sh"
testbed_arch
cmake --preset "$FOYER_PRESET" >/dev/null
cmake --build --preset "$FOYER_PRESET" -j"$(nproc)" --target foyer_bench >/dev/null
echo "-- measuring $(testbed_build_name)"
testbed_init
testbed_xvfb 24
work=$root/build/bench
mkdir -p "$work"
bench() { wine "$root/build/$FOYER_PRESET/foyer_bench.exe" "Z:${work//\//\\}" "$@" | tr -d '\r'; }
echo "-- the listing alone (seconds; each size in a fresh process)"
median() { tr ' ' '\n' | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
small="" large=""
for round in 1 2 3 4 5; do
  s=$(bench 10000 --no-bare | awk '$1 == 10000 { print $3 }')
  l=$(bench 20000 --no-bare | awk '$1 == 20000 { print $3 }')
  small+="$s " large+="$l "
  awk -v r="$round" -v s="$s" -v l="$l" \
    'BEGIN { printf "round %d: 10000 %6.3f  20000 %6.3f  growth %.2f\n", r, s, l, l / s }'
done
s=$(echo "$small" | median) l=$(echo "$large" | median)
awk -v s="$s" -v l="$l" \
  'BEGIN { printf "median:  10000 %6.3f  20000 %6.3f  growth %.2f (goal <= 2.2)\n", s, l, l / s }'
echo "-- against the bare work"
bench 10000 20000
