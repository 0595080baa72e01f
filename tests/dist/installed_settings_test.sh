#!/usr/bin/env bash
# installed_settings_test.sh BUILD: the editor installed into a temporary
# prefix keeps its settings in the user's config folder, never beside its
# executable, though the prefix is writable (as it is for root anywhere). A
# copy outside an install keeps them beside itself (tests/app/session_end_test.cpp).
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs the editor at $1 on no display, with HOME and the config and data
# folders under $2, and ends it as a logout does, which writes the settings.
run_editor() {
  local exe=$1 home=$2 pid i mask
  mkdir -p "$home/home" && mkdir -m 700 "$home/runtime"
  HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
    QT_QPA_PLATFORM=offscreen "$exe" >"$home/output" 2>&1 &
  pid=$!
  # The editor catches its signals (signal n is bit n-1 of SigCgt) before it
  # makes the window: a signal from then on waits for the window's event
  # loop. Until the exec, the process is a shell, which catches SIGTERM too.
  for ((i = 0; i < 200; i++)); do
    # The program first: once it is the editor, it stays the editor.
    [ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$exe")" ] \
      && mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null) && [ -n "$mask" ] \
      && (((16#$mask >> 14) & 1)) && break
    sleep 0.1
  done
  kill -TERM "$pid" 2>/dev/null
  for ((i = 0; i < 200; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$exe did not end on SIGTERM"
    kill -KILL "$pid"
  fi
  wait "$pid" 2>/dev/null
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
run_editor "$prefix/bin/hooferedit" "$work/installed"
[ -e "$prefix/bin/hooferedit.ini" ] && fail "the installed editor wrote hooferedit.ini beside itself"
[ -s "$work/installed/config/HooferEdit/hooferedit.ini" ] \
  || fail "the installed editor wrote no settings into XDG_CONFIG_HOME: $(cat "$work/installed/output")"

if [ "$failures" -gt 0 ]; then exit 1; fi
echo "settings in the config folder for the installed editor"
