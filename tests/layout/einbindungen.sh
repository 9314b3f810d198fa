#!/bin/bash
# The include order of src/: every #include "..." of a file under src/ must
# name a file of its own folder or of a folder below it. The order is the
# one written in README.md: the first indented block under "## Layout",
# one entry a line, top first; an entry is a folder of src/ ("search/") or a
# file directly in src/ ("main.cpp"), and continuation lines start with more
# blanks. Includes within one folder are always allowed (so the split points
# of search/ may call back into its node search), whatever their direction.
# The entries and the tree must agree both ways.
# Usage: bash einbindungen.sh [ROOT]   (ROOT holds README.md and src/)
set -u
wurzel=${1:-"$(dirname "$0")/../.."}
cd "$wurzel" || { echo "no such directory: $wurzel"; exit 1; }
[ -f README.md ] && [ -d src ] || { echo "$wurzel: README.md or src/ missing"; exit 1; }

# The order, top first.
ordnung=$(awk '
    /^## / { imAbschnitt = ($0 == "## Layout"); if (imBlock) exit; next }
    !imAbschnitt { next }
    /^    [^ ]/ { imBlock = 1; print $1; next }
    /^     / && imBlock { next }
    imBlock { exit }
' README.md)
if [ "$(printf '%s\n' "$ordnung" | grep -c .)" -lt 2 ]; then
    echo "README.md: no layer order found (an indented block under \"## Layout\")"
    exit 1
fi

# Every entry of src/ as the order names it: folders with a slash.
baum=$(cd src && for e in *; do if [ -d "$e" ]; then echo "$e/"; else echo "$e"; fi; done)

find src -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.hpp' -o -name '*.inc' \) | LC_ALL=C sort |
awk -v ordnung="$ordnung" -v baum="$baum" '
BEGIN {
    n = split(ordnung, namen, "\n")
    for (i = 1; i <= n; i++) {
        if (namen[i] in rang) { print "README.md: " namen[i] " is listed twice"; fehler++ }
        rang[namen[i]] = i
    }
    m = split(baum, eintraege, "\n")
    for (i = 1; i <= m; i++) {
        vorhanden[eintraege[i]] = 1
        if (!(eintraege[i] in rang)) { print "src/" eintraege[i] ": missing from the order in README.md"; fehler++ }
    }
    for (i = 1; i <= n; i++)
        if (!(namen[i] in vorhanden)) { print "README.md: " namen[i] " is listed but src/ has no such entry"; fehler++ }
}
# The entry a path under src/ belongs to.
function eintrag(pfad,    teile) {
    if (split(pfad, teile, "/") == 1) return pfad
    return teile[1] "/"
}
function existiert(pfad,    zeile) {
    if ((getline zeile < pfad) >= 0) { close(pfad); return 1 }
    return 0
}
{
    datei = $0
    eigen = eintrag(substr(datei, 5))
    if (!(eigen in rang)) next   # reported above
    ordner = datei; sub(/\/[^\/]*$/, "", ordner)
    nr = 0
    while ((getline zeile < datei) > 0) {
        nr++
        if (zeile !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
        ziel = zeile; sub(/^[^"]*"/, "", ziel); sub(/".*$/, "", ziel)
        geprueft++
        if (ziel ~ /(^|\/)\.\.(\/|$)/) {
            print datei ":" nr ": includes \"" ziel "\": name the folder instead of climbing out with .."
            fehler++
            continue
        }
        # The compiler looks next to the including file first, then in src/.
        if (existiert(ordner "/" ziel)) anderes = eintrag(substr(ordner "/" ziel, 5))
        else anderes = eintrag(ziel)
        if (!(anderes in rang)) {
            print datei ":" nr ": includes \"" ziel "\", which names no entry of the order in README.md"
            fehler++
        } else if (rang[anderes] < rang[eigen]) {
            print datei ":" nr ": " eigen " includes \"" ziel "\" from " anderes ", which lies above it"
            fehler++
        }
    }
    close(datei)
}
END {
    if (!fehler && !geprueft) { print "no includes found under src/"; exit 1 }
    if (fehler) { print fehler " violation(s) of the include order"; exit 1 }
    print geprueft " includes follow the order " n " entries deep"
}'
