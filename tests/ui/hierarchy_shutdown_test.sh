#!/usr/bin/env bash
# Starts the hierarchy program, closes its main window politely (taskkill without /f
# sends WM_CLOSE) and expects the process to end by itself with status 0.
#   hierarchy_shutdown_test.sh SOURCE_ROOT BUILD_DIR PROGRAM.exe
set -uo pipefail
source_root=$1 build=$2 program=$3
eval "$("$source_root/tools/wine-run" --env "$build")"
output=$(mktemp)
trap 'rm -f "$output"' EXIT

"$source_root/tools/wine-run" "$program" >"$output" 2>/dev/null &
pid=$!
for _ in $(seq 1 300); do
  grep -q '^ready' "$output" && break
  sleep 0.1
done
grep -q '^ready' "$output" || { echo "FAIL: the program did not show its window"; kill "$pid"; exit 1; }

"$TEVRIN_WINE" taskkill /im "$(basename "$program")" >/dev/null 2>&1
for _ in $(seq 1 200); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "FAIL: the program is still running after its window was closed"
  kill "$pid"
  exit 1
fi
wait "$pid"
status=$?
cat "$output"
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
tr -d '\r' <"$output" | grep -q '^windows deleted: 2$' || { echo "FAIL: not every window object was deleted"; exit 1; }
echo "ok: closed cleanly with status 0"
