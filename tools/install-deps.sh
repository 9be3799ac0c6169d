#!/bin/bash
# Installs the Debian 12 packages the program and its tests need, when missing.
set -e
packages="cmake g++ make qt6-base-dev libshp-dev libzip-dev libxcb1-dev pkg-config xvfb xauth
          poppler-utils fonts-liberation python3-dbf glpk-utils imagemagick
          libreoffice-writer-nogui python3-docx clang-format qt6-translations-l10n dpkg-dev
          desktop-file-utils hunspell hunspell-ru"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
