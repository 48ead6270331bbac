#!/usr/bin/env bash
# Runs one program of a Windows build folder under wine, as the tests run theirs: in the build
# folder's private prefix, with Qt and the MinGW runtime from where they were built, on a
# virtual screen. For the benchmarks, e.g. tools/wine_run.sh build-windows bench_automation
#   tools/wine_run.sh BUILD_FOLDER PROGRAM [ARGUMENTS...]
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/wine_prefix.sh"
kup_wine_prefix "$build/wineprefix"
kup_wine_qt_paths "$build"
kup_wine_display
set +e
kup_wine "$build/$2.exe" "${@:3}" 2>&1 | tr -d '\r'
status=${PIPESTATUS[0]}
timeout "$kup_wine_bound" "$wineserver" -w
exit "$status"
