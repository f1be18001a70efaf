#!/usr/bin/env bash
# Fails, naming the file and line, when a source outside the port layer includes a header of the system:
# POSIX's (unistd.h, fcntl.h, sys/..., ...) or Windows' (windows.h, bcrypt.h, winhttp.h, ...). Their homes
# are platform/os/ for the program, tests/support/{posix,windows}/ for the tests, and the views (ui/),
# which are of one system by nature. Standard C and C++ headers are everyone's.
set -euo pipefail
cd "$(dirname "$0")/.."
system_headers='unistd|fcntl|dlfcn|dirent|pwd|grp|spawn|signal|termios|poll|netdb|langinfo|iconv|pthread'
system_headers+='|sys/[a-z_]+|arpa/[a-z_]+|netinet/[a-z_]+'
system_headers+='|windows|winbase|winnt|winhttp|wincrypt|bcrypt|ncrypt|shellapi|shlobj|shlwapi|aclapi|sddl'
system_headers+='|io|direct|process|conio|winsock2|ws2tcpip|commctrl|commdlg|richedit|objbase|shobjidl'
git ls-files -- '*.h' '*.cpp' |
  grep -v -E '^(platform/os/|tests/support/(posix|windows)/|ui/|third_party/)' |
  xargs grep -n -i -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*<(${system_headers})\.h>" |
  sed 's/$/   <- an OS header outside platform\/os and tests\/support\/{posix,windows}/' && exit 1
exit 0
