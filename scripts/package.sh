#!/usr/bin/env bash
# Builds the Debian package quillbase_<version>_<arch>.deb into build/package (and prints its name).
#   scripts/package.sh
# Install it with: apt-get install ./build/package/quillbase_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# dpkg-shlibdeps finds the libraries' packages; it comes with dpkg-dev.
command -v dpkg-shlibdeps >/dev/null || { echo "dpkg-shlibdeps is missing (package dpkg-dev)" >&2; exit 1; }
bash scripts/build.sh package
cd build/package
rm -f quillbase_*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log >&2; exit 1; }
ls "$PWD"/quillbase_*.deb
