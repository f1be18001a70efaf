# Sourced: the Wine command and the prefix the Windows tests run in, the same for every script.
# WINEDEBUG=-all keeps Wine's own diagnostics out of the tests' output.
export WINEPREFIX="${CALVORIN_WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/calvorin/wine-tests}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
CALVORIN_WINE="$(command -v wine64 || echo /usr/lib/wine/wine64)"
CALVORIN_WINESERVER="$(command -v wineserver || echo /usr/lib/wine/wineserver)"
export CALVORIN_WINE CALVORIN_WINESERVER
