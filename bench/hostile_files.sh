#!/usr/bin/env bash
# The hostile-file benchmark: what each hostile file costs `cvdr info` (the
# plug-in's load, then cvdr's own look at the language), in wall time and
# peak resident set, and how it ends. Not a test: run it by hand.
#
#   bash bench/hostile_files.sh
#
# Builds what it needs in build-bench/ (Release), writes the files once to
# build-bench/hostile-files/ (make_hostile_files, the tests' fixture writers;
# FIFOs made here), runs `cvdr info` on each under `timeout 10` and prints a
# table: case, wall time, peak RSS, outcome (loaded; refused with cvdr's
# reason; "hung" when the timeout ended it). Every case should end in under
# 5 s and under 1.5 GB.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
files=$build/hostile-files

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DDR_MVQ4_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target dr_mvq4 cvdr make_hostile_files >/dev/null
if [ ! -f "$files/settings/record.xml" ] || [ ! -f "$files/tag_bomb.xml" ]; then
  echo "writing the files to $files" >&2
  "$build/bin/make_hostile_files" "$files"
fi
for fifo in record_fifo.xml registry.fifo language_fifo/models/CVR87_V04.10.02.dm_L_ENG; do
  [ -p "$files/$fifo" ] || mkfifo "$files/$fifo"
done

cvdr=$build/bin/cvdr
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export DR_MVQ4_REGISTRY=/nonexistent   # no user settings unless a case sets them

# run CASE [ENV=VALUE...] -- CVDR-ARGUMENTS...
run() {
  local name=$1; shift
  local env=()
  while [ "$1" != "--" ]; do env+=("$1"); shift; done
  shift
  local status=0
  env "${env[@]}" /usr/bin/time -o "$out/time" -f "%e %M" timeout 10 "$cvdr" info "$@" \
    >/dev/null 2>"$out/err" </dev/null || status=$?
  local outcome
  case $status in
    0) outcome="loaded" ;;
    124) outcome="hung (stopped after 10 s)" ;;
    *) outcome="refused: $(grep -m1 '^cvdr:' "$out/err" | sed 's/^cvdr: [^:]*: //' || true)" ;;
  esac
  read -r seconds kib < <(tail -n 1 "$out/time")
  printf '| %-24s | %7.2f s | %8.0f MB | %s\n' "$name" "$seconds" "$((kib / 1024))" "$outcome"
}

printf '| %-24s | %9s | %11s | %s\n' case "wall" "peak RSS" outcome
run gap_bomb -- "$files/gap_bomb.xml"
run digital_declared -- "$files/digital_declared.xml"
run logical_declared -- "$files/logical_declared.xml"
run huge_device_name -- "$files/huge_name.xml"
run tag_bomb -- "$files/tag_bomb.xml"
run zip_bomb -- "$files/zip_bomb.zip"
run three_on_one_header -- "$files/three_on_one_header.zip"
run forty_on_one_header -- "$files/forty_on_one_header.zip"
run overlapping_data -- "$files/overlapping_data.zip"
run device_container_bomb -- "$files/device_bomb/record.xml" --models "$files/device_bomb/models"
run record_fifo -- "$files/record_fifo.xml"
run registry_fifo DR_MVQ4_REGISTRY="$files/registry.fifo" -- "$files/device_bomb/record.xml"
run language_fifo -- "$files/language_fifo/record.xml" --models "$files/language_fifo/models"
run settings_40MB_1000_channels DR_MVQ4_REGISTRY="$files/settings/settings.reg" -- "$files/settings/record.xml"
