#!/usr/bin/env bash
# Installs the build into a temporary prefix through DESTDIR, runs the
# installed command from there, then moves the whole prefix and runs it
# again: the command must find its own plug-in, never the build tree's.
#   install_test.sh BUILD_DIR EXAMPLES_DIR
set -euo pipefail
build=$1
examples=$2
work=$(mktemp -d /tmp/wordlap-install-XXXXXX)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "install test: $*" >&2
  exit 1
}

DESTDIR=$work/stage cmake --install "$build" --prefix /opt/wordlap >/dev/null
prefix=$work/stage/opt/wordlap

for file in bin/wordlap lib/wordlap/Wordlap.so share/man/man1/wordlap.1 \
            share/bash-completion/completions/wordlap \
            share/zsh/vendor-completions/_wordlap share/doc/wordlap/README.md; do
  [[ -f $prefix/$file ]] || fail "missing $file"
done

# Runs the installed command in $1 and checks what it says.
check() {
  local at=$1
  local info
  info=$("$at/bin/wordlap" info) || fail "info failed in $at"
  [[ $info == "plug-in: $at/lib/wordlap/Wordlap.so"$'\n'* ]] ||
    fail "info in $at loaded another plug-in: ${info%%$'\n'*}"
  [[ $info == *$'\nversion: 0.3\n'* ]] || fail "info in $at: $info"

  local verdict status=0
  verdict=$("$at/bin/wordlap" compare 'D:\Music\Artist - Song Title.mp3' \
    'E:\Backup\Song_Title-Artist.mp3') || status=$?
  [[ $status == 0 && $verdict == match ]] ||
    fail "compare in $at: '$verdict', status $status"

  local groups
  groups=$("$at/bin/wordlap" scan "$examples") || fail "scan failed in $at"
  [[ $groups == *"Café Lumière.mp3"* && $groups == *" files scanned" ]] ||
    fail "scan in $at: $groups"

  "$at/bin/wordlap" --version | grep -qx "plug-in: $at/lib/wordlap/Wordlap.so" ||
    fail "--version in $at names another plug-in"
}

check "$prefix"
mv "$prefix" "$work/moved"
check "$work/moved"

# The installed page renders.
if command -v man >/dev/null; then
  page=$(man -l "$work/moved/share/man/man1/wordlap.1") || fail "man -l failed"
  [[ $page == *"EXIT STATUS"* ]] || fail "man -l shows no EXIT STATUS"
fi
echo "install test: installed, ran, moved and ran again"
