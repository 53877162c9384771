#!/bin/sh
# `scan --same-content --format report | trash -` on a generated library of
# real files: the space freed against every redundant copy the scan can
# see, every distinct content still outside the trash, and the same run
# killed at several moments and run again.
#
# usage: bench/trash_bench.sh [BUILD_DIR] [WORK_DIR] [COUNT]
#   BUILD_DIR  holds bin/wordlap (default: build)
#   WORK_DIR   for the library, its trash and the reports
#              (default: /tmp/wordlap-trash-bench; emptied first)
#   COUNT      files in the library (default: 20000)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
work=${2:-/tmp/wordlap-trash-bench}
count=${3:-20000}
wordlap=${WORDLAP:-$build/bin/wordlap}
[ -x "$wordlap" ] || { echo "trash_bench: no $wordlap; build first" >&2; exit 2; }
rm -rf "$work"
mkdir -p "$work/home"
export HOME="$work/home" XDG_DATA_HOME="$work/home/data"

# The distinct contents below a folder, and how many bytes repeat them.
contents() {
  python3 - "$1" <<'PY'
import hashlib, os, sys
seen = {}
files = 0
total = 0
for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        path = os.path.join(folder, name)
        if os.path.islink(path):
            continue
        with open(path, "rb") as f:
            data = f.read()
        files += 1
        total += len(data)
        seen.setdefault(hashlib.sha256(data).hexdigest(), len(data))
print(files, total, len(seen), total - sum(seen.values()))
for digest in sorted(seen):
    print(digest)
PY
}

library() {
  rm -rf "$work/lib" "$work/home/data"
  python3 "$here/generate_library.py" "$count" --seed 3 --write "$work/lib" \
    --retagged 0.05 > /dev/null
  (cd "$work" && "$wordlap" scan --quiet --same-content --format report lib \
    > "$work/report")
}

# Every distinct content of the library before is still outside the trash.
check_contents() {
  contents "$work/lib" | tail -n +2 > "$work/after"
  if ! diff -q "$work/before" "$work/after" > /dev/null; then
    echo "trash_bench: contents lost: $(comm -23 "$work/before" "$work/after" | wc -l)" >&2
    exit 1
  fi
}

library
contents "$work/lib" > "$work/facts"
head -1 "$work/facts" | {
  read -r files bytes distinct redundant
  echo "library: $files files, $bytes bytes, $distinct distinct contents," \
       "$redundant bytes in redundant copies"
}
tail -n +2 "$work/facts" > "$work/before"
tail -1 "$work/report"
start=$(date +%s.%N)
(cd "$work" && "$wordlap" trash --quiet "$work/report" > "$work/trash.out") || true
wall=$(echo "$(date +%s.%N) - $start" | bc)
echo "trash: $(tail -1 "$work/trash.out") in $wall s"
check_contents
contents "$work/lib" > "$work/facts"
head -1 "$work/facts" | {
  read -r files bytes distinct redundant
  echo "after: $files files, $bytes bytes, $distinct distinct contents," \
       "$redundant bytes still in copies the scan did not group"
}
# The copies left are those whose names do not match: no pair of files
# with the same bytes left has names that the plug-in calls a match.
python3 - "$work/lib" "$wordlap" <<'PY'
import hashlib, itertools, os, subprocess, sys
by_content = {}
for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            by_content.setdefault(hashlib.sha256(f.read()).digest(), []).append(path)
pairs = matching = 0
for paths in by_content.values():
    for a, b in itertools.combinations(sorted(paths), 2):
        pairs += 1
        if subprocess.run([sys.argv[2], "compare", a, b],
                          stdout=subprocess.DEVNULL).returncode == 0:
            matching += 1
            print("left, though the names match:", a, b)
print(f"left: {pairs} pairs of identical files, {matching} with matching names")
PY
echo "in the trash: $(find "$XDG_DATA_HOME/Trash/files" -type f | wc -l) files," \
     "$(find "$XDG_DATA_HOME/Trash/info" -name '*.trashinfo' | wc -l) .trashinfo"

# Killed after a share of that time, then run again.
for share in 0.1 0.3 0.5 0.7 0.9; do
  library
  delay=$(echo "$wall * $share" | bc)
  (cd "$work" && exec "$wordlap" trash --quiet "$work/report" > /dev/null) &
  pid=$!
  sleep "$delay"
  kill -KILL "$pid" 2> /dev/null || true
  wait "$pid" 2> /dev/null || true
  trashed=$(find "$XDG_DATA_HOME/Trash/files" -type f 2> /dev/null | wc -l)
  check_contents
  status=0
  (cd "$work" && "$wordlap" trash --quiet "$work/report" > "$work/rerun.out") ||
    status=$?
  check_contents
  echo "killed after $delay s ($trashed trashed): rerun exit $status," \
       "$(tail -1 "$work/rerun.out")"
done
