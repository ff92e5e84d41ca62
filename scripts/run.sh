#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it. Arguments are
# passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target quillmart
exec ./build/src/quillmart "$@"
