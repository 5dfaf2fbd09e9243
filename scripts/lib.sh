# Shared by the project's scripts: paths and the packages the build needs.
# shellcheck shell=bash

ZT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Everything the build, the tests and the screenshots need from Debian's archive.
ZT_PACKAGES=(
  cmake make
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64
  xvfb xauth x11-apps imagemagick
  googletest
  fp-utils
  file
)

# Installs whatever of the given packages is missing; silent when all are there.
zt_ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}" >&2
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq >/dev/null
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures and builds one preset (x86 or x64).
zt_build_preset() {
  local preset=$1
  cmake --preset "$preset" -S "$ZT_ROOT" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
}

# Wine settings every script shares: no debug chatter, one fixed locale.
zt_wine_env() {
  export WINEDEBUG=${WINEDEBUG:--all}
  export LC_ALL=C.UTF-8
  export WINEARCH=win64
}
