#!/usr/bin/env bash
# Shows text files of 1, 10, 20 and 50 MB in the text viewer under Wine and prints, per size, the
# time from ShowFile until the window is up and painted, the time to read the file alone in the
# same run, and the time Wine's notepad takes until its edit control holds the same text.
# Goal: 20 MB shown in at most 1 s, and time growing linearly with the size.
# Arguments: sizes in MB (default 1 10 20 50); --no-notepad skips the comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The 32-bit build, or the 64-bit one where this machine cannot run 32-bit code.
. "$root/tools/testbed/testbed.sh"
testbed_arch
cmake --preset "$FOYER_PRESET" >/dev/null
cmake --build --preset "$FOYER_PRESET" -j"$(nproc)" --target foyer_viewer_bench >/dev/null
echo "-- measuring $(testbed_build_name)"
testbed_init
testbed_xvfb 24
work=$root/build/bench/viewer
mkdir -p "$work"
out=$(wine "$root/build/$FOYER_PRESET/foyer_viewer_bench.exe" "Z:${work//\//\\}" "$@" | tr -d '\r' |
  grep -v '^-- end')
echo "$out"
echo "$out" | awk '$1 ~ /^[0-9]+$/ { mb[++n] = $1; t[n] = $3 }
  END {
    for (i = 1; i <= n; ++i) if (mb[i] == 20) printf "20 MB shown in %.3f s (goal <= 1 s)\n", t[i]
    for (i = 2; i <= n; ++i)
      if (t[1] > 0) printf "growth %d/%d MB: %.2f (linear: %.2f)\n", mb[i], mb[1], t[i] / t[1], mb[i] / mb[1]
  }'
