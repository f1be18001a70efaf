#!/usr/bin/env bash
# The main job on the demo league: builds, lays out a complete FCM environment, and runs Calvorin on it
# in the window where a display exists, in /batch otherwise; then lists the files it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
demo=${1:-/tmp/calvorin-demo}
rm -rf "$demo"
build/calvorin-demo "$demo" | tee "$demo.args"
read -r -a args < <(grep '^/l=' "$demo.args" | tail -n 1)
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  build/calvorin "${args[@]}" || true
else
  echo "Nessun display: Calvorin gira in /batch."
  status=0
  build/calvorin "${args[@]}" /batch || status=$?
  echo "Stato di uscita: $status"
fi
echo
echo "File scritti nel sito:"
find "$demo/Sito" -newer "$demo.args" -type f | sort
