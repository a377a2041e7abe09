#!/usr/bin/env bash
# Sets everything up, builds a release build and starts VornEditor with the given arguments.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/setup.sh" programs "$here/build/release" Release -DVORN_TESTS=OFF -DVORN_BENCH=OFF >&2
cmake --build "$here/build/release" --target VornEditor VornRegexp vornconv >&2
exec "$here/build/release/bin/VornEditor" "$@"
