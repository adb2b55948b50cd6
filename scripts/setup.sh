#!/usr/bin/env bash
# Installs, from Debian's packages, whatever Quintabel needs to build, run and test and is not
# there yet. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libmariadb-dev libsqlite3-dev
  libgtest-dev libgmock-dev
  mariadb-server mariadb-client
  pxlib-dev
  clang libclang-rt-14-dev
  xvfb xauth fonts-liberation
  at-spi2-core dbus-daemon dbus-bin python3-pyatspi
  # the package: cpack finds the programs to search for libraries with file; the package
  # test checks the menu entry and the AppStream metainfo with these validators
  file desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
# The server package would start the system's own MariaDB; Quintabel never uses that one.
"${sudo_cmd[@]}" env RUNLEVEL=1 apt-get install -y -q --no-install-recommends "${missing[@]}"
