#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only those that are missing.
set -euo pipefail
PKGS=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      qt6-base-dev qt6-translations-l10n xvfb xauth fonts-dejavu-core fonts-liberation2 ccache)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
