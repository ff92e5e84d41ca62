#!/usr/bin/env bash
# Installs what building and running need, builds the program (the
# "release" preset, in build/release) and starts it. Arguments are passed on
# to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quillmart
exec ./build/release/src/quillmart "$@"
