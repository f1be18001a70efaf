#!/usr/bin/env bash
# Installs what is needed and builds Calvorin into build/ (the window included).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALVORIN_GUI=ON >/dev/null
cmake --build build
