#!/usr/bin/env bash
# Installs every Debian package Quillbase needs to build, test and run. Idempotent: when all are
# present it does nothing.
#   scripts/install-deps.sh [fuzz]   "fuzz" adds clang and libFuzzer for scripts/fuzz.sh
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-svg-dev libqt6svg6
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3
  unixodbc unixodbc-dev libsqliteodbc odbc-postgresql
  postgresql postgresql-client
  xvfb xauth xdotool x11-apps imagemagick
  procps
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang-14 libfuzzer-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
$SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends "${missing[@]}"
