#!/usr/bin/env bash
# Set-up: installs the dependencies, builds the plug-in, cvdr and the Python
# package (Release) in build/, and shows the bundled example record.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
build/bin/cvdr info examples/earth_fault_L1.xml
