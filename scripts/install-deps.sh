#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with (chromium:
# the browser the tests of `cvdr view` open its pages in). Needs root (or sudo).
set -euo pipefail
packages=(
  build-essential cmake pkg-config binutils
  libpugixml-dev zlib1g-dev libminizip-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libfmt-dev libcairo2-dev
  pybind11-dev python3-pybind11 python3-dev python3-numpy python3-pandas python3-pytest
  libjs-dygraphs chromium
)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-deps: all packages present"
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
