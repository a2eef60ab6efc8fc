#!/usr/bin/env bash
# Shows rich-text documents of 5 and 20 MB in the rich-text viewer under Wine and prints, per
# size, the time from ShowFile until the window is up and painted, the time to read the file
# alone in the same run, and the time Wine's WordPad takes from its start until its rich edit
# holds the same text (its start-up on an empty file is printed first, to tell it apart).
# Goal: time growing linearly with the size, and no slower than WordPad.
# Wine's rich edit takes much longer the more rows its paragraphs wrap into, so the widths of
# both text areas are printed; --same-width widens the viewer to WordPad's for a like-for-like
# figure (without it the viewer keeps its own size, as a user first sees it).
# Arguments: sizes in MB (default 5 20); --no-notepad skips WordPad; --same-width.
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
# Each size in a fresh process, as WordPad opens each document: under Wine, what the rich edit
# freed of one document slows the next one's loading in the same process.
sizes=() options=()
for arg in "$@"; do
  case $arg in
    --*) options+=("$arg") ;;
    *) sizes+=("$arg") ;;
  esac
done
[ ${#sizes[@]} -eq 0 ] && sizes=(5 20)
out=""
for size in "${sizes[@]}"; do
  one=$(wine "$root/build/$FOYER_PRESET/foyer_viewer_bench.exe" "Z:${work//\//\\}" --rich "$size" \
    "${options[@]}" | tr -d '\r')
  echo "$one"
  out+="$one"$'\n'
done
echo "$out" | awk '$1 ~ /^[0-9]+$/ { mb[++n] = $1; t[n] = $3; w[n] = $4 }
  END {
    for (i = 1; i <= n; ++i)
      if (w[i] > 0) printf "%d MB: viewer %.3f s, WordPad %.3f s, ratio %.2f (goal <= 1)\n", mb[i], t[i], w[i], t[i] / w[i]
    for (i = 2; i <= n; ++i)
      if (t[1] > 0) printf "growth %d/%d MB: %.2f (linear: %.2f)\n", mb[i], mb[1], t[i] / t[1], mb[i] / mb[1]
  }'
