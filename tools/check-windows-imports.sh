#!/usr/bin/env bash
# Fails when a Windows executable imports a DLL that is not part of every Windows 10/11: Wine ships
# builtin copies of libraries (zlib1.dll, for one) that would hide such an import on this machine.
set -euo pipefail
allowed=(
  KERNEL32.dll USER32.dll ADVAPI32.dll SHELL32.dll bcrypt.dll WINHTTP.dll VERSION.dll msvcrt.dll
  api-ms-win-crt-*.dll
)
status=0
for exe in "$@"; do
  while read -r dll; do
    ok=false
    for pattern in "${allowed[@]}"; do
      # shellcheck disable=SC2053  # the pattern is a glob on purpose
      [[ ${dll,,} == ${pattern,,} ]] && ok=true
    done
    if ! $ok; then
      echo "$exe importa $dll, che non fa parte di Windows" >&2
      status=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
done
exit "$status"
