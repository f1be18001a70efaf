#!/usr/bin/env bash
# Builds the Windows tests into build-windows/ (tools/build-windows.sh makes the program there and leaves
# the tests out) and runs them under Wine, counting skipped tests as tools/run-tests.sh does (under CI=true
# a skip fails the run), and says how long the run took. The Wine prefix and its server are made first,
# outside any pipe (see tools/wine/prefix.sh). A Windows program under Wine cannot start a Linux one and
# wait for it: the tests' servers are started here by tests/support/windows/server_launcher.py, whose port
# the tests find in CALVORIN_TEST_LAUNCHER.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
cmake -S . -B "$build" -DCALVORIN_TESTS=ON >/dev/null
cmake --build "$build"
start=$SECONDS
bash tools/wine/prefix.sh
# The launcher maps the tests' Windows paths with winepath, in the tests' own prefix.
# shellcheck source=tools/wine/environment.sh
source tools/wine/environment.sh
port_file=$(mktemp)
python3 tests/support/windows/server_launcher.py >"$port_file" </dev/null &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true; rm -f "$port_file"' EXIT
for _ in $(seq 100); do [ -s "$port_file" ] && break; sleep 0.1; done
CALVORIN_TEST_LAUNCHER=$(head -n1 "$port_file")
[ -n "$CALVORIN_TEST_LAUNCHER" ] || { echo "Il lanciatore dei server di prova non è partito." >&2; exit 1; }
export CALVORIN_TEST_LAUNCHER
status=0
bash tools/run-tests.sh "$build" || status=$?
echo "Durata dei test Windows (build esclusa): $((SECONDS - start)) s"
exit "$status"
