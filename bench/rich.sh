#!/usr/bin/env bash
# Shows rich-text documents of 5 and 20 MB in the rich-text viewer under Wine and prints, per
# size, the time from ShowFile until the window is up and painted, the time to read the file
# alone in the same run, and the time Wine's WordPad takes from its start until its rich edit
# holds the same text (its start-up on an empty file is printed first, to tell it apart).
# Goal: time growing linearly with the size, and no slower than WordPad.
# The widths of both text areas are printed, since the rich edit's work grows with the rows its
# paragraphs wrap into; --same-width widens the viewer to WordPad's for a like-for-like figure
# (without it the viewer keeps its own size, as a user first sees it).
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
# Each size in a fresh process, as WordPad opens each document.
sizes=() options=()
for arg in "$@"; do
  case $arg in
    --*) options+=("$arg") ;;
    *) sizes+=("$arg") ;;
  esac
done
[ ${#sizes[@]} -eq 0 ] && sizes=(5 20)
# Wine does not always end a WordPad still busy with a long document when the benchmark ends it,
# and the benchmark then waits on it. The benchmark says when it ends the program and when that
# is done; a WordPad of this prefix still there 15 s after the first without the second is killed
# (the benchmark starts the next program only after the second).
kill_wordpads() {
  local pid
  for pid in $(pgrep -f 'wordpad\.exe' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      kill -9 "$pid" 2>/dev/null || true
    fi
  done
}
out="" one_out=$work/one.out
for size in "${sizes[@]}"; do
  wine "$root/build/$FOYER_PRESET/foyer_viewer_bench.exe" "Z:${work//\//\\}" --rich "$size" \
    "${options[@]}" >"$one_out" &
  bench=$!
  waited=0
  while kill -0 "$bench" 2>/dev/null; do
    ending=$(grep -c '^-- ending the program' "$one_out" || true)
    ended=$(grep -c '^-- ended the program' "$one_out" || true)
    if [ "$ending" -gt "$ended" ]; then waited=$((waited + 1)); else waited=0; fi
    [ "$waited" -ge 15 ] && kill_wordpads
    sleep 1
  done
  wait "$bench" || true
  one=$(tr -d '\r' <"$one_out" | grep -v '^-- end')
  echo "$one"
  out+="$one"$'\n'
done
echo "$out" | awk '$1 ~ /^[0-9]+$/ { mb[++n] = $1; t[n] = $3; w[n] = $4 }
  END {
    for (i = 1; i <= n; ++i)
      if (w[i] > 0) printf "%d MB: viewer %.3f s, WordPad %.3f s, ratio %.2f (goal <= 1)\n", mb[i], t[i], w[i], t[i] / w[i]
      else if (w[i] < 0) printf "%d MB: viewer %.3f s, WordPad did not hold the text in 120 s: ratio below %.2f (goal <= 1)\n", mb[i], t[i], t[i] / 120
    for (i = 2; i <= n; ++i)
      if (t[1] > 0) printf "growth %d/%d MB: %.2f (linear: %.2f)\n", mb[i], mb[1], t[i] / t[1], mb[i] / mb[1]
  }'
