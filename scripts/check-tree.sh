#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# check-tree.sh: the house rules that hold on every file of the repository:
# C++ formatted by the repository's .clang-format, a licence line atop every
# source file, and operating-system headers only inside linux/ or windows/
# folders, the Win32 program (frontends/win32/) and the Qt program's main.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
failed=0

mapfile -t cpp < <(git ls-files -- '*.cpp' '*.h')
if ! clang-format-14 --dry-run --Werror "${cpp[@]}"; then
  echo "check-tree: run clang-format-14 -i on the files above" >&2
  failed=1
fi

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt' .ci/run)
for file in "${sources[@]}"; do
  if ! head -n 3 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
    echo "check-tree: $file: no SPDX-License-Identifier line at the top" >&2
    failed=1
  fi
done

system_headers='^\s*#\s*include\s*<(unistd|fcntl|signal|poll|spawn|sched|termios|dirent|pwd|grp|ifaddrs|windows|winsock2|ws2tcpip|iphlpapi|sys/|netlink/|linux/|arpa/|net/|netinet/|X11/|xcb/|QDBus|QtDBus)'
if git grep -nE "$system_headers" -- '*.cpp' '*.h' ':!**/linux/**' ':!**/windows/**' ':!frontends/win32/**' ':!frontends/qt/main.cpp'; then
  echo "check-tree: operating-system headers belong in a linux/ or windows/ folder" >&2
  failed=1
fi

[ "$failed" -eq 0 ] && echo "check-tree: formatting, licence lines and system boundary hold"
exit "$failed"
