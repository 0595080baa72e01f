#!/usr/bin/env bash
# Installs what is missing, builds the release build and makes the Debian
# package hooferedit_<version>_<arch>.deb in build/release. Install it with
#   sudo apt-get install ./build/release/hooferedit_*.deb
set -euo pipefail
. "$(dirname "$0")/build_common.sh"
"$here/scripts/deps.sh"
build=$here/build/release
configure_and_build "$build" -DCMAKE_BUILD_TYPE=Release -DHOOFER_BUILD_TESTS=OFF
(cd "$build" && cpack -G DEB)
ls "$build"/hooferedit_*.deb
