#!/usr/bin/env bash
# Compares the converter's speed in two builds of the toolset, run in turns
# in one session so that both see the same machine:
#
#   bench/convert/compare_builds.sh <old build dir> <new build dir> [runs]
#
# Both build folders are configured with -DTOOLSET_BENCH=ON and hold
# bin/voconv, bin/mid2trk, bench/samples/samples_bench and
# bench/convert/convert_bench (build just those targets). Each of the `runs`
# rounds (default 5) takes every measure of both builds back to back, in
# turns (old first in odd rounds, new first in even ones):
#
#   coding    the Nintendo 64 adaptive coding of 60 s of audio
#             (samples_bench, BM_AdaptiveCoding60s), per iteration
#   scripts   four export scripts of 4,000 objects of every kind read and
#             merged (convert_bench, BM_ReadFourExportScripts), per iteration
#   voconv    the program itself on the example project, 10 times each:
#             -t N64 with four export scripts, -t GB and -t AGB
#
# It prints every round and then, per measure and build, the median of the
# CPU time (user + system: the benchmarks' cpu_time, the shell's user + sys
# for voconv) and of the wall time, with the ratio new / old. On a shared
# machine the CPU time is the steadier figure. Where valgrind is installed it
# also counts, once per build, the instructions that one read of the four
# scripts runs in user space (readExportScript under callgrind): a count that
# does not depend on the machine's load, though it leaves out the kernel's
# share (opening and reading the keymap and layer files).
set -euo pipefail
old="$(cd "$1" && pwd)"
new="$(cd "$2" && pwd)"
runs="${3:-5}"
examples="$(cd "$(dirname "$0")/../../examples/project" && pwd)"
work="$(mktemp -d "${TMPDIR:-/tmp}/compare-builds.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"  # the benchmarks' own folders go there too

# bench <build> <program> <filter> <min seconds>: "cpu wall" in ms per iteration.
bench() {
  "$1/bench/$2" --benchmark_filter="$3" --benchmark_min_time="$4" --benchmark_format=json 2>/dev/null |
    jq -r '.benchmarks[0] | "\(.cpu_time) \(.real_time)"'
}

# programRuns <build>: "cpu wall" in ms for 10 rounds of three voconv runs.
programRuns() {
  local bin="$1/bin" out="$work/out"
  rm -rf "$out"
  mkdir "$out"
  local TIMEFORMAT='%3U %3S %3R'
  local t
  t=$( { time (cd "$out" && for _ in 1 2 3 4 5 6 7 8 9 10; do
      "$bin/voconv" -t N64 -p "$examples" music.txt effects.txt handheld-gb.txt handheld-agb.txt \
        "$examples/description.txt"
      "$bin/voconv" -t GB -p "$examples" handheld-gb.txt "$examples/description.txt"
      "$bin/voconv" -t AGB -p "$examples" handheld-agb.txt "$examples/description.txt"
    done > /dev/null 2>&1) ; } 2>&1)
  awk '{ printf "%.1f %.1f\n", ($1 + $2) * 1000, $3 * 1000 }' <<< "$t"
}

# measure <round>: each measure of both builds back to back, the old build
# first in odd rounds and the new one first in even rounds, so that a change
# in the machine's load falls on both alike.
measure() {
  local order=(old new)
  [ $(($1 % 2)) -eq 0 ] && order=(new old)
  local b build
  for b in "${order[@]}"; do
    build="$old"; [ "$b" = new ] && build="$new"
    printf '%s coding %s\n' "$b" "$(bench "$build" samples/samples_bench '^BM_AdaptiveCoding60s$' 1)"
  done
  for b in "${order[@]}"; do
    build="$old"; [ "$b" = new ] && build="$new"
    printf '%s scripts %s\n' "$b" "$(bench "$build" convert/convert_bench '^BM_ReadFourExportScripts$' 2)"
  done
  for b in "${order[@]}"; do
    build="$old"; [ "$b" = new ] && build="$new"
    printf '%s voconv %s\n' "$b" "$(programRuns "$build")"
  done
}

for round in $(seq 1 "$runs"); do
  measure "$round"
done | tee "$work/rounds" | sed 's/^/round: /'

echo "measure   build  cpu ms (median)  wall ms (median)"
for m in coding scripts voconv; do
  for b in old new; do
    awk -v m="$m" -v b="$b" '$1 == b && $2 == m { print $3, $4 }' "$work/rounds" > "$work/$m.$b"
  done
  python3 - "$m" "$work/$m.old" "$work/$m.new" << 'EOF'
import statistics, sys
name, old, new = sys.argv[1], *(open(p).read().split("\n") for p in sys.argv[2:])
median = lambda rows, i: statistics.median(float(r.split()[i]) for r in rows if r)
for build, rows in (("old", old), ("new", new)):
    print(f"{name:9} {build:6} {median(rows, 0):15.1f}  {median(rows, 1):16.1f}")
print(f"{name:9} ratio  {median(new, 0) / median(old, 0):15.3f}  {median(new, 1) / median(old, 1):16.3f}")
EOF
done

if command -v valgrind > /dev/null; then
  for b in old new; do
    build="$old"; [ "$b" = new ] && build="$new"
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.$b" --toggle-collect='voconv::readExportScript(*' \
      "$build/bench/convert/convert_bench" --benchmark_min_time=0 > /dev/null 2> "$work/callgrind.$b.log"
    rm -rf "$work"/convert-bench-*
    printf 'scripts instructions %s %s\n' "$b" "$(sed -n 's/.*Collected : //p' "$work/callgrind.$b.log")"
  done
fi
