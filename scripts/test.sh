#!/usr/bin/env bash
# Installs what is needed, builds everything with warnings as errors and runs
# every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
# The layers first: a folder cycle or a core file that includes a gui header
# fails before anything is built.
python3 scripts/check-layers.py
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLMART_WERROR=ON
cmake --build build
cd build && ctest --output-on-failure --timeout 600
