#!/usr/bin/env bash
# Runs the Windows test programs under wine, in a private prefix in the build folder, on a virtual
# display: every test program of the core and the windows, and those that register cadsim.exe as
# SldWorks.Application there and talk to it across processes.
#   tools/wine_tests.sh BUILD_FOLDER [part of a case name]
set -euo pipefail
build=$(cd "$1" && pwd)
filter=${2:-}
source "$(dirname "$0")/wine_prefix.sh"
kup_wine_prefix "$build/wineprefix"

failed=()
run() {  # "VAR=value ..." program arguments...: runs it; a failure is remembered, the rest still run
  echo "== $2 $1 (wine) =="
  # Into a file, shown as it grows: a program left running in the prefix must not hold a pipe open.
  local out="$build/wine-run.log" status
  : >"$out"  # emptied before it is watched, not by the program's start behind the watcher's back
  set +e
  local environment
  read -r -a environment <<<"$1"
  timeout -k 30 "$kup_wine_bound" env "${environment[@]}" "$wine" "$build/$2.exe" "${@:3}" >>"$out" 2>&1 &
  local pid=$!
  tail -n +1 -s 0.2 -f --pid="$pid" "$out" | tr -d '\r'
  wait "$pid"
  status=$?
  set -e
  if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo "!!! $2 lief länger als $kup_wine_bound s und wurde beendet. Seine letzte Ausgabe:" >&2
    tail -n 40 "$out" | tr -d '\r' | sed 's/^/    /' >&2
    "$wineserver" -k || true  # and whatever it started in the prefix
  fi
  [ "$status" = 0 ] || failed+=("$2 $1")
}
chosen() {  # the program's own case filter, or the caller's; nothing for every case
  if [ -n "$filter" ]; then echo "--gtest_filter=*$filter*"; elif [ -n "$1" ]; then echo "--gtest_filter=$1"; fi
}

if [ -f "$build/windows_tests.txt" ]; then
  kup_wine_qt_paths "$build"
  kup_wine_display
  export KUP_TEST_PLATFORM=windows
  desktop='HKCU\Control Panel\Desktop'
  while IFS="|" read -r program pattern environment; do
    [ -n "$program" ] || continue
    # A resolution and screen size asked for are the screen's own on Windows: wine takes them
    # from the registry.
    dpi=$(sed -n 's/.*KUP_TEST_DPI=\([0-9]*\).*/\1/p' <<<"$environment")
    screen=$(sed -n 's/.*KUP_TEST_DPI=[0-9]*@\([0-9]*x[0-9]*\).*/\1/p' <<<"$environment")
    [ -z "$dpi" ] || kup_wine reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    [ -z "$screen" ] || kup_wine_desktop_size "$screen"
    cases=$(chosen "$pattern")
    run "$environment" "$program" ${cases:+"$cases"}
    [ -z "$dpi" ] || kup_wine reg delete "$desktop" /v LogPixels /f >/dev/null
    [ -z "$screen" ] || kup_wine_desktop_size 1280x1024
  done <"$build/windows_tests.txt"
fi

if ! timeout "$kup_wine_bound" "$wineserver" -w; then
  "$wineserver" -k || true
  failed+=("(Programme liefen nach dem letzten Test noch $kup_wine_bound s weiter)")
fi
if [ ${#failed[@]} -gt 0 ]; then
  printf 'FEHLGESCHLAGEN unter wine: %s\n' "${failed[@]}" >&2
  exit 1
fi
