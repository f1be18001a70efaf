#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the demo need. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format clang-tidy
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 mdbtools
  libcurl4-openssl-dev nlohmann-json3-dev libssl-dev openssl zlib1g-dev libcrypt-dev
  libgtest-dev libgmock-dev
  php-cli nodejs python3 unzip zip p7zip-full xvfb xauth fonts-dejavu-core
  dpkg-dev groff-base desktop-file-utils pigz lintian devscripts
  wine64 g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm ships inside NodeSource's nodejs but is a package of its own in Debian 12 (which the NodeSource
# package conflicts with), so it is installed only when missing.
if ! command -v npm >/dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends npm
fi

# The tests' JavaScript peers (mdb-reader), at the versions tests/peers/package-lock.json pins; reinstalled
# only when the installed tree no longer matches.
peers="$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/peers" && pwd)"
if ! npm ls --prefix "$peers" --all >/dev/null 2>&1; then
  npm ci --prefix "$peers" --no-audit --no-fund
fi
