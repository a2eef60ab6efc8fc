#!/usr/bin/env bash
# Installs a tree of 10,000 files of 1 KB in 100 folders, and one file of 200 MB, under Wine with
# the progress window up, against Wine's xcopy /e /i /h of the same tree and copy of the same
# file, in four alternating rounds of one process (the order swaps each round). Goals: the tree at most 1.0 times xcopy, the
# file at most 1.1 times copy. Each copy is made twice, the second time over the first, where
# every file is replaced (a reinstall); the same goals hold.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# The 32-bit build, or the 64-bit one where this machine cannot run 32-bit code.
. "$root/tools/testbed/testbed.sh"
testbed_arch
cmake --preset "$FOYER_PRESET" >/dev/null
cmake --build --preset "$FOYER_PRESET" -j"$(nproc)" --target foyer_install_bench >/dev/null
echo "-- measuring $(testbed_build_name)"
testbed_init
testbed_xvfb 24
work=$root/build/bench/install
mkdir -p "$work"
wine "$root/build/$FOYER_PRESET/foyer_install_bench.exe" "Z:${work//\//\\}" | tr -d '\r'
