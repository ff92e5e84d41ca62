#!/usr/bin/env bash
# Installs what the tests need, builds everything with warnings as errors (the
# "debug" preset, in build/debug) and runs every test. With --sanitize, the
# core tests also run under AddressSanitizer and UndefinedBehaviorSanitizer
# (the "asan" preset, in build/asan).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=""
case "${1:-}" in
  --sanitize) sanitize=yes ;;
  "") ;;
  *) echo "usage: test.sh [--sanitize]" >&2; exit 2 ;;
esac
bash scripts/bootstrap.sh --tests
# The layers first: a folder cycle or a core file that includes a gui header
# fails before anything is built.
python3 scripts/check-layers.py
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug
if [ -n "$sanitize" ]; then
  cmake --preset asan >/dev/null
  cmake --build --preset asan
  ctest --preset asan
fi
