#!/usr/bin/env bash
# Builds the Windows program into build-windows/: Calvorin.exe (a static MinGW-w64 cross build) and its zip;
# tools/run-windows-tests.sh adds the tests there and runs them under Wine. Installs what it needs, like setup.sh.
# The compiled SQLite object stays in build-windows/ (and ccache), so it is compiled once.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCALVORIN_TESTS=OFF -DCALVORIN_BENCH=ON >/dev/null
cmake --build build-windows
bash tools/check-windows-imports.sh build-windows/Calvorin.exe
