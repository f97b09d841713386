#!/usr/bin/env bash
# Books kept in git with vkd as their textconv and merge driver, set up as the README shows: two
# branches that each add a word merge cleanly, two that correct the same word differently leave
# a conflict that git reports and that keeps both entries. $1 is the vkd program.
set -uo pipefail
vkd=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/vkd-git-XXXXXX")
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL: %s:\nexpected: %s\ngot:      %s\n' "$1" "$2" "$3"
    fail=1
  fi
}
book() {  # book TSV: book.vkd holds the entries of TSV, and is committed
  printf "$1" | "$vkd" import - -o book.vkd --name 英単語 --force && git commit -qam "$1"
}

cd "$work" && git init -q -b main . && git config user.email t@example.org &&
  git config user.name t || exit 1
echo '*.vkd diff=vkd merge=vkd' >.gitattributes
git config diff.vkd.textconv "$vkd export --format tsv"
git config merge.vkd.driver "$vkd merge %O %A %B -o %A"
printf 'cat\tねこ\n' | "$vkd" import - -o book.vkd --name 英単語 && git add . && git commit -qm base

git checkout -q -b dog && book 'cat\tねこ\ndog\tいぬ\n'
git checkout -q main && book 'cat\tねこ\nbird\tとり\n'
git merge -q --no-edit dog >/dev/null 2>&1
check "two added words merge cleanly" 0 $?
check "the book holds both words" "$(printf 'cat\tねこ\nbird\tとり\ndog\tいぬ')" \
  "$("$vkd" export book.vkd)"
check "git diff shows entries" "+dog	いぬ" "$(git diff HEAD~1 -- book.vkd | grep '^+dog')"

git checkout -q -b one main && book 'cat\t猫\nbird\tとり\ndog\tいぬ\n'
git checkout -q -b two main && book 'cat\tネコ\nbird\tとり\ndog\tいぬ\n'
report=$(git merge --no-edit one 2>&1)
check "two corrections conflict" 1 $?
check "git reports the conflict" "CONFLICT (content): Merge conflict in book.vkd" \
  "$(grep -o 'CONFLICT.*book.vkd' <<<"$report")"
check "git lists the book as unmerged" book.vkd "$(git diff --name-only --diff-filter=U)"
check "the conflict keeps both entries, ours first" \
  "$(printf 'cat\tネコ\ncat\t猫\nbird\tとり\ndog\tいぬ')" "$("$vkd" export book.vkd)"
exit $fail
