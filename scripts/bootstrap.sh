#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quillmart
# needs. Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang-format git
  # Qt 6: widgets, network, SQL with SQLite, QML engine (script checks), web views
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  qt6-declarative-dev qt6-webengine-dev qt6-webchannel-dev
  libgl-dev
  # mailbox client
  libcurl4-openssl-dev
  # a virtual display, so the program can be started on a machine without one
  xvfb xauth
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
