#!/usr/bin/env bash
# Installs the build in $1 into a fresh prefix and checks vkd's part of it there: the program
# speaks Japanese from its installed catalogue, the man page is in place, and the bash
# completion completes commands, option values and file names.
set -uo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/vkd-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT
fail=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected '$2', got '$3'"
    fail=1
  fi
}

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

vkd=$prefix/bin/vkd
check "the program" yes "$([ -x "$vkd" ] && echo yes)"
check "Japanese from the installed catalogue" "vkd: none.vkd を開けません" \
  "$(cd "$prefix" && env -u LC_ALL -u LC_MESSAGES LANG=C.UTF-8 LANGUAGE=ja "$vkd" show none.vkd 2>&1 | cut -d: -f1-2)"

man=$prefix/share/man/man1/vkd.1
check "man page title" 1 "$(grep -c '^\.TH VKD "1"' "$man")"
check "man page covers import" yes "$(grep -q 'keep\\-line\\-breaks' "$man" && echo yes)"

source "$prefix/share/bash-completion/completions/vkd"
complete_line() {  # the sorted completions of the words given, the last being completed
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vkd
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}
work=$prefix/work
mkdir -p "$work/sub dir" && cd "$work" && touch a.vkd b.tsv c.json d.txt
check "commands" "export" "$(complete_line vkd ex)"
check "formats" "csv json tsv" "$(complete_line vkd export a.vkd --format '')"
check "encodings" "cp932" "$(complete_line vkd import b.tsv --encoding c)"
check "import's options" "--force --format" "$(complete_line vkd import b.tsv --fo)"
check "dictionaries" "a.vkd sub dir" "$(complete_line vkd check '')"
check "import's input" "b.tsv c.json sub dir" "$(complete_line vkd import '')"
check "export's output" "b.tsv c.json sub dir" "$(complete_line vkd export a.vkd -o '')"
check "search's text is no file" "" "$(complete_line vkd search a.vkd '')"
exit $fail
