#!/usr/bin/env bash
# Installs the Debian packages that building and testing trevik needs, when
# any of them is missing. Runs apt-get as root (directly, or through sudo).
set -eu

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          mingw-w64-tools wine64 wine googletest icoutils)
needed=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || needed+=("$package")
done
[ ${#needed[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${needed[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${needed[@]}"
