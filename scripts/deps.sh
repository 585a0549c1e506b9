#!/usr/bin/env bash
# Installs what building, running and testing Tobiuo X needs on Debian 12, when missing.
set -euo pipefail

packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpng-dev
          libwxgtk3.2-dev xvfb xauth fonts-vlgothic)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
