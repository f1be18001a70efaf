#!/usr/bin/env bash
# Runs the Windows tests of build-windows/ (tools/build-windows.sh) under Wine, counting skipped tests as
# tools/run-tests.sh does (under CI=true a skip fails the run), and says how long the run took. The Wine
# prefix and its server are made first, outside any pipe (see tools/wine/prefix.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-windows}
start=$SECONDS
bash tools/wine/prefix.sh
status=0
bash tools/run-tests.sh "$build" || status=$?
echo "Durata dei test Windows: $((SECONDS - start)) s"
exit "$status"
