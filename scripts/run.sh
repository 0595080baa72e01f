#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the editor.
set -euo pipefail
. "$(dirname "$0")/build_common.sh"
"$here/scripts/deps.sh"
configure_and_build "$here/build/release" -DCMAKE_BUILD_TYPE=Release -DHOOFER_BUILD_TESTS=OFF -- hooferedit hoofer
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (DISPLAY is not set): start an X server or set QT_QPA_PLATFORM." >&2
  exit 1
fi
exec "$here/build/release/src/app/hooferedit" "$@"
