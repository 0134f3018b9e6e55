#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks for building and testing zem.
# Only missing packages are installed, without questions.
set -euo pipefail

packages=(cmake make g++ binutils pkg-config libgtest-dev libgmock-dev locales)
missing=()
for pkg in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale lets the tests prove that numbers keep their points.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  if [[ $(id -u) -eq 0 ]]; then localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1 || true; fi
fi
