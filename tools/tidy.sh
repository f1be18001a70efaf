#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the program's own sources; fails on any warning.
# The core without Qt is enough: the view is the only layer it leaves out. Configuring alone writes
# compile_commands.json and the include roots; no source is generated, so nothing needs building.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-tidy -G Ninja -DCALVORIN_GUI=OFF -DCALVORIN_TESTS=OFF -DCALVORIN_BENCH=OFF >/dev/null
runner=$(command -v run-clang-tidy || command -v run-clang-tidy-14) ||
  { echo "run-clang-tidy not found: run tools/setup.sh" >&2; exit 1; }
root=$(pwd)
"$runner" -p build-tidy -j2 -quiet \
  "^$root/(platform|plugin|settings|lineup|starttimes|archives|app)/.*\.cpp\$" "^$root/main\.cpp\$"
