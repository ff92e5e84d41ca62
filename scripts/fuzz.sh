#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer for SECONDS seconds, under
# AddressSanitizer and UndefinedBehaviorSanitizer (the "fuzz" preset, built
# with clang in build/fuzz).
#
#   bash scripts/fuzz.sh TARGET SECONDS     e.g. bash scripts/fuzz.sh item_file 600
#
# TARGET is a name from fuzz/CMakeLists.txt (order_message, item_file, ...).
# The fuzzer starts from the seed corpus in fuzz/corpus/TARGET and keeps what
# it finds in build/fuzz/corpus/TARGET, so a second run goes on from there.
# An input that breaks the target is saved as build/fuzz/crashes/TARGET-*;
# once the fault is fixed, copy it into fuzz/corpus/TARGET, where every test
# run feeds it to the target again.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: fuzz.sh TARGET SECONDS}"
seconds="${2:?usage: fuzz.sh TARGET SECONDS}"
[ -d "fuzz/corpus/$target" ] || { echo "no such fuzz target: $target" >&2; exit 2; }

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target"
mkdir -p "build/fuzz/corpus/$target" build/fuzz/crashes
# The leak check is off: Qt's caches that live until exit would end every run.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
"build/fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="build/fuzz/crashes/$target-" "build/fuzz/corpus/$target" "fuzz/corpus/$target"
