#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the editor.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHOOFER_BUILD_TESTS=OFF >/dev/null
cmake --build "$here/build/release" --target hooferedit hoofer
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found (DISPLAY is not set): start an X server or set QT_QPA_PLATFORM." >&2
  exit 1
fi
exec "$here/build/release/src/app/hooferedit" "$@"
