#!/usr/bin/env bash
# Builds the HTTP tests (tests/platform/http) for Windows with MinGW-w64 and runs them under Wine, over
# WinHTTP, against test servers that run here: a stop-gap until the Windows CMake build runs them.
#
#   bash tools/wine-http-tests.sh [output folder] [-- gtest arguments]
#
# The output folder (default build-wine-http/) keeps the objects; GoogleTest is compiled once from
# /usr/src/googletest. A Windows program under Wine cannot run a Linux program and wait for it, so the
# servers are started by tests/support/windows/server_launcher.py, whose port the tests find in
# CALVORIN_TEST_LAUNCHER. WINEPREFIX defaults to <output folder>/wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=${1:-build-wine-http}
[ $# -gt 0 ] && shift
[ "${1:-}" = "--" ] && shift
mkdir -p "$out/obj" "$out/include"
out=$(cd "$out" && pwd)

cxx="x86_64-w64-mingw32-g++-posix"
command -v "$cxx" >/dev/null || { echo "$cxx not found (Debian: g++-mingw-w64-x86-64-posix)" >&2; exit 1; }
command -v ccache >/dev/null && cxx="ccache $cxx"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
gtest=/usr/src/googletest
# Only nlohmann's folder from /usr/include: the rest of it is Linux's.
ln -sfn /usr/include/nlohmann "$out/include/nlohmann"

flags=(-std=c++20 -O1 -g0 -Wall -Wextra -Wpedantic -Werror -D_WIN32_WINNT=0x0A00 -I"$root" -I"$root/tests"
       -isystem "$out/include" -isystem "$gtest/googletest/include" -isystem "$gtest/googlemock/include"
       -DCALVORIN_SOURCE_DIR="\"$root\"" -DCALVORIN_BINARY_DIR="\"$out\"")
sources=(platform/http/HttpGet.cpp platform/http/HttpHop.cpp platform/http/Redirect.cpp
         platform/http/StatusLine.cpp platform/http/Url.cpp platform/os/windows/WinHttpHop.cpp
         platform/text/Trim.cpp platform/text/Utf8.cpp
         tests/support/windows/ServerProcess.cpp tests/platform/http/HttpGetTest.cpp
         tests/platform/http/UrlTest.cpp "$out/Cp1252.cpp")
# platform/text/Encoding.cpp needs iconv, which MinGW lacks; until platform/text builds for Windows, the
# one function the HTTP code takes from it is the system's own conversion.
cat >"$out/Cp1252.cpp" <<'CODE'
#include <windows.h>

#include "platform/text/Encoding.h"

namespace calvorin {
std::string Cp1252ToUtf8(std::string_view cp1252) {
    if (cp1252.empty()) return {};
    int n = MultiByteToWideChar(1252, 0, cp1252.data(), static_cast<int>(cp1252.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(1252, 0, cp1252.data(), static_cast<int>(cp1252.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), m, nullptr, nullptr);
    return utf8;
}
}  // namespace calvorin
CODE

objects=()
for source in "${sources[@]}"; do
  object="$out/obj/$(basename "$source" .cpp).o"
  $cxx "${flags[@]}" -c "$source" -o "$object"
  objects+=("$object")
done
for part in googletest/src/gtest-all.cc googlemock/src/gmock-all.cc googlemock/src/gmock_main.cc; do
  object="$out/obj/$(basename "$part" .cc).o"
  [ -f "$object" ] || $cxx -std=c++20 -O1 -g0 -I"$gtest/googletest" -I"$gtest/googletest/include" \
    -I"$gtest/googlemock" -I"$gtest/googlemock/include" -c "$gtest/$part" -o "$object"
  objects+=("$object")
done
$cxx -static -o "$out/test_platform_http.exe" "${objects[@]}" -lwinhttp -lws2_32

export WINEPREFIX=${WINEPREFIX:-$out/wine} WINEDEBUG=${WINEDEBUG:--all}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
fi
# A persistent wineserver, started outside any pipe, makes each run take a fraction of a second.
wineserver -p </dev/null >/dev/null 2>&1 || true

launcher_out="$out/launcher.port"
python3 tests/support/windows/server_launcher.py >"$launcher_out" &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -s "$launcher_out" ] && break; sleep 0.1; done
CALVORIN_TEST_LAUNCHER=$(head -n1 "$launcher_out")
export CALVORIN_TEST_LAUNCHER
"$wine" "$out/test_platform_http.exe" "$@"
