#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the demo need. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang-format clang-tidy
  clang libclang-rt-14-dev
  qt6-base-dev libgl-dev
  libsqlite3-dev sqlite3 mdbtools-dev mdbtools libglib2.0-dev
  libcurl4-openssl-dev nlohmann-json3-dev libssl-dev openssl libpcre2-dev zlib1g-dev libcrypt-dev
  libgtest-dev libgmock-dev
  php-cli nodejs python3 unzip zip p7zip-full xvfb xauth fonts-dejavu-core
  wine64 g++-mingw-w64-x86-64
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
