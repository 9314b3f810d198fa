#!/bin/bash
# Searches each FEN of a file for a fixed time with bitbases off and on and
# prints, per position and mode, the time of the first mate score (or -),
# the last depth, the nodes per second and the best move.
# Usage: tools/bitbase_messung.sh ENGINE BITBASE_DIR FENFILE [MS]
set -u
if [ $# -lt 3 ] || [ ! -x "$1" ] || [ ! -d "$2" ] || [ ! -f "$3" ]; then
    echo "usage: tools/bitbase_messung.sh ENGINE BITBASE_DIR FENFILE [MS]" >&2
    exit 2
fi
engine=$1
verzeichnis=$(cd "$2" && pwd)
datei=$3
ms=${4:-5000}
while IFS= read -r fen; do
    [ -z "$fen" ] && continue
    for cache in 0 32; do
        printf 'uci\nsetoption name BitbasePath value %s\nsetoption name BitbaseCache value %s\nposition fen %s\ngo movetime %s\n' \
            "$verzeichnis" "$cache" "$fen" "$ms" >/tmp/bitbase_messung.in
        # Keep the input open until the search has answered.
        ausgabe=$( (cat /tmp/bitbase_messung.in; sleep $((ms / 1000 + 2)); echo quit) | "$engine")
        matt=$(echo "$ausgabe" | awk '/score mate [0-9]/ { for (i = 1; i <= NF; ++i) if ($i == "time") { print $(i + 1); exit } }')
        letzte=$(echo "$ausgabe" | grep '^info .*nps' | tail -n 1)
        tiefe=$(echo "$letzte" | awk '{ for (i = 1; i <= NF; ++i) if ($i == "depth") print $(i + 1) }')
        nps=$(echo "$letzte" | awk '{ for (i = 1; i <= NF; ++i) if ($i == "nps") print $(i + 1) }')
        zug=$(echo "$ausgabe" | awk '/^bestmove/ { print $2 }')
        printf '%-45s cache %3s MB: first mate at %6s ms, depth %3s, %9s nps, bestmove %s\n' \
            "$fen" "$cache" "${matt:--}" "${tiefe:--}" "${nps:--}" "$zug"
    done
done <"$datei"
