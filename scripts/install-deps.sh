#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
# Idempotent: packages already present are left as they are.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev
  libsqlite3-dev sqlite3 libxxhash-dev
  nlohmann-json3-dev rapidjson-dev
  libicu-dev
  libxml2-dev libxml2-utils
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n libxcb1-dev
  fonts-ipafont-gothic
  help2man jq
  # orbeck-import reads plain-text journals through hledger; ledger prints what hledger cannot read (docs/import.md).
  hledger ledger
  xvfb xauth
  clang-format ccache
  # The windows preset: the cross compiler, Wine to run its tests, the tools that generate
  # SQLite's amalgamation from Debian's source package, Xvfb, ImageMagick and the Japanese
  # locale's sources for the screenshots.
  g++-mingw-w64-x86-64-posix wine64 dpkg-dev tcl xvfb x11-apps imagemagick locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# SQLite for the windows preset, built once from Debian's source package and cached.
bash "$(dirname "$0")/build-sqlite-mingw.sh" >/dev/null
