#!/usr/bin/env bash
# Installs the Debian packages that building and running Quillmart need; with
# --tests also those the tests need (the servers they start, the real-display
# input, the checks of the installed files). Safe to run again: apt-get skips
# what is already installed.
set -euo pipefail

with_tests=""
case "${1:-}" in
  --tests) with_tests=yes ;;
  "") ;;
  *) echo "usage: bootstrap.sh [--tests]" >&2; exit 2 ;;
esac

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git
  # Qt 6: widgets, network, SQL with SQLite, QML engine (script checks), web views
  # (qt6-webengine-dev brings the web widgets; print support comes with qt6-base-dev)
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
  qt6-declarative-dev qt6-webengine-dev qt6-webchannel-dev
  libgl-dev
  # mailbox client, FTP and FTP over TLS publishing
  libcurl4-openssl-dev
  # SFTP publishing: reads known_hosts as OpenSSH does, signs RSA with SHA-2
  libssh-dev
  # the shared order database: Qt's PostgreSQL driver
  libqt6sql6-psql
  # "Remember password": the keyring client library
  qtkeychain-qt6-dev
  # a virtual display, so the program can be started on a machine without one
  xvfb xauth
)

test_packages=(
  # formatting, the layer check and the line counter (scripts/*.py, count-lines.sh)
  clang-format python3
  # the fuzz targets' libFuzzer builds (scripts/fuzz.sh): clang and its runtimes
  clang libclang-rt-dev
  # real input on a virtual display (the realdisplay tests) and the README's
  # screenshots (scripts/screenshots.sh): xdotool drives the menus,
  # ImageMagick's import saves a window as PNG
  xdotool imagemagick
  # WebDAV server for the publishing tests: nginx (built with the DAV module)
  # and the module that adds PROPFIND and OPTIONS; the tests start their own
  nginx libnginx-mod-http-dav-ext
  # POP3 server for the mailbox tests: dovecot; openssl makes their test
  # certificates. The tests start their own dovecot
  dovecot-core dovecot-pop3d openssl
  # SFTP and FTP-over-TLS servers for the publishing tests: OpenSSH's sshd
  # (its client's ssh-keygen and sftp make keys and time the benchmark) and
  # pure-ftpd, which keeps its own user list. The tests start their own
  openssh-server openssh-client pure-ftpd
  # PostgreSQL 15 for the order-store tests, which run initdb and start
  # their own server
  postgresql-15
  # the secret service the keyring tests start on a private session bus of
  # their own (dbus-daemon comes with the base system); not a system service
  gnome-keyring
  # checks of the installed desktop files (the install test): the menu entry
  # and the software-centre description
  desktop-file-utils appstream
)
if [ -n "$with_tests" ]; then packages+=("${test_packages[@]}"); fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# Installing a server package would start its system service (nginx on port
# 80, dovecot on 110 and 143). The tests start their own servers, so a policy
# that forbids service starts is put in place for the install and taken away
# afterwards; a policy the machine already has is left as it is.
policy=/usr/sbin/policy-rc.d
own_policy=""
forbid_service_starts() {
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
    $sudo chmod 755 "$policy"
    own_policy=yes
  fi
}
allow_service_starts() {
  if [ -n "$own_policy" ]; then $sudo rm -f "$policy"; fi
}

# A system server (nginx, dovecot) must neither run now nor start at boot.
keep_system_service_down() {
  local service="$1"
  if [ -d /run/systemd/system ] && command -v systemctl >/dev/null; then
    $sudo systemctl disable --now "$service" >/dev/null 2>&1 || true
    # dovecot is also started by its socket units
    $sudo systemctl disable --now "$service.socket" >/dev/null 2>&1 || true
  elif [ -x "/etc/init.d/$service" ]; then
    $sudo "/etc/init.d/$service" stop >/dev/null 2>&1 || true
    if command -v update-rc.d >/dev/null; then
      $sudo update-rc.d "$service" disable >/dev/null 2>&1 || true
    fi
  fi
}

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  trap allow_service_starts EXIT
  forbid_service_starts
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  allow_service_starts
  trap - EXIT
  if [[ " ${missing[*]} " == *" nginx "* ]]; then keep_system_service_down nginx; fi
  if [[ " ${missing[*]} " == *" dovecot-core "* ]]; then keep_system_service_down dovecot; fi
  if [[ " ${missing[*]} " == *" openssh-server "* ]]; then keep_system_service_down ssh; fi
  if [[ " ${missing[*]} " == *" pure-ftpd "* ]]; then keep_system_service_down pure-ftpd; fi
  if [[ " ${missing[*]} " == *" postgresql-15 "* ]]; then keep_system_service_down postgresql; fi
fi

# The account the SFTP tests log in as (sshd checks passwords against the
# system's accounts): no shell, no home, and locked; a test run gives it a
# password of its own and locks it again at the end.
if [ -n "$with_tests" ] && ! getent passwd quillmart-sftp >/dev/null; then
  $sudo useradd --system --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin quillmart-sftp
fi
