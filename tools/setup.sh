#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, test and run. Idempotent: quiet
# and quick when everything is there already.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config libgtest-dev
  qt6-base-dev libcurl4-openssl-dev libzip-dev libsqlite3-dev
  python3-pyftpdlib python3-openssl openssl
  liblnk-utils e2fsprogs sqlite3 zip unzip xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
