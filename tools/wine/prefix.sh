#!/usr/bin/env bash
# Makes the Windows tests' Wine prefix (once, about 15 s) and starts a persistent wineserver, so that each
# test process starts in a fraction of a second. Run it outside any pipe: the services Wine starts keep
# the output they were given, and a reader of that pipe would wait for ever. Their output goes to a log.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tools/wine/environment.sh
source "$here/environment.sh"
mkdir -p "$(dirname "$WINEPREFIX")"
log="$(dirname "$WINEPREFIX")/wine-prefix.log"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$CALVORIN_WINE" wineboot -i </dev/null >"$log" 2>&1
fi
"$CALVORIN_WINESERVER" -p </dev/null >>"$log" 2>&1 || true
# Wait for the server to answer before any test starts.
"$CALVORIN_WINE" cmd /c exit 0 </dev/null >>"$log" 2>&1
