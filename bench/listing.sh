#!/usr/bin/env bash
# Clicks an install category of 10,000 and of 20,000 sub-folders under Wine, in the real main
# window, and measures each click against the least a listing must do, in the same process and
# round: one enumeration of the category, then each entry's readme opened and its first line
# read; and against that limit with the lookups the program's rules ask of each entry besides
# (a viewme.bmp in it, a readme before its readme.txt). Each size runs in a fresh process, as a
# user opens the medium; its first round times the first (cold) click of the process, and the
# rounds alternate whether the listing goes first or last. Prints the file-system calls per row
# the click made, the median ratios per size (goal: at most 1.5 times the limit) and how the
# listing grows from one size to the other (goal: linear, 2.0).
# Arguments: sizes (default 10000 20000), then rounds per size (default 3) after --rounds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sizes=() rounds=3
while [ $# -gt 0 ]; do
  case $1 in
    --rounds) rounds=$2; shift 2 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 20000)
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
all=""
for size in "${sizes[@]}"; do
  out=$(wine "$root/build/$FOYER_PRESET/foyer_bench.exe" "Z:${work//\//\\}" "$size" "$rounds" |
    tr -d '\r')
  echo "$out"
  all+="$out"$'\n'
done
echo "$all" | awk '$1 ~ /^[0-9]+$/ && $2 ~ /^[0-9]+$/ {
    n = $1; k = ++count[n]; ratio[n, k] = $7; lookups[n, k] = $8; listing[n, k] = $6
    if ($2 == 1) cold[n] = $6
    if (!(n in seen)) { seen[n] = 1; order[++sizes] = n }
  }
  function median(a, n, m,   i, j, t, v) {
    for (i = 1; i <= m; ++i) v[i] = a[n, i]
    for (i = 1; i <= m; ++i) for (j = i + 1; j <= m; ++j) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return v[int((m + 1) / 2)]
  }
  END {
    for (i = 1; i <= sizes; ++i) {
      n = order[i]
      r[n] = median(ratio, n, count[n]); l[n] = median(listing, n, count[n])
      printf "%d entries: median listing %.3f s (cold %.3f s); median ratio to the limit %.2f (goal <= 1.5), to the limit with the lookups %.2f\n", n, l[n], cold[n], r[n], median(lookups, n, count[n])
    }
    for (i = 2; i <= sizes; ++i)
      printf "growth %d/%d: %.2f (linear: %.2f)\n", order[i], order[1], l[order[i]] / l[order[1]], order[i] / order[1]
  }'
