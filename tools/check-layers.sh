#!/usr/bin/env bash
# Fails, naming the file and line, when a source includes a header of a layer above its own.
# Layers, bottom to top: platform, plugin, the features (settings lineup starttimes archives), app, ui.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -- 'platform/*' 'plugin/*' 'settings/*' 'lineup/*' 'starttimes/*' 'archives/*' 'app/*' 'ui/*' |
  grep -E '\.(h|cpp)$' |
  xargs awk '
    function rank(folder) {
      if (folder == "platform") return 0
      if (folder == "plugin") return 1
      if (folder ~ /^(settings|lineup|starttimes|archives)$/) return 2
      if (folder == "app") return 3
      if (folder == "ui") return 4
      return -1
    }
    match($0, /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) {
      split(FILENAME, own, "/")
      target = substr($0, RSTART, RLENGTH)
      sub(/^[^"]*"/, "", target); sub(/\/$/, "", target)
      if (rank(target) > rank(own[1])) {
        printf "%s:%d: %s includes a header of the layer above it: %s\n", FILENAME, FNR, own[1], $0
        bad = 1
      }
    }
    END { exit bad }'
