#!/bin/sh
# Peak memory and wall time of `wordlap scan` when many files share one name
# (cover.jpg in every album folder), where every pair of them matches:
#   200,000 such files, --format text (targets: 200 MB peak, 5 s wall);
#   20,000 such files, --format csv to /dev/null (target: 100 MB peak).
# The trees are real files, made once in WORK_DIR and kept for later runs.
#
# usage: bench/same_name_bench.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR  holds bin/wordlap (default: build)
#   WORK_DIR   for the trees and the outputs (default: /tmp/wordlap-bench)
set -eu

build=${1:-build}
work=${2:-/tmp/wordlap-bench}
wordlap=$build/bin/wordlap
[ -x "$wordlap" ] || { echo "same_name_bench: no $wordlap; build first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "same_name_bench: needs GNU time (/usr/bin/time, Debian package time)" >&2; exit 2; }
mkdir -p "$work"

# COUNT folders of 1,000 albums each holding one cover.jpg.
make_tree() {
  tree=$1
  count=$2
  [ -f "$tree.complete" ] && return 0
  rm -rf "$tree"
  python3 - "$tree" "$count" <<'PY'
import os, sys
tree, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    folder = os.path.join(tree, "artist %d" % (i // 1000), "album %d" % i)
    os.makedirs(folder)
    open(os.path.join(folder, "cover.jpg"), "w").close()
PY
  touch "$tree.complete"
}

# Runs the command; sets wall (s), peak (KiB) and status.
measure() {
  out=$1
  shift
  status=0
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$out" || status=$?
  read -r wall kib < "$work/time" || true
  wall=${wall#Command exited with non-zero status *}
}

make_tree "$work/covers-200k" 200000
make_tree "$work/covers-20k" 20000
# The targets are of the command, not of the disk: the folders are read once
# beforehand, so that the walk finds them in the page cache.
find "$work/covers-200k" "$work/covers-20k" > /dev/null

measure "$work/covers-200k.txt" "$wordlap" scan --quiet --format text "$work/covers-200k"
echo "200,000 files of one name, text: ${wall} s wall, ${kib} KiB peak, status $status (targets 5 s, 195313 KiB = 200 MB)"
echo "  $(tail -n 1 "$work/covers-200k.txt")"

measure /dev/null "$wordlap" scan --quiet --format csv "$work/covers-20k"
echo "20,000 files of one name, csv to /dev/null: ${wall} s wall, ${kib} KiB peak, status $status (target 97656 KiB = 100 MB)"
