# shellcheck shell=bash disable=SC2034  # sourced; the package lists are its callers'
# Sourced by ./run and ./test: installs the Debian packages that are missing,
# and nothing when all are there, so a second run is fast.

kup_build_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev fonts-dejavu-core fonts-liberation2
  libtiff-dev nlohmann-json3-dev
  dbus-daemon dbus-bin
)
kup_test_packages=(libgtest-dev libgmock-dev g++-mingw-w64-x86-64-posix clang-format shellcheck)

kup_missing_packages() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]}"
}

# kup_install PACKAGE...: installs those not yet installed (as root, or through sudo).
kup_install() {
  local missing
  missing=$(kup_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installiere fehlende Pakete: $missing"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# The tests check number texts under German regional settings, also in the C
# library, which the toolkit switches to the user's locale at start.
kup_ensure_german_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  kup_install locales
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  $sudo locale-gen >/dev/null
}

# The Windows programs run under wine on a virtual display (the cross compiler is a test
# package); fonts-wine holds the fonts wine draws window frames with. Debian installs wine64's
# programs outside PATH, so they are looked up where it puts them.
kup_wine_packages=(wine64 fonts-wine xvfb)
# The Windows package (tools/windows-package): zip and installer; its check
# (tools/windows-package-check.sh) starts the packaged program on a virtual display under wine
# and reads the manifests out of the executables (wrestool, from icoutils).
kup_package_packages=(zip unzip nsis xdotool icoutils)
kup_wine_program() {
  local name=$1
  command -v "$name" 2>/dev/null && return 0
  [ -x "/usr/lib/wine/$name" ] && { echo "/usr/lib/wine/$name"; return 0; }
  return 1
}
