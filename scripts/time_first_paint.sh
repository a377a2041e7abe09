#!/bin/sh
# Times opening a 100 MB Shift_JIS file from the command line to the first painted screen,
# against vim's load of the same file, and prints the medians of five runs and their ratio.
# Usage: scripts/time_first_paint.sh [build folder] (default build/dev)
set -eu
build=${1:-build/dev}
editor=$(realpath "$build/bin/VornEditor")
command -v vim >/dev/null || { echo "vim is needed as the baseline (apt-get install vim)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/big_sjis.txt
python3 - "$file" <<'PY'
import sys
line = ("日本語のテキストとASCII text 混在の行です。漢字かなカナ０１２３ " * 2).encode("cp932")
out = bytearray()
i = 0
while len(out) < 100 * 1024 * 1024:
    out += str(i).encode() + b" " + line + b"\r\n"
    i += 1
open(sys.argv[1], "wb").write(out)
PY
cat "$file" >/dev/null
seconds() { python3 -c 'import subprocess,sys,time; t=time.perf_counter(); r=subprocess.run(sys.argv[1:]); sys.exit(r.returncode) if r.returncode else print(f"{time.perf_counter()-t:.3f}")' "$@"; }
median() { sort -n | sed -n 3p; }
# /f keeps the measurement out of the user's file history.
vorn=$(for i in 1 2 3 4 5; do QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} VORN_QUIT_AFTER_FIRST_PAINT=1 \
  seconds timeout 120 "$editor" /f "$file"; done | median)
vim=$(for i in 1 2 3 4 5; do seconds timeout 120 vim -u NONE -i NONE -n -es --cmd 'set fencs=cp932' -c q "$file"; done | median)
echo "first paint: VornEditor ${vorn} s, vim load ${vim} s, ratio $(python3 -c "print(f'{$vorn/$vim:.2f}')") (target <= 0.30)"
