#!/usr/bin/env bash
# Runs the cross-built Windows test runner under wine: a private prefix in the
# build folder, the COM stand-in registered there as SldWorks.Application.
#   tools/wine_tests.sh BUILD_FOLDER [part of a case name]
set -euo pipefail
build=$(cd "$1" && pwd)
filter=${2:-}
source "$(dirname "$0")/wine_prefix.sh"
kup_wine_prefix "$build/wineprefix"

reg() { "$wine" reg "$@" >/dev/null; }
classes='HKLM\Software\Classes'
clsid=$(grep -o 'KUP_STANDIN_CLSID_TEXT "{[^}]*}' tests/com/standin/standin_objects.h | grep -o '{.*}')
dll=$("$wine" winepath -w "$build/kup_cad_standin.dll" | tr -d '\r')
reg add "$classes\\CLSID\\$clsid\\InprocServer32" /ve /d "$dll" /f
reg add "$classes\\CLSID\\$clsid\\InprocServer32" /v ThreadingModel /d Apartment /f
reg add "$classes\\SldWorks.Application\\CLSID" /ve /d "$clsid" /f
# A class that is registered but whose server is not where it says.
missing='{7D2E5A10-4C1B-4E8A-9F3D-2B6C8A1E5F08}'
reg add "$classes\\CLSID\\$missing\\InprocServer32" /ve /d 'C:\fehlt\kup_fehlt.dll' /f
reg add "$classes\\KupStandIn.OhneServer\\CLSID" /ve /d "$missing" /f

set +e
KUP_TEST_PREFIX=1 "$wine" "$build/kup_com_runner.exe" ${filter:+"--gtest_filter=*$filter*"} 2>&1 | tr -d '\r'
status=${PIPESTATUS[0]}
set -e
"$wineserver" -w
exit "$status"
