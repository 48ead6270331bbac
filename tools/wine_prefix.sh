#!/usr/bin/env bash
# Sourced: kup_wine_prefix FOLDER makes FOLDER a wine prefix ready for our programs and exports
# what wine needs to use it (WINEPREFIX and friends, $wine, $wineserver).
#
# A prefix whose first start fails is removed again by wine; the wineserver then cannot save its
# registry ("could not save registry branch to system.reg : No such file or directory") and every
# later call fails. So the creation is checked, its output kept, and it is tried again a few times
# before the run gives up with that output.
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/windows_dlls.sh"

# No program runs under wine without a bound (seconds): one that hangs ends the run, instead of
# running until CI's own clock stops it without saying which.
kup_wine_bound=${KUP_WINE_BOUND:-600}
kup_wine() { timeout -k 30 "$kup_wine_bound" "$wine" "$@"; }

kup_wine_prefix() {
  local prefix=$1 attempt log
  wine=$(kup_wine_program wine64)
  wineserver=$(kup_wine_program wineserver)
  export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # The marker holds the version of the set-up below; a prefix of an older one is made anew.
  local ready=4
  if [ "$(cat "$prefix/.kup-ready" 2>/dev/null)" = "$ready" ]; then
    # tools/windows-package-check.sh takes drive Z: (the host's root) away while the packaged
    # program runs; a check killed then must not leave the tests that run from Z: without it.
    [ -e "$prefix/dosdevices/z:" ] || ln -s / "$prefix/dosdevices/z:"
    return 0
  fi

  log=$(dirname "$prefix")/wineboot.log
  for attempt in 1 2 3; do
    echo "Lege wine-Umgebung an: $prefix (Versuch $attempt)"
    "$wineserver" -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
    # No display is needed to create a prefix; a broken one must not make wineboot fail.
    env -u DISPLAY WINEDEBUG=err+all timeout -k 30 "$kup_wine_bound" "$wine" wineboot -i >"$log" 2>&1 || true
    timeout "$kup_wine_bound" "$wineserver" -w >>"$log" 2>&1 || "$wineserver" -k >>"$log" 2>&1 || true
    if [ -f "$prefix/system.reg" ] && [ -d "$prefix/drive_c/windows/system32" ]; then
      kup_wine_fonts && kup_wine_desktop && echo "$ready" >"$prefix/.kup-ready" && return 0
    fi
    echo "wine-Umgebung unvollständig; Ausgabe von wineboot:"
    tail -n 40 "$log" | sed 's/^/    /'
  done
  echo "FEHLER: wine-Umgebung $prefix ließ sich nicht anlegen." >&2
  return 1
}

# Windows open on a desktop of their own inside the display, as on Windows. As top-level windows
# of an X display without a window manager, every hidden owned window (our fixed dialogs are
# owned) would make wine wait 2 s for a state change no one sends.
kup_wine_desktop() {
  kup_wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
    kup_wine_desktop_size 1280x1024
}

# The size of that desktop, the screen the programs see.
kup_wine_desktop_size() {  # WIDTHxHEIGHT
  kup_wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$1" /f >/dev/null 2>&1 &&
    timeout "$kup_wine_bound" "$wineserver" -w
}

# The windows ask for "MS Sans Serif" where its bitmaps have the size (96 dpi) and for its
# outline twin "Microsoft Sans Serif" elsewhere. Wine's own bitmap face (fonts-wine) is found only
# where Windows keeps its fonts, which wineboot leaves empty: it is put there. Wine has no outline
# twin: Liberation Sans, the face the Linux build falls back to, stands in for it.
kup_wine_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts" && cp /usr/share/wine/fonts/* "$fonts/" &&
    kup_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Microsoft Sans Serif" /d "Liberation Sans" /f \
      >/dev/null 2>&1 && timeout "$kup_wine_bound" "$wineserver" -w
}

# Registers the build folder's cadsim.exe as SldWorks.Application in the prefix: /RegServer writes
# the user's classes, and wine 8 reads classes from the machine's registry only, so they are copied
# there.
kup_wine_register_cadsim() {  # build folder
  local key
  kup_wine "$1/cadsim/cadsim.exe" /RegServer >/dev/null || return 1
  for key in SldWorks.Application SldWorks.Control CLSID; do
    kup_wine reg copy "HKCU\\Software\\Classes\\$key" "HKLM\\Software\\Classes\\$key" /s /f >/dev/null || return 1
  done
}

# Lets the programs of a build folder find Qt and the MinGW runtime where they were built (the
# folders the package takes its DLLs from), instead of copies beside each program.
kup_wine_qt_paths() {  # build folder
  local qt folder paths=()
  qt=$(cat "$1/qt-windows.txt")
  for folder in $(kup_dll_sources "$qt"); do
    paths+=("$(kup_wine winepath -w "$folder" | tr -d '\r')")
  done
  WINEPATH=$(IFS=';'; echo "${paths[*]}")
  QT_PLUGIN_PATH=$(kup_wine winepath -w "$qt/plugins" | tr -d '\r')
  export WINEPATH QT_PLUGIN_PATH
}

# A virtual screen for wine's display driver, for as long as the calling script runs: Qt's
# offscreen platform has no fonts on Windows, so windows (and cadsim.exe's glyphs) need one.
kup_wine_display() {
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  kup_xvfb=$!
  # shellcheck disable=SC2064  # the values of now
  trap "kill $kup_xvfb 2>/dev/null || true; rm -f '$display_file'" EXIT
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  [ -s "$display_file" ] || { echo "FEHLER: Xvfb startete nicht." >&2; return 1; }
  DISPLAY=":$(cat "$display_file")"
  export DISPLAY
}
