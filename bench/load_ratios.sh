#!/usr/bin/env bash
# The load benchmark: how close a load comes to the least any decoder must
# do, and how much memory it needs, on a 100 MB record (make_load_records).
#
#   bash bench/load_ratios.sh [ROUNDS]      (default 5 rounds)
#
# Builds what it needs in build-bench/ (Release), writes the records once to
# build-bench/load-records/, then runs ROUNDS interleaved rounds of: the plain
# floor, `cvdr info` of the plain record, the container floor, `cvdr info` of
# the container, `cvdr export --to comtrade --data binary` and
# `cvdr export --to csv` of the plain record. Each figure is the median over
# the rounds of wall time (or peak resident set) of the whole process.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
build=build-bench
records=$build/load-records

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDR_MVQ4_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target dr_mvq4 cvdr make_load_records plain_floor container_floor run_timed \
  >/dev/null
if [ ! -f "$records/load_plain.xml" ] || [ ! -f "$records/load_container.zip" ]; then
  echo "writing the records to $records (takes a minute)" >&2
  "$build/bin/make_load_records" "$records"
fi

bin=$build/bin
cvdr=${CVDR:-$bin/cvdr}   # CVDR=PATH times another cvdr (and the plug-in beside it)
plain=$records/load_plain.xml
container=$records/load_container.zip
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
times=$out/times
mkdir "$times"
export DR_MVQ4_REGISTRY=/nonexistent   # no user settings

names=(plain_floor plain_load container_floor container_load comtrade csv)
commands=(
  "$bin/plain_floor $plain"
  "$cvdr info $plain"
  "$bin/container_floor $container"
  "$cvdr info $container"
  "$cvdr export $plain --to comtrade --data binary -o $out/comtrade"
  "$cvdr export $plain --to csv -o $out/csv"
)
for ((round = 1; round <= rounds; ++round)); do
  for i in "${!names[@]}"; do
    rm -rf "$out/comtrade" "$out/csv"
    # shellcheck disable=SC2086
    "$bin/run_timed" ${commands[$i]} >>"$times/${names[$i]}"
  done
  echo "round $round of $rounds done" >&2
done

# median FILE COLUMN
median() { cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
declare -A seconds kib
for name in "${names[@]}"; do
  seconds[$name]=$(median "$times/$name" 1)
  kib[$name]=$(median "$times/$name" 2)
done
xml_bytes=$(stat -c %s "$plain")

awk -v pf="${seconds[plain_floor]}" -v pl="${seconds[plain_load]}" \
    -v cf="${seconds[container_floor]}" -v cl="${seconds[container_load]}" \
    -v ct="${seconds[comtrade]}" -v csv="${seconds[csv]}" \
    -v pr="${kib[plain_load]}" -v cr="${kib[container_load]}" -v xml="$xml_bytes" -v rounds="$rounds" '
function row(figure, value, goal, detail) { printf "| %-52s | %5.2f | %-6s | %s\n", figure, value, goal, detail }
BEGIN {
  printf "record XML: %.1f MB; medians of %d interleaved rounds\n\n", xml / 1e6, rounds
  printf "| %-52s | %5s | %-6s | %s\n", "figure", "ratio", "goal", "medians"
  row("plain load (cvdr info) / plain floor", pl / pf, "<= 1.3", sprintf("%.3f s / %.3f s", pl, pf))
  row("container load / container floor", cl / cf, "<= 1.3", sprintf("%.3f s / %.3f s", cl, cf))
  row("peak RSS / record XML size, plain", pr * 1024 / xml, "<= 3.0", sprintf("%.1f MB", pr * 1024 / 1e6))
  row("peak RSS / record XML size, container", cr * 1024 / xml, "<= 3.5", sprintf("%.1f MB", cr * 1024 / 1e6))
  row("export --to comtrade --data binary / plain load", ct / pl, "<= 1.4", sprintf("%.3f s", ct))
  row("export --to csv / plain load", csv / pl, "<= 2.0", sprintf("%.3f s", csv))
}'
