#!/usr/bin/env bash
# Sets everything up, builds, and runs every test with ctest (arguments go to ctest).
# VORN_WERROR=1 makes warnings errors, as CI does.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
extra=()
[ "${VORN_WERROR:-0}" = 1 ] && extra+=(-DVORN_WERROR=ON)
"$here/scripts/setup.sh" tests "$here/build/test" RelWithDebInfo "${extra[@]}"
cmake --build "$here/build/test"
cd "$here/build/test"
exec ctest --output-on-failure -j"$(nproc)" "$@"
