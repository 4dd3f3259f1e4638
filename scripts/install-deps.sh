#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Lorvane need.
# Idempotent: only missing packages are installed.
set -euo pipefail

packages=(
  g++ make cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-translations-l10n qt6-tools-dev qt6-l10n-tools
  libsqlite3-dev sqlite3
  libzip-dev libpugixml-dev
  libgtest-dev libgmock-dev
  xvfb xauth fonts-wqy-microhei fonts-dejavu-core
  python3-openpyxl
  qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  desktop-file-utils appstream dpkg-dev file lintian
  clang-format
  clang libclang-rt-14-dev
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run a second time under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -ix 'de_DE\.utf-\?8' >/dev/null; then
  echo "install-deps: generating de_DE.UTF-8"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
