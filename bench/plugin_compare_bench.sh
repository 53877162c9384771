#!/bin/sh
# The cost of one PluginCompare call of the shipped Linux module (trace off):
#   instructions per call under callgrind for the pairs of plugin_pairs.h
#   (targets: typical 2,500, accented 9,000), then the Google Benchmark times
#   of build/bin/plugin_compare_bench.
#
# Instruction counts are exact and do not depend on the load of the machine;
# the times do, so compare times only from runs on an idle machine.
#
# usage: bench/plugin_compare_bench.sh [BUILD_DIR] [--counts-only | BENCHMARK_ARGS...]
#   BUILD_DIR holds bin/Wordlap.so and the bench programs (default: build)
set -eu

build=${1:-build}
[ $# -gt 0 ] && shift
module=$build/bin/Wordlap.so
counter=$build/bin/plugin_compare_count
for program in "$module" "$counter"; do
  [ -e "$program" ] || { echo "plugin_compare_bench: no $program; build first" >&2; exit 2; }
done
command -v valgrind >/dev/null || { echo "plugin_compare_bench: valgrind is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Instructions executed inside PluginCompare during `calls` calls.
instructions() {
  valgrind --tool=callgrind --toggle-collect=PluginCompare \
    --callgrind-out-file="$work/out" "$counter" "$module" "$1" "$2" \
    >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
  awk '/^(summary|totals):/ { print $2; exit }' "$work/out"
}

# The difference between two runs leaves out what only the first call does
# (loading ICU's data, binding symbols).
few=100
many=1100
echo "PluginCompare, instructions per call (callgrind, trace off):"
for pair_and_target in typical:2500 short: accented:9000; do
  pair=${pair_and_target%%:*}
  target=${pair_and_target#*:}
  low=$(instructions "$pair" $few)
  high=$(instructions "$pair" $many)
  per_call=$(( (high - low) / (many - few) ))
  printf '  %-9s %6d%s\n' "$pair" "$per_call" "${target:+ (target $target)}"
done

[ "${1:-}" = "--counts-only" ] && exit 0
echo
exec "$build/bin/plugin_compare_bench" "$@"
