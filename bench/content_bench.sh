#!/bin/sh
# `wordlap scan --same-content` on a generated music library of real files,
# beside jdupes -r on the same tree:
#   - the share of the reported pairs whose files are byte-identical (target
#     100 %), checked here with Python's own hash and byte comparison;
#   - the share of the byte-identical name-matching pairs that it reports
#     (target 100 %), the name-matching pairs being those of a scan without
#     criteria;
#   - the wall times of both (the best of three runs, the files in the page
#     cache); the scan hashes only the candidates, so it should not be
#     slower.
#
# usage: bench/content_bench.sh [BUILD_DIR] [WORK_DIR] [COUNT]
#   BUILD_DIR  holds bin/wordlap (default: build)
#   WORK_DIR   for the library and the outputs (default: /tmp/wordlap-content)
#   COUNT      music files in the library (default: 20000); each album folder
#              also gets a cover.jpg and a folder.jpg of its own, and a tenth
#              of the renamed copies differ from their original in the last
#              bytes only (same size)
set -eu

here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build}
work=${2:-/tmp/wordlap-content}
count=${3:-20000}
wordlap=$build/bin/wordlap
[ -x "$wordlap" ] || { echo "content_bench: no $wordlap; build first" >&2; exit 2; }
command -v jdupes > /dev/null || { echo "content_bench: jdupes is missing (tools/setup-debian)" >&2; exit 2; }
library=$work/library-$count
mkdir -p "$work"
if [ ! -d "$library" ]; then
  python3 "$here/generate_library.py" "$count" --seed 1 --write "$library" \
    --covers --retagged 0.1 > "$work/library-$count.txt"
fi
files=$(find "$library" -type f | wc -l)

"$wordlap" scan --quiet --format json "$library" > "$work/name-pairs.json"
"$wordlap" scan --quiet --same-content --format json "$library" > "$work/content-pairs.json"
python3 - "$work/name-pairs.json" "$work/content-pairs.json" <<'PY'
import base64, filecmp, hashlib, json, sys

def path(pair, key):
    b = pair.get(key + "_base64")
    return base64.b64decode(b) if b else pair[key].encode()

def pairs(name):
    with open(name, encoding="utf-8") as lines:
        for line in lines:
            p = json.loads(line)
            yield path(p, "path_a"), path(p, "path_b")

digests = {}
def digest(p):
    if p not in digests:
        with open(p, "rb") as f:
            digests[p] = hashlib.sha256(f.read()).digest()
    return digests[p]

def identical(a, b):
    return digest(a) == digest(b) and filecmp.cmp(a, b, shallow=False)

name_pairs = list(pairs(sys.argv[1]))
truth = {(a, b) for a, b in name_pairs if identical(a, b)}
reported = list(pairs(sys.argv[2]))
good = sum(1 for a, b in reported if identical(a, b))
found = sum(1 for pair in reported if pair in truth)
print("name-matching pairs: %d, of them byte-identical: %d" % (len(name_pairs), len(truth)))
print("--same-content pairs: %d; byte-identical: %d (precision %.1f %%); "
      "byte-identical name pairs found: %d of %d (recall %.1f %%)" % (
          len(reported), good, 100.0 * good / max(1, len(reported)),
          found, len(truth), 100.0 * found / max(1, len(truth))))
PY

# The best of three wall times, after one run that fills the page cache.
best() {
  "$@" > /dev/null 2>&1 || true
  best_time=
  for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$@" > "$work/out" 2> /dev/null || true
    t=$(echo "$(date +%s.%N) - $start" | bc)
    if [ -z "$best_time" ] || [ "$(echo "$t < $best_time" | bc)" = 1 ]; then
      best_time=$t
    fi
  done
}
best "$wordlap" scan --quiet --same-content "$library"
scan_time=$best_time
summary=$(tail -n 1 "$work/out")
best jdupes -r -q "$library"
jdupes_time=$best_time
jdupes_sets=$(grep -c '^$' "$work/out" || true)
echo "$files files, $(du -sh "$library" | cut -f1)"
printf 'wordlap scan --same-content: %.3f s  (%s)\n' "$scan_time" "$summary"
printf 'jdupes -r:                   %.3f s  (%s sets of identical files, names not compared)\n' \
  "$jdupes_time" "$jdupes_sets"
