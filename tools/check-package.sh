#!/usr/bin/env bash
# Builds the Debian package from build/ (or CALVORIN_BUILD_DIR), checks it as Debian would (lintian, the
# hardening of the binaries), installs it as a user would, and runs the installed program: its version,
# its manual page and menu entry, then a whole /batch run on a demo league.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${CALVORIN_BUILD_DIR:-build}
fail() { echo "check-package: $*" >&2; exit 1; }
(cd "$build" && cpack >/dev/null)
package=$(realpath "$(ls "$build"/calvorin_*_amd64.deb)")
echo "Pacchetto: $package"

# Any lintian error or warning fails; packaging/lintian-overrides says why the overridden tags do not apply.
lintian --fail-on error,warning "$package" 2> >(grep -v 'root privileges' >&2) ||
  fail "lintian finds faults in the package"
# A new version needs its changelog entry before it is packaged.
logged=$(dpkg-parsechangelog -l packaging/changelog -S Version)
[ "$logged" = "$(dpkg-deb -f "$package" Version)" ] ||
  fail "the latest entry of packaging/changelog is for $logged, not for the packaged version"

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$package" >/dev/null
trap 'apt-get remove -y -qq calvorin >/dev/null' EXIT

# tools/build.sh compiles with Debian's hardening flags; a build folder configured without them fails here.
# Debian 12's flags have no control-flow protection (-fcf-protection), so it is not required.
hardening-check --nocfprotection /usr/bin/calvorin /usr/bin/calvorin-demo ||
  fail "the programs are not hardened"
# libcurl is loaded at run time, so no shared-library scan finds it: the package must name it.
dpkg-deb -f "$package" Depends | grep -q 'libcurl4' || fail "the package does not depend on libcurl4"
[ "$(command -v calvorin)" = /usr/bin/calvorin ] || fail "calvorin is not installed in /usr/bin"
version=$(calvorin --version)
[[ "$version" =~ ^Calvorin\ [0-9]+\.[0-9]+\.[0-9]+ ]] || fail "unexpected version line: $version"
echo "$version"
for f in /usr/share/man/man1/calvorin.1.gz /usr/share/man/man1/calvorin-demo.1.gz \
         /usr/share/applications/calvorin.desktop \
         /usr/share/icons/hicolor/scalable/apps/calvorin.svg /usr/share/doc/calvorin/copyright \
         /usr/share/doc/calvorin/changelog.gz /usr/share/lintian/overrides/calvorin; do
  dpkg -S "$f" >/dev/null || fail "$f is not in the package"
done
for page in calvorin calvorin-demo; do
  zcat "/usr/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1 | (! grep .) ||
    fail "the manual page of $page has faults"
done
calvorin-demo --help | grep -q '^Uso: calvorin-demo' || fail "calvorin-demo --help does not print its usage"
desktop-file-validate /usr/share/applications/calvorin.desktop

demo=$(mktemp -d)
trap 'apt-get remove -y -qq calvorin >/dev/null; rm -rf "$demo"' EXIT
read -r -a args < <(calvorin-demo "$demo" | grep '^/l=' | tail -n 1)
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM NO_COLOR=1 calvorin "${args[@]}" /batch >"$demo/log" || status=$?
[ "$status" = 0 ] || { cat "$demo/log"; fail "the installed program ended with status $status"; }
for f in js/fcmInvioFormazioneDati.js invform/invform.inc.php js/fcmVariabiliCalvorin.js; do
  [ -s "$demo/Sito/$f" ] || fail "the run did not write $f"
done
echo "Il programma installato ha completato il lavoro sulla lega dimostrativa."
