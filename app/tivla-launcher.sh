#!/bin/sh
# Starts Тивла from a folder of the user's own, "$HOME/Тивла": the program opens and saves
# boards in "примеры" and writes snapshots to "Скриншоты", both relative to the folder it runs
# in, and creates neither itself. Installed as bin/tivla-launcher beside bin/tivla.
#   tivla-launcher [FILE]          prepare the folder, then run the program in it (with FILE
#                                  to open, as given by the desktop on a double click)
#   tivla-launcher --prepare-only  prepare the folder, print its path, and stop
#
# A folder that cannot be prepared (a read-only or full home, no HOME) does not keep the
# program from starting: each failed step is named on standard error and the program runs in
# the folder if it could be made, otherwise in the folder the launcher started in.
#
# The folder sits in the home folder itself, not under XDG_DATA_HOME: boards and snapshots are
# the user's own documents, opened and saved through the program's dialogs and looked at
# with other programs, so they belong where a person finds them.
set -eu

here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd)
# Filled in by the build: the data folder relative to the folder of this script.
examples="$here/@TIVLA_DATA_FROM_BIN@/tivla/примеры"

usage() {
    echo "usage: tivla-launcher [--prepare-only | [--] FILE]" >&2
    exit 2
}

prepare_only=false
file=
case $# in
0) ;;
1) case $1 in
   --prepare-only) prepare_only=true ;;
   -?*) usage ;;
   *) file=$1 ;;
   esac ;;
2) [ "$1" = "--" ] || usage
   file=$2 ;;
*) usage ;;
esac
[ $# -eq 0 ] || [ -n "$file" ] || [ "$prepare_only" = true ] || usage
# The program runs in the user's folder: a relative name is taken from where we started.
case $file in
''|/*) ;;
*) file="$PWD/$file" ;;
esac

prepared=true
warn() {
    printf 'tivla-launcher: %s\n' "$1" >&2
    prepared=false
}

folder=
if [ -z "${HOME:-}" ]; then
    warn "HOME is not set, so there is no folder for boards and snapshots"
else
    folder="$HOME/Тивла"
    mkdir -p -- "$folder/примеры" "$folder/Скриншоты" ||
        warn "cannot make the folders «примеры» and «Скриншоты» in «$folder»"
fi

# The examples are copied only where missing: a board the user changed or replaced under an
# example's name stays as the user left it.
if [ -n "$folder" ] && [ -d "$examples" ] && [ -d "$folder/примеры" ]; then
    for board in "$examples"/*; do
        [ -f "$board" ] || continue
        target="$folder/примеры/${board##*/}"
        [ -e "$target" ] || cp -- "$board" "$target" ||
            warn "cannot copy the example «${board##*/}» to «$folder/примеры»"
    done
fi

if [ "$prepare_only" = true ]; then
    [ "$prepared" = true ] || exit 1
    printf '%s\n' "$folder"
    exit 0
fi
if [ -z "$folder" ] || ! cd -- "$folder" 2>/dev/null; then
    warn "Тивла starts in «$PWD» instead of its own folder"
fi
if [ -n "$file" ]; then
    exec "$here/tivla" -- "$file"
fi
exec "$here/tivla"
