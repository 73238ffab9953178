#!/bin/bash
# Installs the Debian packages the build and the tests need; quiet when
# everything is there already.
set -e
pkgs=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libbenchmark-dev
      g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 libwine-dev
      xvfb xauth imagemagick python3 nsis
      nginx-light python3-pyftpdlib dante-server tinyproxy libnss-wrapper openssl)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# Debian starts the packaged servers as services; the tests run their own.
for s in nginx tinyproxy danted; do $SUDO service "$s" stop >/dev/null 2>&1 || true; done
exit 0
