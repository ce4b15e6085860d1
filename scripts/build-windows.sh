#!/usr/bin/env bash
# The 32-bit Windows cross build on Debian 12:
#  - installs the MinGW-w64 toolchain, MinGW zlib and, unless --no-test-tools,
#    wine (32-bit), clang, lld and llvm for running and checking the results;
#  - fetches Debian's own pugixml and zlib source packages (minizip is zlib's
#    contrib/minizip) and builds them as static MinGW libraries, together with
#    GoogleTest from /usr/src/googletest, into build-windows/deps;
#  - configures build-windows/ itself as the CMake build folder and builds the
#    plug-in build-windows/bin/dr_mvq4.dll with the unit tests and the corpus
#    replays (ctest --test-dir build-windows runs them under wine).
# Every step is skipped when its result is already there; the last one builds
# incrementally. Needs root or sudo for the package steps only.
#
#   scripts/build-windows.sh [--no-test-tools]
#
# Environment: DR_WINDOWS_DIR (default build-windows in the repository).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
test_tools=1
for arg in "$@"; do
  case "$arg" in
    --no-test-tools) test_tools=0 ;;
    *) echo "usage: $0 [--no-test-tools]" >&2; exit 2 ;;
  esac
done

work="${DR_WINDOWS_DIR:-$root/build-windows}"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
src="$work/src"
deps="$work/deps"
objs="$work/deps-build"
toolchain="$root/cmake/toolchain-mingw-i686.cmake"
triplet=i686-w64-mingw32
export DR_WINDOWS_DEPS="$deps"
jobs=2  # CI machines are shared

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

step_start=0
step() { step_start=$SECONDS; echo "build-windows: $*"; }
step_done() { echo "build-windows:   done in $((SECONDS - step_start)) s"; }

# --- packages -----------------------------------------------------------------

packages=(
  g++-mingw-w64-i686-posix libz-mingw-w64-dev
  dpkg-dev cmake ninja-build pkg-config googletest
)
[ "$test_tools" -eq 0 ] || packages+=(wine wine32 wine64 clang lld llvm)

codename="$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)"
codename="${codename:-bookworm}"
deb_src_base=/etc/apt/sources.list.d/dr-mvq4-deb-src
apt_changed=0

if [ "$test_tools" -eq 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  step "adding the i386 architecture for wine32"
  $sudo dpkg --add-architecture i386
  apt_changed=1
  step_done
fi

# Source entries for the same archives and suites as the binary ones; other
# vendors' repositories are left out. deb822 stanzas and one-line entries go to
# a .sources and a .list file of our own.
deb822_src_entries() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    if [ ! -f "$f" ] || [ "$f" = "$deb_src_base.sources" ]; then continue; fi
    awk -v codename="$codename" '
      function flush() {
        if (is_deb && ours && suite_ok) { print stanza; print "" }
        stanza = ""; is_deb = 0; ours = 0; suite_ok = 0
      }
      /^[[:space:]]*$/ { flush(); next }
      /^#/ { next }
      /^Types:/ { if ($0 ~ /[[:space:]]deb([[:space:]]|$)/) is_deb = 1; $0 = "Types: deb-src" }
      /^URIs:/ && /debian/ { ours = 1 }
      /^Signed-By:/ && /debian-archive-keyring/ { ours = 1 }
      /^Suites:/ && index($0, codename) { suite_ok = 1 }
      { stanza = stanza (stanza == "" ? "" : "\n") $0 }
      END { flush() }
    ' "$f"
  done
}
one_line_src_entries() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ ! -f "$f" ] || [ "$f" = "$deb_src_base.list" ]; then continue; fi
    sed -n "/^deb[[:space:]].*debian.*$codename/s/^deb/deb-src/p" "$f"
  done
}

if [ ! -e "$deb_src_base.sources" ] && [ ! -e "$deb_src_base.list" ] &&
   ! apt-cache showsrc pugixml 2>/dev/null | grep -q '^Package: pugixml'; then
  step "adding deb-src entries for the Debian archives"
  deb822="$(deb822_src_entries)"
  one_line="$(one_line_src_entries)"
  if [ -z "$deb822$one_line" ]; then
    echo "build-windows: found no Debian entries in /etc/apt to mirror as deb-src" >&2
    exit 1
  fi
  [ -z "$deb822" ] || printf '%s\n' "$deb822" | $sudo tee "$deb_src_base.sources"
  [ -z "$one_line" ] || printf '%s\n' "$one_line" | $sudo tee "$deb_src_base.list"
  apt_changed=1
  step_done
fi

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ "$apt_changed" -eq 1 ] || [ "${#missing[@]}" -gt 0 ]; then
  step "apt-get update"
  $sudo apt-get update -qq
  step_done
fi
if [ "${#missing[@]}" -gt 0 ]; then
  step "installing ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  step_done
fi

# --- sources ------------------------------------------------------------------

mkdir -p "$src" "$deps" "$objs"
source_dir() { find "$src" -mindepth 1 -maxdepth 1 -type d -name "$1-*" | sort | tail -n 1; }

# The newest version first (for zlib that is bookworm-security's, whose minizip
# has a fix); some mirrors carry no sources for the security suite, then the
# release's own version is taken.
fetch_source() {
  local package="$1" fetch="$src/.fetch"
  rm -rf "$fetch" && mkdir -p "$fetch"
  if ! (cd "$fetch" && apt-get source -qq "$package"); then
    echo "build-windows: WARNING: no source of the newest $package, taking $package/$codename" >&2
    rm -rf "$fetch" && mkdir -p "$fetch"
    (cd "$fetch" && apt-get source -qq "$package/$codename")
  fi
  mv "$fetch"/* "$src"/
  rmdir "$fetch"
}
for package in pugixml zlib; do
  if [ -z "$(source_dir "$package")" ]; then
    step "apt-get source $package"
    fetch_source "$package"
    step_done
  fi
done
pugixml_src="$(source_dir pugixml)"
minizip_src="$(source_dir zlib)/contrib/minizip"

# --- pugixml ------------------------------------------------------------------

if [ ! -f "$deps/lib/libpugixml.a" ]; then
  step "building pugixml from $(basename "$pugixml_src")"
  cmake -S "$pugixml_src" -B "$objs/pugixml" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
    -DPUGIXML_BUILD_TESTS=OFF >/dev/null
  cmake --build "$objs/pugixml" -j"$jobs"
  cmake --install "$objs/pugixml" >/dev/null
  step_done
fi

# --- minizip ------------------------------------------------------------------
# The same sources as Debian's libminizip, with iowin32 for wide-character paths;
# headers under include/minizip and a minizip.pc, as libminizip-dev lays them out.
# The .pc names zlib in Libs, not Libs.private: CMake's pkg-config targets know no
# static linking, and without it a static minizip lands after zlib on the link
# line. libz.a is linked into deps/lib so that -lz finds the MinGW package's
# static archive there rather than its import library for zlib1.dll.

if [ ! -f "$deps/lib/libminizip.a" ]; then
  step "building minizip from $(basename "$(dirname "$(dirname "$minizip_src")")")"
  rm -rf "$objs/minizip"
  mkdir -p "$objs/minizip" "$deps/include/minizip" "$deps/lib/pkgconfig"
  objects=()
  for name in ioapi unzip zip iowin32; do
    $triplet-gcc-posix -O2 -c "$minizip_src/$name.c" -o "$objs/minizip/$name.o"
    objects+=("$objs/minizip/$name.o")
  done
  ln -sf "/usr/$triplet/lib/libz.a" "$deps/lib/libz.a"
  rm -f "$deps/lib/libminizip.a"
  $triplet-ar rcs "$deps/lib/libminizip.a" "${objects[@]}"
  cp "$minizip_src"/{ioapi,unzip,zip,iowin32,crypt}.h "$deps/include/minizip/"
  zlib_version="$(sed -n 's/^#define ZLIB_VERSION "\(.*\)"/\1/p' "$minizip_src/../../zlib.h")"
  cat >"$deps/lib/pkgconfig/minizip.pc" <<EOF
prefix=$deps
libdir=\${prefix}/lib
includedir=\${prefix}/include/minizip

Name: minizip
Description: Minizip zip file manipulation library (static, MinGW)
Version: $zlib_version
Libs: -L\${libdir} -lminizip -lz
Cflags: -I\${includedir}
EOF
  step_done
fi

# --- GoogleTest -----------------------------------------------------------------

if [ ! -f "$deps/lib/libgtest.a" ]; then
  step "building GoogleTest from /usr/src/googletest"
  cmake -S /usr/src/googletest -B "$objs/googletest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF \
    -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON >/dev/null
  cmake --build "$objs/googletest" -j"$jobs"
  cmake --install "$objs/googletest" >/dev/null
  step_done
fi

echo "build-windows: dependencies ready in $deps"

# --- the plug-in ----------------------------------------------------------------
# Without wine the tests could not run: --no-test-tools builds the DLL alone.

tests=ON
[ "$test_tools" -eq 1 ] || tests=OFF
step "configuring $work"
cmake -S "$root" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DDR_MVQ4_BUILD_TESTS="$tests" >/dev/null
step_done
step "building"
cmake --build "$work" -j"$jobs"
step_done
echo "build-windows: $work/bin/dr_mvq4.dll"
