#!/usr/bin/env bash
# Installs what is missing, then builds and runs the whole suite twice: once
# plain, once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
. "$(dirname "$0")/build_common.sh"
"$here/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen
# In a network namespace of its own (unshare -n) loopback starts down; the
# tests talk only to servers of their own on 127.0.0.1.
if command -v ip >/dev/null && ip link show lo 2>/dev/null | grep -q 'state DOWN'; then
  ip link set lo up || echo "loopback is down and cannot be brought up: the FTP tests will fail" >&2
fi

run_suite() {
  configure_and_build "$@"
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" --timeout 300
}

echo "== plain build =="
run_suite "$here/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== sanitized build (ASan + UBSan) =="
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0"
run_suite "$here/build/asan" -DCMAKE_BUILD_TYPE=Debug -DHOOFER_SANITIZE=ON
