#!/usr/bin/env bash
# Installs the Debian packages Velora needs to build, test and run.
# Idempotent: packages already present are left alone, and the package lists are
# refreshed only when something has to be installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev
  qt6-webengine-dev qt6-webchannel-dev
  libgl-dev libxkbcommon-dev
  libjpeg-dev libgif-dev qt6-image-formats-plugins
  libpcre2-dev
  libutf8proc-dev
  libtidy-dev
  libhunspell-dev hunspell-en-us
  libeditorconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang
  libcurl4-openssl-dev libssl-dev libsecret-1-dev
  python3-pyftpdlib
  python3-openssl openssh-server openssh-client
  fonts-liberation
  xvfb xauth imagemagick poppler-utils
  at-spi2-core python3-pyatspi dbus-x11 xdotool openbox
  desktop-file-utils appstream libxml2-utils dpkg-dev lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
