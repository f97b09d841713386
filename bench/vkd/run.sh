#!/usr/bin/env bash
# vkd against the plain tools that do the same work on the same bytes, as whole processes in one
# run: check next to cat, show and export next to iconv from code page 932, import next to iconv
# to code page 932, and the JSON import next to the same work in Python (import.py). The dictionary is full size: 1024 entries with meanings of about 64 KiB of
# Japanese and ASCII text with CR LF line breaks, 64 MiB in all. Each time is the best of
# $RUNS runs (default 5); peak memory is the maximum resident size that /usr/bin/time reports.
# An import writes its file safely (flushed to the disk before it takes its name), which its
# baseline, writing to /dev/null, does not.
#
# usage: bash bench/vkd/run.sh PATH/TO/vkd [WORKDIR]
set -euo pipefail
vkd=$(realpath "${1:?usage: run.sh PATH/TO/vkd [WORKDIR]}")
here=$(dirname "$(realpath "$0")")
work=${2:-$(mktemp -d "${TMPDIR:-/tmp}/vkd-bench-XXXXXX")}
runs=${RUNS:-5}
mkdir -p "$work"
cd "$work"

# The text: one TSV line per entry, the meaning's line breaks written as \r\n escapes.
if [ ! -s big.tsv ]; then
  awk 'BEGIN {
    line = "これは辞書の意味の一行です。漢字とかなと English words, 12345 を含みます。\\r\\n";
    # about 64 KiB per meaning in code page 932 (each Japanese character takes 2 bytes there)
    for (i = 0; i < 1024; i++) {
      m = "";
      for (j = 0; j < 860; j++) m = m line;
      printf "単語%04d\t%s\n", i, m;
    }
  }' >big.tsv
fi
[ -s big.vkd ] || "$vkd" import big.tsv --format tsv --name bench -o big.vkd --force 2>/dev/null
for f in csv json; do
  [ -s big.$f ] || "$vkd" export big.vkd --format $f >big.$f
done
# Two copies of big.vkd, each with 10 meanings of its own corrected: ours.vkd in entries 100 to
# 109, theirs.vkd in entries 500 to 509.
for side in ours:100 theirs:500; do
  name=${side%:*} from=${side#*:}
  [ -s $name.vkd ] || awk -F '\t' -v from="$from" 'BEGIN { OFS = "\t" }
    NR > from && NR <= from + 10 { $2 = "直した意味 " $2 } { print }' big.tsv |
    "$vkd" import - --format tsv --name bench -o $name.vkd --force
done

# time_of CMD...: the wall time and the CPU time (user + system) of one run, in seconds.
time_of() {
  local TIMEFORMAT='%3R %3U %3S' t
  t=$({ time "$@" >/dev/null 2>&1; } 2>&1)
  read -r wall user sys <<<"$t"
  echo "$wall $(awk -v a="$user" -v s="$sys" 'BEGIN { print a + s }')"
}

# least A B: the smaller of two times, B empty at first.
least() {
  awk -v a="$1" -v b="$2" 'BEGIN { print (b == "" || a < b) ? a : b }'
}

peak_mib() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%.1f", $1 / 1024 }'
  else
    echo "n/a"
  fi
}

row() {  # row NAME LIMIT BASELINE-NAME -- VKD-COMMAND... -- BASELINE-COMMAND...
  local name=$1 limit=$2 basename=$3
  shift 4
  local cmd=() base=()
  while [ "$1" != "--" ]; do cmd+=("$1"); shift; done
  shift
  base=("$@")
  # The two run in turn, so that a busy moment of the machine falls on both alike; each time
  # is the best of $runs runs. CPU time is the steadier of the two on a busy machine.
  local vw="" vc="" bw="" bc="" w c
  for ((r = 0; r < runs; r++)); do
    read -r w c <<<"$(time_of "${cmd[@]}")"
    vw=$(least "$w" "$vw") vc=$(least "$c" "$vc")
    read -r w c <<<"$(time_of "${base[@]}")"
    bw=$(least "$w" "$bw") bc=$(least "$c" "$bc")
  done
  printf "%-12s %7s %7s %6s | %6s %6s %6s | %-5s %5s %8s\n" "$name" "$vw" "$bw" \
    "$(awk -v a="$vw" -v b="$bw" 'BEGIN { printf "%.2f", a / b }')" "$vc" "$bc" \
    "$(awk -v a="$vc" -v b="$bc" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')" "$basename" "$limit" \
    "$(peak_mib "${cmd[@]}")"
}

ls -l big.vkd big.tsv big.csv big.json | awk '{ print $5, $NF }'
echo "limit: ratio to the baseline; peak_MiB at most 16 (import: 1.5 times big.vkd; diff 2, merge 3)"
printf "%-12s %7s %7s %6s | %6s %6s %6s | %-5s %5s %8s\n" command wall_s base_s ratio \
  cpu_s base_s ratio base limit peak_MiB
row check 1.5 cat -- "$vkd" check big.vkd -- cat big.vkd
row show 1.5 iconv -- "$vkd" show big.vkd -- iconv -c -f CP932 -t UTF-8 big.vkd
for f in tsv csv json; do
  row "export $f" 1.5 iconv -- "$vkd" export big.vkd --format $f -- iconv -c -f CP932 -t UTF-8 big.vkd
done
row search 1.5 cat -- "$vkd" search big.vkd 単語0512 -- cat big.vkd
for f in tsv csv json; do
  # JSON's syntax takes more reading than the others': its limit is 2.5.
  row "import $f" "$([ $f = json ] && echo 2.5 || echo 2)" iconv -- \
    "$vkd" import big.$f --format $f --name bench -o out.vkd --force -- iconv -f UTF-8 -t CP932 big.$f
done
# The same JSON import in Python, which must write the same bytes, and must be slower.
python3 "$here/import.py" big.json bench out-py.vkd
"$vkd" import big.json --name bench -o out.vkd --force 2>/dev/null
cmp out.vkd out-py.vkd || { echo "import.py wrote other bytes than vkd import" >&2; exit 1; }
row "import json" 1 python -- "$vkd" import big.json --name bench -o out.vkd --force \
  -- python3 "$here/import.py" big.json bench out-py.vkd
# diff and merge next to cmp of the same files (which stops at the first difference) followed by
# reading them whole; limits 3 times that, peak memory 2 (diff) and 3 (merge) times big.vkd.
# A merge into a regular file flushes it to the disk before it takes its name, as import does.
row diff 3 cmp+cat -- "$vkd" diff big.vkd ours.vkd -- \
  sh -c 'cmp -s big.vkd ours.vkd; cat big.vkd ours.vkd'
row merge 3 cmp+cat -- "$vkd" merge big.vkd ours.vkd theirs.vkd -o /dev/null -- \
  sh -c 'cmp -s ours.vkd theirs.vkd; cat big.vkd ours.vkd theirs.vkd'
cp ours.vkd mine.vkd
row "merge -o OURS" 3 cmp+cat -- "$vkd" merge big.vkd mine.vkd theirs.vkd -o mine.vkd -- \
  sh -c 'cmp -s ours.vkd theirs.vkd; cat big.vkd ours.vkd theirs.vkd'
