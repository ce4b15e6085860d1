#!/usr/bin/env bash
# End-to-end test of the Windows DLL as the viewer calls it: builds
# msvc_host with clang for the MSVC target, loads the bundled examples and
# the fixture records of the fuzz corpora through dr_mvq4.dll under wine, and
# compares what it reads with `cvdr dump --json` of the Linux build, field by
# field, with and without user settings in the registry; and checks that
# names which are no record files (devices, pipes, a FIFO) are refused.
#
#   tests/win32host/run.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
linux=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
work="$windows/msvc_host"
mkdir -p "$work"

# The host, freestanding: no C++ library, kernel32 only.
llvm-dlltool -m i386 -k -d "$root/tests/win32host/kernel32.def" -l "$work/kernel32.lib"
clang++ --target=i686-pc-windows-msvc -std=c++17 -O1 -ffreestanding -fno-exceptions -fno-rtti \
  -fno-stack-protector -fno-builtin -Wall -Wextra -Werror \
  -c "$root/tests/win32host/MsvcHost.cpp" -o "$work/msvc_host.obj"
lld-link /nologo /subsystem:console /entry:mainCRTStartup /nodefaultlib /machine:x86 \
  "$work/msvc_host.obj" "$work/kernel32.lib" "/out:$work/msvc_host.exe"

export WINEPREFIX="$windows/wineprefix" WINEDEBUG=-all TZ=UTC
mkdir -p "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
(wineserver -p && wine cmd /c exit) </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
settings_key='HKCU\Software\Pelvar\Tracedesk\Scopora\Settings'

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

failures=0
# check NAME RECORD LANGUAGE OPTIONS_LINUX OPTIONS_WINDOWS [REG_FILE]
check() {
  local name=$1 record=$2 language=$3 linux_options=$4 windows_options=$5 registry=${6:-}
  local expected="$work/$name.cvdr.json" actual="$work/$name.host.json"
  wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
  if [ -n "$registry" ]; then wine regedit /S "$(windows_path "$registry")" >/dev/null 2>&1; fi
  local linux_status=0 host_status=0
  DR_MVQ4_REGISTRY="${registry:-/nonexistent.reg}" "$linux/bin/cvdr" --plugin "$linux/bin/libdr_mvq4.so" \
    dump "$record" --json --lang "$language" --options "$linux_options" >"$expected" 2>/dev/null || linux_status=$?
  wine "$work/msvc_host.exe" "$(windows_path "$windows/bin/dr_mvq4.dll")" "$(windows_path "$record")" \
    "$language" "$windows_options" >"$actual" 2>/dev/null || host_status=$?
  if [ "$linux_status" -ne 0 ] || [ "$host_status" -ne 0 ]; then
    # A record that does not load must fail in both, leaving the out-parameter alone.
    if [ "$linux_status" -eq 1 ] && [ "$host_status" -eq 1 ] && grep -qx 'load failed' "$actual"; then
      echo "PASS $name (not loaded by either)"
    else
      echo "FAIL $name: cvdr status $linux_status, host status $host_status: $(head -c 200 "$actual")"
      failures=$((failures + 1))
    fi
  elif python3 "$root/tests/win32host/compare_dump.py" "$actual" "$expected" \
      "$(windows_path "$record")" "$record"; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}

examples="$root/examples"
models="$examples/models/"
check example_eng "$examples/earth_fault_L1.xml" ENG "" ""
check example_models_deu "$examples/earth_fault_L1.xml" deu \
  "-DeviceModelFolder:$models" "-DeviceModelFolder:Z:$models"
check container_deu "$examples/earth_fault_L1.zip" DEU "" ""
check container_fallback "$examples/earth_fault_L1.zip" FRA "" ""
registry="$work/settings.reg"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Pelvar\\Tracedesk\\Scopora\\Settings]\r\n"reserve"="YES"\r\n"scale"="NO"\r\n"fullname"="YES"\r\n' >"$registry"
check example_settings "$examples/earth_fault_L1.xml" ENG "" "" "$registry"
check container_settings "$examples/earth_fault_L1.zip" DEU "" "" "$registry"
for record in "$root"/fuzz/corpus/record_xml/* "$root"/fuzz/corpus/container/*; do
  check "corpus_$(basename "$record")" "$record" ENG "" ""
done

# Names that are no record files: devices, pipes, a FIFO, a folder. Each is
# refused at once; none is opened to block or read without end.
fifo="$work/record.fifo"
rm -f "$fifo" && mkfifo "$fifo"
for path in CON NUL COM1 '\\.\NUL' '\\.\pipe\dr_mvq4_nobody' 'Z:\dev\zero' "$(windows_path "$fifo")" \
    "$(windows_path "$work")"; do
  status=0
  timeout 60 wine "$work/msvc_host.exe" "$(windows_path "$windows/bin/dr_mvq4.dll")" "$path" ENG "" \
    >"$work/special.txt" 2>/dev/null </dev/null || status=$?
  if [ "$status" -eq 1 ] && grep -qx 'load failed' "$work/special.txt"; then
    echo "PASS refused $path"
  else
    echo "FAIL $path: host status $status (124: it hung)"
    failures=$((failures + 1))
  fi
done
rm -f "$fifo"

if [ "$failures" -ne 0 ]; then
  echo "msvc_host: $failures of the checks failed"
  exit 1
fi
