#!/bin/sh
# Times `wordlap scan` on generated music libraries:
#   100,000 names, every matching pair as CSV to a file (target: 5 s wall);
#   1,000,000 names, --format text (targets: 120 s wall, 2 GiB peak memory).
#
# usage: bench/scan_bench.sh [BUILD_DIR] [WORK_DIR]
#   BUILD_DIR  holds bin/wordlap (default: build)
#   WORK_DIR   for the path lists and the outputs (default: /tmp/wordlap-bench)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
work=${2:-/tmp/wordlap-bench}
wordlap=$build/bin/wordlap
[ -x "$wordlap" ] || { echo "scan_bench: no $wordlap; build first" >&2; exit 2; }
mkdir -p "$work"

# Wall time, peak resident memory, then the command's own exit status.
measure() {
  out=$1
  shift
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" > "$out"
    read -r wall kib < "$work/time"
  else
    start=$(date +%s.%N)
    "$@" > "$out"
    wall=$(echo "$(date +%s.%N) - $start" | bc)
    kib=unknown
  fi
}

for count in 100000 1000000; do
  list=$work/library-$count.txt
  [ -s "$list" ] || python3 "$here/generate_library.py" "$count" --seed 1 > "$list"
done

measure "$work/pairs-100k.csv" "$wordlap" scan --quiet --format csv \
  --files-from "$work/library-100000.txt"
pairs=$(($(wc -l < "$work/pairs-100k.csv") - 1))
echo "100,000 names, csv to a file: ${wall} s wall, ${kib} KiB peak, $pairs matching pairs (target 5 s)"

measure "$work/groups-1m.txt" "$wordlap" scan --quiet --format text \
  --files-from "$work/library-1000000.txt"
echo "1,000,000 names, text: ${wall} s wall, ${kib} KiB peak (targets 120 s, 2097152 KiB)"
echo "  $(tail -n 1 "$work/groups-1m.txt")"
