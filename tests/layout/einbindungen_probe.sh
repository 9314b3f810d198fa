#!/bin/bash
# The include-order check on small made-up trees: it must pass a sound
# tree and name the file and line of every kind of fault.
set -u
pruefer="$(cd "$(dirname "$0")" && pwd)/einbindungen.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fehler=0

readme='# Probe

## Layout

    oben/      the top
    main.cpp   a file directly in src/
    mitte/     the middle, with a description
               that goes on over two lines
    unten/     the bottom

## Next section

    not/       an entry
'

# A sound tree: downward includes, one within a folder, one next to the
# file, one from a subfolder of a folder.
gesund() {
    rm -rf "$tmp/w" && mkdir -p "$tmp/w/src/oben" "$tmp/w/src/mitte" "$tmp/w/src/unten/posix"
    printf '%s' "$readme" >"$tmp/w/README.md"
    printf '#include "mitte/b.h"\n#include "unten/c.h"\n' >"$tmp/w/src/oben/a.h"
    printf '#include "mitte/b.h"\n#include "unten/c.h"\n' >"$tmp/w/src/main.cpp"
    printf '#pragma once\n#include "mitte/b2.h"\n#include "b2.h"\n  #  include "unten/c.h"\n' >"$tmp/w/src/mitte/b.h"
    printf '#include <cstdio>\n' >"$tmp/w/src/mitte/b2.h"
    printf '#include "unten/posix/d.h"\n' >"$tmp/w/src/unten/c.h"
    printf '#include "unten/c.h"\n' >"$tmp/w/src/unten/posix/d.h"
}

# fall NAME RC TEXT [SHELL COMMANDS that change the sound tree]
fall() {
    local aus rc
    gesund
    (cd "$tmp/w" && eval "${4:-}")
    aus=$(bash "$pruefer" "$tmp/w" 2>&1)
    rc=$?
    [ "$rc" -eq "$2" ] && grep -qF -- "$3" <<<"$aus" && return
    echo "FAIL $1: exit $rc (want $2), want a line with: $3"
    printf '%s\n' "$aus" | sed 's/^/    /'
    fehler=1
}

fall "sound tree" 0 "includes follow the order 4 entries deep"
fall "back-edge" 1 'src/unten/c.h:3: unten/ includes "oben/a.h" from oben/, which lies above it' \
    'printf "#include <x>\n#include \"oben/a.h\"\n" >>src/unten/c.h'
fall "back-edge from a subfolder" 1 'src/unten/posix/d.h:1: unten/ includes "mitte/b.h" from mitte/' \
    'printf "#include \"mitte/b.h\"\n" >src/unten/posix/d.h'
fall "back-edge to a file in src/" 1 'src/mitte/b2.h:2: mitte/ includes "main.cpp" from main.cpp' \
    'printf "#include \"main.cpp\"\n" >>src/mitte/b2.h'
fall "file in src/ looks above it" 1 'src/main.cpp:3: main.cpp includes "oben/a.h" from oben/' \
    'printf "#include \"oben/a.h\"\n" >>src/main.cpp'
fall "climbing out with .." 1 'src/unten/c.h:2: includes "../oben/a.h"' \
    'printf "#include \"../oben/a.h\"\n" >>src/unten/c.h'
fall "unknown folder" 1 'src/unten/c.h:2: includes "anders/x.h", which names no entry' \
    'printf "#include \"anders/x.h\"\n" >>src/unten/c.h'
fall "folder not in the order" 1 "src/neu/: missing from the order in README.md" \
    'mkdir src/neu && printf "#include \"unten/c.h\"\n" >src/neu/x.h'
fall "folder gone from the tree" 1 "README.md: oben/ is listed but src/ has no such entry" 'rm -r src/oben'
fall "no order in the README" 1 "no layer order found" 'printf "# Probe\n" >README.md'
fall "entry listed twice" 1 "README.md: mitte/ is listed twice" \
    'sed -i "s|^    unten/ |    mitte/ |" README.md'

[ "$fehler" -eq 0 ] && echo "include-order check: all cases behave"
exit "$fehler"
