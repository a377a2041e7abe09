#!/usr/bin/env bash
# Installs the Debian packages a kind of build needs, then configures its build folder.
# Usage: scripts/setup.sh KIND BUILD_DIR BUILD_TYPE [extra cmake args...]
#   KIND: programs (the editor and tools), tests (programs, tests and benchmarks),
#         fuzz (the libFuzzer targets, built with clang)
# The folder is configured again whenever the arguments differ from the last run's.
set -euo pipefail

kind=$1; build_dir=$2; build_type=$3; shift 3

packages=(build-essential cmake ninja-build pkg-config libonig-dev)
# The programs: Qt, the X key grab of the hot key, the SVG icon engine, the Japanese fonts, the
# application icons' renderer and the bundled tool-bar icons, and what CPack's DEB needs.
gui=(qt6-base-dev libgl-dev libxcb1-dev libxcb-keysyms1-dev x11proto-dev libqt6svg6 fonts-ipafont-gothic fonts-noto-cjk
     librsvg2-bin tango-icon-theme dpkg-dev file)
# The outside comparison program the diff command runs.
runtime=(diffutils)
case "$kind" in
  programs) packages+=("${gui[@]}" "${runtime[@]}") ;;
  # The tests add an X server with XTest for the hot key, and the validators of the installed
  # desktop files and the MIME database the file associations are registered in, and the PDF
  # text extractor that reads printed pages back.
  tests)    packages+=("${gui[@]}" "${runtime[@]}" libgtest-dev libgmock-dev libbenchmark-dev
                       xvfb libxcb-xtest0-dev trayer desktop-file-utils shared-mime-info appstream poppler-utils) ;;
  fuzz)     packages+=(clang libclang-rt-14-dev) ;;
  *) echo "setup.sh: unknown kind '$kind' (programs, tests or fuzz)" >&2; exit 2 ;;
esac

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

source_dir=$(cd "$(dirname "$0")/.." && pwd)
args=(-S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" "$@")
stamp="$build_dir/.vorn-setup-args"
if [ ! -f "$build_dir/build.ninja" ] || [ "$(cat "$stamp" 2>/dev/null)" != "${args[*]}" ]; then
  # A cache made with other compilers or switches cannot be reconfigured in place.
  rm -f "$build_dir/CMakeCache.txt"
  cmake "${args[@]}"
  printf '%s' "${args[*]}" > "$stamp"
fi
