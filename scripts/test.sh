#!/usr/bin/env bash
# The test command: builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-test/ and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DDR_MVQ4_SANITIZE=ON
cmake --build build-test -j"$(nproc)"
# The bundled example must be what its generator writes today.
build-test/bin/make_examples build-test
cmp examples/earth_fault_L1.xml build-test/earth_fault_L1.xml
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
