#!/usr/bin/env bash
# Times `cvdr view` on a long record and how fast headless chromium draws the
# page: writes a record of 48 analog channels x 400000 samples
# (make_large_record.py), its page, and prints the page's own timings (ms
# since the browser began loading it): "drawn" when the overview is on
# screen, "parsed" when the record element has been read.
#
#   bench/view_timing.sh [BUILD_FOLDER] [WORK_FOLDER]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
work="${2:-$(mktemp -d)}"
mkdir -p "$work"
python3 "$here/make_large_record.py" "$work/large.xml"
ls -l "$work/large.xml"
/usr/bin/time -f "cvdr view: %e s" "$build/bin/cvdr" view "$work/large.xml" -o "$work/large.html" --force
ls -l "$work/large.html"
rm -rf "$work/profile"
/usr/bin/time -f "chromium, start to exit: %e s" chromium --headless --no-sandbox --disable-gpu --disable-quic \
  --no-first-run --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --dump-dom "file://$work/large.html#timing" 2>&1 |
  grep -o '"timings[^}]*}\|"errors":[^]]*]\|chromium, start to exit.*'
