#!/usr/bin/env bash
# Builds the Debian package quillbase_<version>_<arch>.deb into build/package (and prints its name).
#   scripts/package.sh
# Install it with: apt-get install ./build/package/quillbase_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# CPack finds the packages of the libraries the programs link with dpkg-shlibdeps and file.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v file >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends dpkg-dev file
fi
bash scripts/build.sh package
cd build/package
rm -f quillbase_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
ls "$PWD"/quillbase_*.deb
