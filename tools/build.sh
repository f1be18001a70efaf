#!/usr/bin/env bash
# Installs what is needed and builds Calvorin into build/ (the window included), with the flags Debian
# builds its packages with. CALVORIN_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
build=${CALVORIN_BUILD_DIR:-build}

# Debian's hardening (fortify, stack protector, relro, bind-now; GCC makes PIE by default) and its
# reproducible paths (this folder becomes "." in the debug information). Given as the cache values on
# every configure, not through CFLAGS and LDFLAGS: CMake reads those only when it creates the cache, so
# an existing build folder would keep building without them.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALVORIN_GUI=ON \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_MODULE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build"
