# shellcheck shell=bash
# Sourced by the scripts that build a library for Windows from Debian's source package of the
# version the host has.
#   kup_debian_source PACKAGE VERSION WORK_FOLDER
# unpacks the source into WORK_FOLDER/src (once per version) with Debian's patches applied;
# fails (without leaving a source behind) when the archive does not deliver that version.
#   kup_debian_source_versions PACKAGE WORK_FOLDER
# prints the versions of the source package the archive offers, newest first.
#   kup_windows_install NAME UPSTREAM VERSION [--prefix]
# sets prefix, marker and work: the install folder of NAME-UPSTREAM for Windows in the cache
# outside the repository, its completion mark and its work folder. Prints the install folder and
# ends the script when only that is asked for, or when the install of VERSION is complete.
# Debian's own archive is reached through a private deb-src list (the machine's apt sources are
# not touched); apt checks every file against the signed index, and dpkg-source checks them
# against the .dsc before unpacking.
kup_debian_source() {
  local package=$1 version=$2 work=$3
  local src=$work/src
  if [ -f "$src/.kup-unpacked" ] && [ "$(cat "$src/.kup-unpacked")" = "$version" ]; then
    return 0
  fi
  _kup_debian_apt "$work" || return 1
  rm -rf "$src" "$work/download"
  mkdir -p "$work/download"
  (cd "$work/download" && apt-get "${_kup_apt_options[@]}" source --download-only "$package=$version") ||
    return 1
  # Checks size and checksums of every file against the .dsc, then applies Debian's patches.
  # The .dsc names the version without its epoch.
  dpkg-source -x "$work/download/${package}_${version#*:}.dsc" "$src" >/dev/null || return 1
  echo "$version" > "$src/.kup-unpacked"
}

kup_windows_install() {
  local name=$1 upstream=$2 version=$3 asked=${4:-}
  prefix=${KUP_CACHE:-$HOME/.cache/kup-tools}/$name-$upstream-mingw64
  marker=$prefix/.kup-complete
  work=$prefix-build
  if [ "$asked" = "--prefix" ] || { [ -f "$marker" ] && [ "$(cat "$marker")" = "$version" ]; }; then
    echo "$prefix"
    exit 0
  fi
}

# The private deb-src list and the apt options that use it (in _kup_apt_options), lists updated.
_kup_debian_apt() {
  local work=$1
  local apt_dir=$work/apt
  mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/archives/partial"
  # The machine's own Debian suites, as deb-src, in a list of our own; a library with a
  # security update has that version only in the security suite.
  cat > "$apt_dir/parts/debian-src.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  _kup_apt_options=(-o "Dir::Etc::sourcelist=-" -o "Dir::Etc::sourceparts=$apt_dir/parts"
                    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::archives=$apt_dir/archives"
                    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
  apt-get "${_kup_apt_options[@]}" update -qq
}

kup_debian_source_versions() {
  local package=$1 work=$2
  _kup_debian_apt "$work" || return 1
  apt-cache "${_kup_apt_options[@]}" showsrc "$package" | sed -n 's/^Version: //p' |
    sort -r -V -u
}
