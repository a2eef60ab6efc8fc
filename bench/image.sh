#!/usr/bin/env bash
# Times foyer-check on a disc image of the demonstration medium with 4 GB of video added (two
# videos of 2 GB in its Video category, made with xorriso), and measures the most bytes its
# unpacking takes in TMPDIR while it runs (the folder's blocks on disk, looked at again and again).
# Prints the seconds, the peak bytes and the image's size.
# Arguments: the foyer-check to run (default build/native/foyer-check), and the gigabytes of
# video (default 4).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=${1:-} gigabytes=${2:-4}
cmake --preset native >/dev/null
targets=(medgen)
[ -z "$check" ] && targets+=(foyer-check)
cmake --build --preset native -j2 --target "${targets[@]}" >/dev/null
check=${check:-$root/build/native/foyer-check}
work=$root/build/bench/image
medium=$work/medium image=$work/medium.iso temp=$work/tmp
rm -rf "$work" && mkdir -p "$work" "$temp"
"$root/build/native/medgen" "$medium" --force >/dev/null
# Each video a real one's header and then its size of zeros, which the image holds as data.
for name in first second; do
  head -c 4096 "$medium/Video/bounce.avi" >"$medium/Video/$name.avi"
  truncate -s $((gigabytes * 512))M "$medium/Video/$name.avi"
done
xorriso -as mkisofs -quiet -J -R -o "$image" "$medium" >/dev/null 2>&1
rm -rf "$medium"
peak=0
start=$EPOCHREALTIME
TMPDIR=$temp "$check" "$image" >"$work/report.txt" 2>&1 &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  used=$(du -s -B1 "$temp" 2>/dev/null | cut -f1 | tail -n 1 || true)
  if [ "${used:-0}" -gt "$peak" ]; then peak=$used; fi
done
status=0
wait "$pid" || status=$?
seconds=$(awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { printf "%.2f", a - b }')
size=$(stat -c %s "$image")
echo "foyer-check on an image of $size bytes: ${seconds}s, at most $peak bytes in TMPDIR"
echo "exit $status: $(tail -n 1 "$work/report.txt")"
rm -rf "$work"
