#!/usr/bin/env bash
# The test command: builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-test/ and runs the whole suite; then
# builds the 32-bit Windows DLL in build-windows/ and runs its unit tests,
# corpus replays and export check under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DDR_MVQ4_SANITIZE=ON
cmake --build build-test -j"$(nproc)"
# The bundled examples must be what their generator writes today.
rm -rf build-test/examples && mkdir -p build-test/examples
build-test/bin/make_examples build-test/examples
for generated in $(cd build-test/examples && find . -type f); do
  cmp "examples/$generated" "build-test/examples/$generated"
done
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
ctest --test-dir build-test --output-on-failure -j"$(nproc)"

bash scripts/build-windows.sh
ctest --test-dir build-windows --output-on-failure -j1
# The DLL as the viewer calls it: a host built as the viewer is built reads
# the examples and fixture records and must read what cvdr reads here.
bash tests/win32host/run.sh build-test build-windows
