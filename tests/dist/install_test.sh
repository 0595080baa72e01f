#!/usr/bin/env bash
# install_test.sh BUILD: cmake --install BUILD into a temporary prefix, then
# check every file, the desktop entry and AppStream data, the manual pages,
# the completion of hoofer and where the installed editor keeps its settings.
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0 skipped=()
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
have() { command -v "$1" >/dev/null || { skipped+=("$1"); false; }; }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

id=org.hooferedit.HooferEdit
share=$prefix/share
for f in bin/hooferedit bin/hoofer share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/128x128/apps/$id.png share/man/man1/hoofer.1 share/man/man1/hooferedit.1 \
         share/bash-completion/completions/hoofer; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for p in hooferedit hoofer; do [ -x "$prefix/bin/$p" ] || fail "bin/$p is not executable"; done
grep -qx 'Exec=hooferedit %f' "$share/applications/$id.desktop" || fail "the desktop entry does not run hooferedit %f"

if have desktop-file-validate; then
  out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
fi
if have appstreamcli; then
  appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null 2>&1 \
    || fail "AppStream data: $(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" 2>&1)"
fi
for size in 48 128; do # a PNG's width and height: big-endian at byte 16
  dims=$(od -An -tu4 --endian=big -j16 -N8 "$share/icons/hicolor/${size}x${size}/apps/$id.png" | xargs)
  [ "$dims" = "$size $size" ] || fail "the $size px icon is $dims"
done
if have groff; then
  for page in hoofer hooferedit; do
    # -ww: every warning; a page that does not render prints them.
    out=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww "$share/man/man1/$page.1" 2>&1 >/dev/null) || fail "$page.1: $out"
    [ -z "$out" ] || fail "$page.1: $out"
    LC_ALL=C.UTF-8 groff -man -Tutf8 "$share/man/man1/$page.1" 2>/dev/null | grep -q "${page^^}(1)" || fail "$page.1 renders without its heading"
  done
fi

# The completion: load it as bash-completion would and ask it as Tab does.
completes() { # expected, then the words on the command line (the last is being typed)
  local expected=$1; shift
  local got
  got=$(cd "$prefix" && bash --norc -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
        COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}; _hoofer; echo "${COMPREPLY[*]}"' \
        _ "$share/bash-completion/completions/hoofer" "$@" 2>&1)
  [ "$got" = "$expected" ] || fail "completing '$*' gave '$got', not '$expected'"
}
completes "upload" hoofer up
completes "info check export import render merge upload download reboot" hoofer ""
completes "princedance" hoofer download --slot p
completes "--strict" hoofer check --s
completes "--output" hoofer merge a.raw --ou

# The installed editor keeps its settings in the user's config folder, never
# beside its executable, though the prefix is writable (as it is for root
# anywhere); a copy outside an install keeps them beside itself
# (tests/app/session_end_test.cpp). It runs on no display, with HOME and the
# config and data folders of its own, and ends as a logout ends it, which
# writes the settings.
home=$prefix/session
mkdir -p "$home/home" && mkdir -m 700 "$home/runtime"
HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime \
  QT_QPA_PLATFORM=offscreen "$prefix/bin/hooferedit" >"$home/output" 2>&1 &
pid=$!
# The editor catches its signals (signal n is bit n-1 of SigCgt) before it
# makes the window: a signal from then on waits for the window's event
# loop. Until the exec, the process is a shell, which catches SIGTERM too.
for ((i = 0; i < 200; i++)); do
  # The program first: once it is the editor, it stays the editor.
  [ "$(readlink -f "/proc/$pid/exe")" = "$(readlink -f "$prefix/bin/hooferedit")" ] \
    && mask=$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status" 2>/dev/null) && [ -n "$mask" ] \
    && (((16#$mask >> 14) & 1)) && break
  sleep 0.1
done
kill -TERM "$pid" 2>/dev/null
for ((i = 0; i < 200; i++)); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
  fail "the installed editor did not end on SIGTERM"
  kill -KILL "$pid"
fi
wait "$pid" 2>/dev/null
[ -e "$prefix/bin/hooferedit.ini" ] && fail "the installed editor wrote hooferedit.ini beside itself"
[ -s "$home/config/HooferEdit/hooferedit.ini" ] \
  || fail "the installed editor wrote no settings into XDG_CONFIG_HOME: $(cat "$home/output")"

if [ "$failures" -gt 0 ]; then exit 1; fi
if [ ${#skipped[@]} -gt 0 ]; then echo "skipped, missing: ${skipped[*]}"; exit 77; fi
echo "install tree complete"
