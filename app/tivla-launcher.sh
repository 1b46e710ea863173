#!/bin/sh
# Starts Тивла from a folder of the user's own, "$HOME/Тивла": the program opens and saves
# boards in "примеры" and writes snapshots to "Скриншоты", both relative to the folder it runs
# in, and creates neither itself. Installed as bin/tivla-launcher beside bin/tivla.
#   tivla-launcher                 prepare the folder, then run the program in it
#   tivla-launcher --prepare-only  prepare the folder, print its path, and stop
#
# The folder sits in the home folder itself, not under XDG_DATA_HOME: boards and snapshots are
# the user's own documents, opened and saved through the program's dialogs and looked at
# with other programs, so they belong where a person finds them.
set -eu

here=$(CDPATH='' cd -- "$(dirname -- "$0")" && pwd)
# Filled in by the build: the data folder relative to the folder of this script.
examples="$here/@TIVLA_DATA_FROM_BIN@/tivla/примеры"

usage() {
    echo "usage: tivla-launcher [--prepare-only]" >&2
    exit 2
}

prepare_only=false
case $# in
0) ;;
1) [ "$1" = "--prepare-only" ] || usage
   prepare_only=true ;;
*) usage ;;
esac

if [ -z "${HOME:-}" ]; then
    echo "tivla-launcher: HOME is not set, so there is no folder for boards and snapshots" >&2
    exit 1
fi
folder="$HOME/Тивла"
mkdir -p -- "$folder/примеры" "$folder/Скриншоты"

# The examples are copied only where missing: a board the user changed or replaced under an
# example's name stays as the user left it.
if [ -d "$examples" ]; then
    for board in "$examples"/*; do
        [ -f "$board" ] || continue
        target="$folder/примеры/${board##*/}"
        [ -e "$target" ] || cp -- "$board" "$target"
    done
fi

if [ "$prepare_only" = true ]; then
    printf '%s\n' "$folder"
    exit 0
fi
cd -- "$folder"
exec "$here/tivla"
