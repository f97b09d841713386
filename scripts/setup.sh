#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that building and testing Vokari needs and that
# are missing on this machine, and any further packages named as arguments (the packaging
# script's tools). Asks for sudo only when something is missing and we are not root.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n qt6-wayland libgl-dev
  fonts-ipafont-gothic
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  rapidjson-dev gettext help2man libxxhash-dev git
  clang-format
  "$@"
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
