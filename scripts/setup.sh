#!/usr/bin/env bash
# Installs the Debian packages the build needs, then configures a build folder.
# Usage: scripts/setup.sh BUILD_DIR BUILD_TYPE [extra cmake args...]
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  libonig-dev libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "VornEditor needs these packages. Run as root:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

build_dir=$1; build_type=$2; shift 2
if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@"
fi
