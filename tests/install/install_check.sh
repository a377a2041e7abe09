#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks it as the desktop and a first start see it:
# the command-line links reach the programs, the regex module sits beside the editor, the
# desktop entries and the AppStream file validate, every icon size is there at its size, and a
# first start of the installed editor keeps the user's files out of the install and takes its
# file types from the installed templates.
# Usage: install_check.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1; work=$2
prefix=$work/prefix
rm -rf "$work"; mkdir -p "$work"
fail() { echo "install check: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > "$work/install.log"

programs=$prefix/libexec/VornEditor
for p in VornEditor VornE VornGrep vornconv vornmsg; do
  [ -L "$prefix/bin/$p" ] || fail "bin/$p is not a link"
  [ "$(readlink -f "$prefix/bin/$p")" = "$(readlink -f "$programs/$p")" ] || fail "bin/$p does not reach $programs/$p"
  [ -x "$programs/$p" ] || fail "$programs/$p is not executable"
done
[ -f "$programs/libVornRegexp.so" ] || fail "the regex module is not beside the editor"
for f in Setting/Setting.txt Setting/Std.ini Help/Index.html Help/CMD.html Readme.txt; do
  [ -s "$prefix/share/VornEditor/$f" ] || fail "share/VornEditor/$f is missing"
done
grep -q 'GrepAction\|<code>Grep</code>' "$prefix/share/VornEditor/Help/CMD.html" || fail "CMD.html lists no commands"

for id in org.vorneditor.VornEditor org.vorneditor.VornGrep; do
  desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "$id.desktop does not validate"
  [ -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon for $id"
  for s in 16 22 24 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${s}x${s}/apps/$id.png
    file "$png" | grep -q "PNG image data, $s x $s," || fail "$png is not a $s px PNG"
  done
done
appstreamcli validate --no-net "$prefix/share/metainfo/org.vorneditor.VornEditor.metainfo.xml" \
  || fail "the AppStream metadata does not validate"

# A first start as the user (root in CI, who may write anywhere): nothing may land in the
# install, whose removal would leave it behind; the settings go to the user's data folder.
home=$work/home
mkdir -p "$home"
(cd "$prefix" && find . | sort) > "$work/before.txt"
HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=offscreen \
  VORN_QUIT_AFTER_FIRST_PAINT=1 timeout 60 "$prefix/bin/VornEditor" || fail "the installed editor did not start and end"
(cd "$prefix" && find . | sort) > "$work/after.txt"
diff "$work/before.txt" "$work/after.txt" || fail "the first start wrote into the install"
[ -d "$home/data/VornEditor/Macro" ] || fail "no Macro folder in the user's data folder"
# The file types come from the installed Setting templates, not from a folder beside the program.
ls "$home"/data/VornEditor/*/FSet1.ini > /dev/null 2>&1 || fail "the first start did not import the Setting templates"
echo "install check passed"
