#!/usr/bin/env bash
# Times foyer-check on the demonstration medium with a category of 10,000 install entries added
# (each a folder with a readme.txt), against the least such a check must do, measured in the same
# run: every folder listed and the first 4 KB of every file read (find and head). Prints each
# run's seconds and the median ratio.
# Arguments: the number of entries (default 10000) and of runs (default 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
entries=${1:-10000} runs=${2:-3}
cmake --preset native >/dev/null
cmake --build --preset native -j"$(nproc)" --target foyer-check medgen >/dev/null
medium=$root/build/bench/check-medium
"$root/build/native/medgen" "$medium" --force >/dev/null
mkdir -p "$medium/Big"
for ((i = 1; i <= entries; i++)); do
  mkdir -p "$medium/Big/Entry$i"
  printf 'Entry number %d of the big category\r\nMore notes.\r\n' "$i" >"$medium/Big/Entry$i/readme.txt"
done
seconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null || true
  awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { printf "%.3f", a - b }'
}
ratios=()
for ((run = 1; run <= runs; run++)); do
  least=$(seconds bash -c "find '$medium' -type f -print0 | xargs -0 head -qc 4096")
  check=$(seconds "$root/build/native/foyer-check" "$medium")
  ratio=$(awk -v a="$check" -v b="$least" 'BEGIN { printf "%.2f", a / b }')
  ratios+=("$ratio")
  echo "run $run: foyer-check ${check}s, least ${least}s, ratio $ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "foyer-check on $entries entries: median $median x the least work"
