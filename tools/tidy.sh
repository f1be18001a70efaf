#!/usr/bin/env bash
# Runs clang-tidy (checks in .clang-tidy) over the program's own sources, the Linux and the Windows ones;
# fails on any warning.
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

# The Windows sources, as the MinGW build compiles them: clang reads MinGW's headers and its C++ library.
cmake -S . -B build-windows-tidy -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCALVORIN_TESTS=OFF -DCALVORIN_BENCH=OFF >/dev/null
gcc_root=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
"$runner" -p build-windows-tidy -j2 -quiet -extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-nostdinc++ \
  -extra-arg=-isystem"$gcc_root/include/c++" -extra-arg=-isystem"$gcc_root/include/c++/x86_64-w64-mingw32" \
  "^$root/platform/os/windows/.*\.cpp\$"
