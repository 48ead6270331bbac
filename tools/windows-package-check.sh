#!/usr/bin/env bash
# Proves the Windows package of tools/windows-package stands on its own, in the build's wine
# prefix:
#   - the zip holds one folder with the program, its plugins, qt.conf, README and licences;
#   - every exe and DLL in it imports only DLLs of the package or of Windows;
#   - every exe of the package, the installer and the uninstaller carry the manifest Windows
#     reads at their start (resource type 24, id 1) with what each needs in it;
#   - the unpacked kuptools.exe opens its main window on a virtual display, with the host's file
#     system out of wine's reach, so neither Qt's cache nor the build folder can stand in for
#     what the package lacks, loads its plugins from the package, and says nothing on the way;
#   - the installer, run silently, installs the package's files, the list of them, its
#     uninstaller, the start-menu entry (starting in the documents folder) and the Add/Remove
#     Programs entry; while the installed kuptools.exe runs, installer and uninstaller stop with
#     an error and change nothing; once it has ended, installing again removes what an older
#     version installed and this one does not, and the uninstaller removes everything the
#     installer put there and nothing a user put into the folder.
#   tools/windows-package-check.sh BUILD_FOLDER
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
source "$repo/tools/windows_dlls.sh"
source "$repo/tools/wine_prefix.sh"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
name=KUP-Tools-$version-win64
zip=$build/$name.zip
setup=$build/KUP-Tools-$version-setup.exe
caption="KupTools für Solidworks"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\KUP-Tools'

failures=0
fail() {
  echo "FEHLER: $*" >&2
  failures=$((failures + 1))
}
# waitfor SECONDS COMMAND...: true as soon as COMMAND succeeds, false when the time is up.
waitfor() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.2
  done
}

command -v wrestool >/dev/null || { echo "FEHLER: wrestool (Paket icoutils) fehlt." >&2; exit 1; }
for f in "$zip" "$setup"; do
  [ -f "$f" ] || { echo "FEHLER: $f fehlt (tools/windows-package)." >&2; exit 1; }
done

kup_wine_prefix "$build/wineprefix"
unset WINEPATH
drive_c=$WINEPREFIX/drive_c
zdrive=$WINEPREFIX/dosdevices/z:
xvfb_pid=""
restore() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  "$wineserver" -k >/dev/null 2>&1 || true
  [ -e "$zdrive" ] || ln -s / "$zdrive"
}
trap restore EXIT

# --- The zip and what it holds ---
top=$(unzip -Z1 "$zip" | cut -d/ -f1 | sort -u)
[ "$top" = "$name" ] || fail "Die Zip-Datei soll genau einen Ordner $name enthalten, enthält: $top"
unpacked=$drive_c/kup-paketprobe
rm -rf "$unpacked"
mkdir -p "$unpacked"
unzip -q "$zip" -d "$unpacked"
pkg=$unpacked/$name
for f in kuptools.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll qt.conf README.txt \
  plugins/platforms/qwindows.dll plugins/styles/qwindowsvistastyle.dll \
  plugins/imageformats/qgif.dll plugins/imageformats/qico.dll \
  licenses/Qt-LGPL-3.0.txt licenses/GPL-3.0.txt licenses/HINWEIS.txt; do
  [ -s "$pkg/$f" ] || fail "$f fehlt im Paket oder ist leer."
done
grep -q 'GNU LESSER GENERAL PUBLIC LICENSE' "$pkg/licenses/Qt-LGPL-3.0.txt" ||
  fail "licenses/Qt-LGPL-3.0.txt ist nicht der Text der LGPL."
grep -rqi 'GCC Runtime Library Exception' "$pkg/licenses" ||
  fail "Die GCC Runtime Library Exception fehlt unter licenses/."

# --- Imports: only the package's own DLLs and Windows' ---
mapfile -t binaries < <(find "$pkg" -type f \( -iname '*.exe' -o -iname '*.dll' \))
kup_dll_closure "$pkg" -- "${binaries[@]}" >/dev/null || fail "Das Paket ist nicht vollständig."

# --- Manifests ---
# Windows reads an executable's manifest from resource type 24 (RT_MANIFEST), id 1, as it starts.
# A setting it does not find there, or finds under another namespace, it ignores without a word.
asm=urn:schemas-microsoft-com
smi=http://schemas.microsoft.com/SMI
manifest_entries_common=(
  "supportedOS Id={8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}|Windows 10/11"
  "supportedOS Id={1f676c76-80e1-4239-95bb-83d0f6d0da78}|Windows 8.1"
  "supportedOS Id={4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}|Windows 8"
  "supportedOS Id={35138b9a-5d96-4fbd-8e2d-a2440225f93a}|Windows 7"
  "requestedExecutionLevel level=asInvoker|ohne Rechteerhöhung"
  "assemblyIdentity name=Microsoft.Windows.Common-Controls version=6.0.0.0 publicKeyToken=6595b64144ccf1df|Common Controls 6"
)
manifest_entries_program=(
  "${manifest_entries_common[@]}"
  "dpiAware xmlns=$smi/2005/WindowsSettings =true/pm|DPI vor Windows 10 1607"
  "dpiAwareness xmlns=$smi/2016/WindowsSettings =PerMonitorV2|DPI wie Qt"
  "longPathAware xmlns=$smi/2016/WindowsSettings =true|lange Pfade"
)
manifest_entries_installer=(
  "${manifest_entries_common[@]}"
  "dpiAware xmlns=$smi/2005/WindowsSettings =true|DPI"
)
# check_manifest EXE ENTRY...: each ENTRY is "ELEMENT [ATTRIBUTE=VALUE...] [=TEXT]|what it is for";
# some ELEMENT of the manifest has to carry all those attributes, and that text where given.
check_manifest() {
  local exe=$1 text entry spec what element want tag ok
  shift
  text=$(wrestool -x --raw --type=24 --name=1 "$exe" 2>/dev/null | tr '\r\n\t' '   ')
  if ! grep -q "<assembly xmlns=\"$asm:asm.v1\"" <<<"$text"; then
    fail "$(basename "$exe") hat kein Manifest (Ressource 24, Nummer 1)."
    return
  fi
  for entry in "$@"; do
    spec=${entry%%|*} what=${entry#*|}
    read -r element want <<<"$spec"
    ok=0
    while IFS= read -r tag; do
      local part found=1
      for part in $want; do
        case $part in
          =*) [[ $tag == *">${part#=}" ]] || found=0 ;;
          *) [[ $tag == *" ${part%%=*}=\"${part#*=}\""* ]] || found=0 ;;
        esac
      done
      [ "$found" = 1 ] && ok=1
    done < <(grep -oE "<$element( [^>]*)?>[^<]*" <<<"$text")
    [ "$ok" = 1 ] || fail "Im Manifest von $(basename "$exe") fehlt <$spec> ($what)."
  done
}
mapfile -t programs < <(find "$pkg" -type f -iname '*.exe')
for exe in "${programs[@]}"; do
  check_manifest "$exe" "${manifest_entries_program[@]}"
done
check_manifest "$setup" "${manifest_entries_installer[@]}"

# --- Start of the unpacked program, with nothing of the host reachable ---
# Wine reaches the host's files only through drive Z:; without it the compiled-in Qt prefix,
# the build folder and the Qt cache are gone for the program.
rm "$zdrive"
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 15 -u "$displayfd" display || { echo "FEHLER: Xvfb startete nicht." >&2; exit 1; }
exec {displayfd}<&-
export DISPLAY=:$display

main_window() { xdotool search --name "^$caption\$" >/dev/null 2>&1; }
# start_program WINDOWS_PATH LOG: starts kuptools.exe in the background (its process in $app_pid)
# and waits for its main window.
start_program() {
  # Qt writes its warnings to stderr, not to the debugger, where the log can hold them; wine passes
  # no QT_ variable of the host on, only WINEQT_ ones, without their WINE. A manifest that Windows
  # would refuse to start the program with, wine runs with an "err:actctx" line.
  WINEQT_FORCE_STDERR_LOGGING=1 WINEDEBUG=-all,+loaddll,err+actctx kup_wine "$1" >"$2" 2>&1 &
  app_pid=$!
  waitfor 40 main_window || fail "Das Hauptfenster \"$caption\" erschien nicht (Ausgabe: $2)."
}
# end_program: closes kuptools.exe as the user would; the whole prefix if it does not end.
end_program() {
  kup_wine taskkill /IM kuptools.exe >/dev/null 2>&1 || true
  app_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
  if ! waitfor 10 app_ended; then
    fail "kuptools.exe endete nicht, als sein Fenster geschlossen wurde."
    "$wineserver" -k >/dev/null 2>&1 || true
  fi
  wait "$app_pid" 2>/dev/null || true
}

log=$build/windows-package-check.log
# Wine's loader names every DLL it maps and whether it is a Windows one of its own (builtin) or
# one from a file (native): every native one has to come from the package.
start_program "C:\\kup-paketprobe\\$name\\kuptools.exe" "$log"
loaded=$(sed -n 's/.*Loaded L"\(.*\)" at [0-9A-Fa-f]*: native.*/\1/p' "$log" | sed 's/\\\\/\//g')
here="C:/kup-paketprobe/$name/"
outside=$(grep -v -F "$here" <<<"$loaded" || true)
[ -z "$outside" ] || fail "Geladen von außerhalb des Pakets: $(tr '\n' ' ' <<<"$outside")"
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll imageformats/qico.dll \
  imageformats/qgif.dll; do
  grep -qixF "${here}plugins/$plugin" <<<"$loaded" ||
    fail "Qt lud plugins/$plugin nicht aus dem Paket (Ausgabe: $log)."
done
end_program
# Everything but the loader's lines is something wine, Qt or the program had to say, such as Qt
# finding the DPI awareness set otherwise than it asks for. Except two, which are wine 8's: it
# knows no per-monitor-v2 context and refuses Qt's call with "invalid parameter", manifest or not
# (Windows refuses it, once the manifest has set it, with "access denied", which Qt keeps quiet
# about); Qt then takes version 1 and per window asks for what version 2 does by itself, which
# wine has not implemented.
said=$(tr -d '\r' <"$log" | grep -v -e ':trace:loaddll:' \
  -e '^qt.qpa.windows: SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) failed: COM error 0x57 ' \
  -e '^EnableNonClientDpiScaling() failed for HWND 0x[0-9a-fA-F]* (120) (Call not implemented.)$' ||
  true)
[ -z "$said" ] || fail "kuptools.exe meldete beim Start: $(head -n 5 <<<"$said" | tr '\n' ' ')"
# The manifest at work: common controls 6 come from wine's side-by-side store, without it from
# system32. The thread that loaded Qt is the program's; wine's own processes log here too.
maps=$(sed -n 's/^\([0-9a-fA-F]*\):trace:loaddll:.*Loaded L"\(.*\)" at .*/\1 \2/p' "$log" | sed 's/\\\\/\//g')
thread=$(grep -m1 -iF "${here}Qt6Core.dll" <<<"$maps" | cut -d' ' -f1)
grep -qiE "^${thread:-none} C:/windows/winsxs/amd64_microsoft.windows.common-controls_6595b64144ccf1df_6\.0\.[^/]*/comctl32\.dll$" <<<"$maps" ||
  fail "kuptools.exe lud die Common Controls 6 nicht, das Manifest wirkte nicht (Ausgabe: $log)."
ln -s / "$zdrive"
rm -rf "$unpacked"

# --- Installer and uninstaller ---
unixpath() { kup_wine winepath -u "$(kup_wine cmd /c "echo $1" | tr -d '\r')" | tr -d '\r'; }
winpath() { kup_wine winepath -w "$1" | tr -d '\r'; }
installed=$(unixpath '%LOCALAPPDATA%\Programs\KUP-Tools')
installed_win=$(winpath "$installed")
link=$(unixpath '%APPDATA%\Microsoft\Windows\Start Menu\Programs')/KUP-Tools.lnk
documents_win=$(kup_wine cmd /c 'echo %USERPROFILE%\Documents' | tr -d '\r')
list="installed-files.txt"
# Beside the folder, where no installer or uninstaller may reach.
neighbour=$(dirname "$installed")/KUP-Tools-Nachbar.txt
# A run that stopped halfway must not leave files this one then takes for installed.
rm -rf "$installed" "$link" "$neighbour"
kup_wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
cp "$setup" "$drive_c/kup-setup.exe"
# run_setup: runs the installer silently and echoes its exit code.
run_setup() {
  local rc=0
  kup_wine 'C:\kup-setup.exe' /S >&2 || rc=$?
  echo "$rc"
}
# uninstall_in_place: runs the uninstaller silently where it is and echoes its exit code. Started
# plainly, it copies itself away, starts the copy with _?= and returns 0 at once.
uninstall_in_place() {
  local rc=0
  kup_wine "$installed_win\\uninstall.exe" /S "_?=$installed_win" >&2 || rc=$?
  echo "$rc"
}
# contents: every file of the install folder with its checksum, and every folder.
contents() { (cd "$installed" 2>/dev/null && find . -mindepth 1 -type d | sort && find . -type f -exec md5sum {} + | sort -k2); }

# lnk_working_dir LINK: the working folder a shell link (.lnk) starts its program in.
lnk_working_dir() {
  local f=$1 flags pos width=1 bit
  u16() { od -An -tu2 -j "$1" -N2 "$f" | tr -d ' '; }
  u32() { od -An -tu4 -j "$1" -N4 "$f" | tr -d ' '; }
  # The header is 76 bytes, its flags at offset 20; then the item list, the link information and
  # the strings (name, relative path, working folder, ...), each there only if its flag is set.
  flags=$(u32 20)
  pos=76
  ((flags & 0x01)) && pos=$((pos + 2 + $(u16 $pos)))
  ((flags & 0x02)) && pos=$((pos + $(u32 $pos)))
  ((flags & 0x80)) && width=2
  for bit in 0x04 0x08; do
    ((flags & bit)) && pos=$((pos + 2 + width * $(u16 $pos)))
  done
  ((flags & 0x10)) || return 0
  # Wine counts the string's closing zero, Windows does not.
  dd if="$f" bs=1 skip=$((pos + 2)) count=$((width * $(u16 $pos))) 2>/dev/null |
    if [ "$width" = 2 ]; then iconv -f UTF-16LE -t UTF-8; else cat; fi | tr -d '\0'
}

rc=$(run_setup)
[ "$rc" = 0 ] || fail "setup.exe /S endete mit $rc."
in_package=$(unzip -Z1 "$zip" | sed -n "s|^$name/\(..*\)|./\1|p" | sed 's|/$||')
expected=$(printf '%s\n' "$in_package" ./uninstall.exe "./$list" | sort)
if [ -d "$installed" ]; then
  actual=$(cd "$installed" && find . -mindepth 1 | sort)
  [ "$actual" = "$expected" ] ||
    fail "Installiert wurde nicht genau das Paket: $(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
  check_manifest "$installed/uninstall.exe" "${manifest_entries_installer[@]}"
else
  fail "Nicht installiert nach $installed."
fi
if [ -f "$link" ]; then
  workdir=$(lnk_working_dir "$link")
  [ "$workdir" = "$documents_win" ] ||
    fail "Der Startmenü-Eintrag startet in \"$workdir\", nicht im Ordner Dokumente ($documents_win)."
else
  fail "Der Startmenü-Eintrag $link fehlt."
fi
kup_wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 ||
  fail "Der Eintrag unter $uninstall_key fehlt."

# An older version: a file and a folder it installed and this one does not, in its list. A file
# of the user's, and lines a damaged list could hold that name it or what lies outside the folder.
mkdir -p "$installed/plugins/alt"
echo alt >"$installed/alt.dll"
echo alt >"$installed/plugins/alt/altplugin.dll"
echo Notiz >"$installed/plugins/notiz.txt"
echo Nachbar >"$neighbour"
printf '%s\r\n' 'alt.dll' "plugins\\alt\\altplugin.dll" "plugins\\*.txt" "..\\KUP-Tools-Nachbar.txt" \
  "plugins\\alt\\" >>"$installed/$list"

# While the installed program runs, neither installer nor uninstaller may change anything.
start_program "$installed_win\\kuptools.exe" "$build/windows-package-check-installed.log"
before=$(contents)
rc=$(run_setup)
[ "$rc" != 0 ] || fail "setup.exe /S endete mit 0, während kuptools.exe lief."
[ "$(contents)" = "$before" ] || fail "setup.exe /S veränderte den Ordner, während kuptools.exe lief."
rc=$(uninstall_in_place)
[ "$rc" != 0 ] || fail "uninstall.exe /S endete mit 0, während kuptools.exe lief."
[ "$(contents)" = "$before" ] || fail "uninstall.exe /S veränderte den Ordner, während kuptools.exe lief."
[ -f "$link" ] || fail "uninstall.exe /S entfernte den Startmenü-Eintrag, während kuptools.exe lief."
kup_wine reg query "$uninstall_key" >/dev/null 2>&1 ||
  fail "uninstall.exe /S entfernte $uninstall_key, während kuptools.exe lief."
end_program

# Once it has ended: the older version's files go, the user's stay, and so does the neighbour.
rc=$(run_setup)
[ "$rc" = 0 ] || fail "setup.exe /S endete mit $rc, nachdem kuptools.exe beendet war."
actual=$(cd "$installed" && find . -mindepth 1 | sort)
with_note=$(printf '%s\n' "$expected" ./plugins/notiz.txt | sort)
[ "$actual" = "$with_note" ] ||
  fail "Nach der Installation über eine ältere: $(diff <(echo "$with_note") <(echo "$actual") | grep '^[<>]' | tr '\n' ' ')"
[ -f "$neighbour" ] || fail "Die Installation entfernte $neighbour außerhalb ihres Ordners."
grep -qF -e alt.dll -e 'plugins\alt' "$installed/$list" && fail "$list nennt nach der neuen Installation noch die ältere."

kup_wine "$installed_win\\uninstall.exe" /S
# The uninstaller runs on from a copy of itself and returns at once; its end is the end of every
# process in the prefix.
timeout 30 "$wineserver" -w || fail "Die Deinstallation endete nicht."
left=$( (cd "$installed" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ') || true)
[ "$left" = "./plugins ./plugins/notiz.txt " ] ||
  fail "Nach der Deinstallation bleibt im Ordner: ${left:-nichts, auch nicht die Datei des Benutzers}"
[ -f "$neighbour" ] || fail "Die Deinstallation entfernte $neighbour außerhalb ihres Ordners."
[ ! -e "$link" ] || fail "Der Startmenü-Eintrag blieb nach der Deinstallation."
kup_wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "$uninstall_key blieb nach der Deinstallation."
rm -rf "$installed" "$neighbour" "$drive_c/kup-setup.exe"

if [ "$failures" -gt 0 ]; then
  echo "Windows-Paket: $failures Fehler." >&2
  exit 1
fi
echo "Windows-Paket geprüft: $(basename "$zip"), $(basename "$setup")."
