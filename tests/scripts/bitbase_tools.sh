#!/bin/bash
# The bitbase tools of the command line: --CreateBitbase writes the same
# file from both programs, --ExplainBitbase dumps it, bad names and missing
# smaller bitbases are refused with a message and a failing exit code, and
# a search with bitbases loaded finds the won ending.
# Usage: bash bitbase_tools.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
# The tools run in directories of their own: the programs by full path.
set -- "$(readlink -f "$1")" "$(readlink -f "$2")" "$3"

for engine in "$1" "$2"; do
    d="$tmp/$(basename "$engine")"
    mkdir -p "$d"
    (cd "$d" && for m in KDK KKD KTK KKT; do "$engine" --CreateBitbase $m >>log.txt 2>&1 || exit 1; done) ||
        fehlschlag "$engine: --CreateBitbase failed: $(cat "$d/log.txt")"
    grep -q '^KDK: Iteration 0 fertig$' "$d/log.txt" || fehlschlag "$engine: no 'Iteration 0 fertig' line"
    grep -qE '^KTK: Iteration [0-9]+: 0$' "$d/log.txt" || fehlschlag "$engine: no final iteration line"
    ls "$d"/*.tmp >/dev/null 2>&1 && fehlschlag "$engine: a temporary file was left behind"
done
for m in KDK KKD KTK KKT; do
    cmp -s "$tmp/$(basename "$1")/$m.vbb" "$tmp/$(basename "$2")/$m.vbb" ||
        fehlschlag "$m.vbb differs between the generic and the popcnt program"
done

d="$tmp/$(basename "$2")"
cd "$d" || exit 1
# (The dump's contents: the bitbase file tests.)
"$2" --ExplainBitbase KTK && [ -s KTK.txt ] || fehlschlag "--ExplainBitbase KTK failed"

# Refusals.
meldet 1 'invalid material name' "$2" --CreateBitbase KXK
rm -f KDK.vbb
meldet 1 'Fehler in BitPruefen' "$2" --CreateBitbase KDKT
[ -e KDKT.vbb ] && fehlschlag "KDKT.vbb written although KDK was missing"

# A search with the rook ending's bitbases loaded finds the win. (The end
# of input, not "quit", lets the search finish and report.)
d="$tmp/$(basename "$1")"
antwort=$(printf 'uci\nsetoption name BitbasePath value %s\nsetoption name BitbaseCache value 4\nposition fen 8/8/8/4k3/8/8/8/R3K3 w - - 0 1\ngo depth 14\n' "$d" |
    timeout 60 "$2" | grep -E '^(info .* score|bestmove)' | tail -n 2)
echo "$antwort" | grep -q 'score mate\|score cp [0-9]\{3,\}' || fehlschlag "no winning score with bitbases: $antwort"
echo "$antwort" | grep -q '^bestmove ' || fehlschlag "no bestmove: $antwort"

# --VerifyBitbase checks a directory against the checksum files the
# generator wrote and names a damaged file; a search says once that it
# does not use it.
meldet 0 '^KTK.vbb: ok$' "$1" --VerifyBitbase "$d"
printf '\x55' | dd of="$d/KTK.vbb" bs=1 seek=300 conv=notrunc 2>/dev/null
meldet 1 '^KTK.vbb: DAMAGED (checksum differs from KTK.crc)$' "$1" --VerifyBitbase "$d"
antwort=$(printf 'uci\nsetoption name BitbasePath value %s\nsetoption name BitbaseCache value 4\nposition fen 8/8/8/4k3/8/8/8/R3K3 w - - 0 1\ngo depth 8\n' "$d" |
    timeout 60 "$1" | grep -c "^info string bitbase file $d[/\\]KTK.vbb is damaged (checksum differs from KTK.crc), not used$")
[ "$antwort" = 1 ] || fehlschlag "$antwort messages about the damaged KTK.vbb"

ergebnis bitbase_tools
