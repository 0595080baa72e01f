#!/usr/bin/env bash
# Installs what is missing, builds the release build and makes the Debian
# package hooferedit_<version>_<arch>.deb in build/release. Install it with
#   sudo apt-get install ./build/release/hooferedit_*.deb
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
build=$here/build/release
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHOOFER_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB)
ls "$build"/hooferedit_*.deb
