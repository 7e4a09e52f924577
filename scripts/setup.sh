#!/usr/bin/env bash
# Installs the Debian packages the project builds and runs with, when they are missing.
# Safe to run again: it says nothing and changes nothing when all are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkgconf clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  libzmq3-dev cppzmq-dev
  libxlsxwriter-dev
  libmuparser-dev
  xdg-utils
  dpkg-dev file desktop-file-utils  # the Debian package: its dependency scan, the menu entry check
  locales  # the locale sources the tests build de_DE and hi_IN from
  python3-openpyxl
)

missing=()
for p in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)"
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
(( ${#missing[@]} == 0 )) && exit 0

sudo=""
(( EUID == 0 )) || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
