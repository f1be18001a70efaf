#!/usr/bin/env bash
# Installs what is needed, builds the Linux and the Windows program, and runs every test (the Wine tests
# run the Windows program as FCM starts it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/build.sh
bash tools/build-windows.sh
bash tools/run-tests.sh build
bash tools/run-windows-tests.sh
