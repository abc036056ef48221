#!/usr/bin/env bash
# Makes each thread start of a whole mirvane-sheet run fail in turn, Qt's own included: every
# run must end, with 0 and a complete PNG or with 1 and no file, never hang or abort.
#   thread_start_failures.sh MIRVANE_SHEET SHIM_LIBRARY PHOTO_A PHOTO_B
set -uo pipefail
sheet=$1 shim=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pair=$work/two-years.qmp
python3 - "$3" "$4" "$pair" <<'PY'
import struct, sys
a, b = (open(path, "rb").read() for path in sys.argv[1:3])
with open(sys.argv[3], "wb") as out:
    out.write(b"QMP1" + struct.pack("<5I", 1, 1990, 2020, len(a), len(b)) + a + b)
PY
export QT_QPA_PLATFORM=offscreen
# The sanitizer runtime must come first unless told otherwise; the shim only wraps one call.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0:detect_leaks=0"

commands=(
  "archive --place Aral\ Sea --years 2000,2006,2012,2018 --width 4500"
  "pairs $pair"
)
failures=0
for command in "${commands[@]}"; do
  eval "args=($command)"
  LD_PRELOAD=$shim THREAD_COUNT_FILE=$work/count "$sheet" "${args[@]}" -o "$work/sheet.png" \
    >/dev/null 2>&1 || { echo "FAIL: $command does not succeed without a fault"; exit 1; }
  rm -f "$work/sheet.png"
  starts=$(cat "$work/count")
  for ((n = 1; n <= starts + 1; n++)); do
    FAIL_THREAD=$n LD_PRELOAD=$shim timeout 120 "$sheet" "${args[@]}" -o "$work/sheet.png" \
      >"$work/out" 2>&1
    code=$?
    outcome="exit $code"
    if [ $code -eq 0 ] && ! python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); sys.exit(not (d.startswith(b"\x89PNG") and d.endswith(b"IEND\xaeB`\x82")))' "$work/sheet.png"; then
      outcome="exit 0 without a complete PNG"
    elif [ $code -eq 1 ] && [ -e "$work/sheet.png" ]; then
      outcome="exit 1 with a file left"
    elif [ $code -eq 0 ] || [ $code -eq 1 ]; then
      outcome=ok
    fi
    if [ "$outcome" != ok ]; then
      echo "FAIL: $command with thread start $n of $starts refused: $outcome"
      sed 's/^/  /' "$work/out" | head -5
      failures=$((failures + 1))
    fi
    rm -f "$work/sheet.png"
  done
  echo "$command: each of $starts thread starts refused in turn, every run ended"
done
exit $((failures > 0))
