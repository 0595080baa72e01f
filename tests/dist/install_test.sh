#!/usr/bin/env bash
# install_test.sh BUILD: cmake --install BUILD into a temporary prefix, then
# check every file, the desktop entry and AppStream data, the manual pages and
# the completion of hoofer.
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

if [ "$failures" -gt 0 ]; then exit 1; fi
if [ ${#skipped[@]} -gt 0 ]; then echo "skipped, missing: ${skipped[*]}"; exit 77; fi
echo "install tree complete"
