#!/usr/bin/env bash
# Sets everything up, builds, and runs every test with ctest.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/setup.sh" "$here/build/test" RelWithDebInfo
cmake --build "$here/build/test"
cd "$here/build/test"
exec ctest --output-on-failure -j"$(nproc)" "$@"
