#!/usr/bin/env bash
# Builds one libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/ and runs it for a while:
#   bash fuzz/run.sh TARGET SECONDS
# The run starts from a copy of fuzz/corpus/TARGET and fuzz/regressions/TARGET
# in a scratch folder (the checked-in corpus is left alone), uses
# fuzz/dict/TARGET.dict when there is one, and leaves the grown corpus and any
# crash, hang or memory artifact in that folder. Builds wait for the build
# lock ($DR_BUILD_LOCK, /tmp/dr_build.lock); the run itself is niced.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
lock=${DR_BUILD_LOCK:-/tmp/dr_build.lock}
if ! command -v clang++ >/dev/null; then
  echo "run.sh: clang++ not found (Debian packages clang and libclang-rt-dev)" >&2
  exit 2
fi

# DR_MVQ4_FUZZ_PREBUILT=1 runs what build-fuzz/ holds, for runs one after the other.
if [ "${DR_MVQ4_FUZZ_PREBUILT:-0}" != 1 ]; then
  flock "$lock" cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DDR_MVQ4_BUILD_FUZZ=ON \
    -DDR_MVQ4_BUILD_TESTS=OFF -DDR_MVQ4_BUILD_TOOLS=OFF >/dev/null
  flock "$lock" cmake --build build-fuzz -j2 --target "fuzz_$target"
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/dr_mvq4-fuzz-$target.XXXXXX")
mkdir -p "$scratch/corpus" "$scratch/artifacts"
for seeds in "fuzz/corpus/$target" "fuzz/regressions/$target"; do
  if [ -d "$seeds" ]; then find "$seeds" -type f -exec cp -t "$scratch/corpus" {} +; fi
done
options=(-max_total_time="$seconds" -timeout=5 -rss_limit_mb=1536 -print_final_stats=1
         -artifact_prefix="$scratch/artifacts/")
if [ -f "fuzz/dict/$target.dict" ]; then options+=(-dict="fuzz/dict/$target.dict"); fi

status=0
DR_MVQ4_REGISTRY=/nonexistent TZ=UTC nice -n 19 "build-fuzz/bin/fuzz_$target" "${options[@]}" \
  "$scratch/corpus" >"$scratch/log" 2>&1 || status=$?

# The summary: the last status line and the final statistics.
grep -E '^#[0-9]+' "$scratch/log" | tail -n 1 || true
grep -E '^stat::' "$scratch/log" || true
final=$(grep -E '^#[0-9]+.*cov: ' "$scratch/log" | tail -n 1 || true)
echo "target:     $target"
echo "seconds:    $seconds"
echo "executions: $(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/log")"
echo "coverage:   cov $(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$final") ft $(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$final")"
echo "corpus:     $(find "$scratch/corpus" -type f | wc -l) inputs"
echo "artifacts:  $(find "$scratch/artifacts" -type f | wc -l)"
find "$scratch/artifacts" -type f -exec echo "  {}" \;
echo "log:        $scratch/log"
echo "exit:       $status"
exit "$status"
