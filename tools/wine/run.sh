#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the tests' own prefix (see prefix.sh): the emulator
# through which ctest runs the Windows tests.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=tools/wine/environment.sh
source "$here/environment.sh"
exec "$CALVORIN_WINE" "$@"
