#!/bin/bash
# The "perft" command: line formats, node counts, and identical output from
# the generic and the popcnt program. Then velkaris_bench perft-suite.
# Usage: bash perft.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

printf '%s\n' uci 'perft depth 3' 'perft depth 2 divide' 'perft depth 1 divide' perft \
    'position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1' 'perft depth 3 Hash 16' \
    'perft divide depth 2 Hash 1' 'position startpos moves e2e4 e7e5' 'perft depth 0' quit >"$tmp/eingabe"

for engine in "$1" "$2"; do
    aus=$tmp/$(basename "$engine")
    timeout 120 "$engine" <"$tmp/eingabe" >"$aus" 2>&1 || fehlschlag "$engine exited with an error"
    # Only the perft lines, with the times (which vary) replaced.
    grep '^info ' "$aus" | grep -v '^info string ' | sed -E 's/ time [0-9]+ / time T /' >"$aus.perft"
    # "perft" without a depth is refused in one line.
    [ "$(grep -c '^info string perft without depth' "$aus")" = 1 ] ||
        fehlschlag "$engine: 'perft' without depth not refused in one line"
done
a="$tmp/$(basename "$1").perft"
diff -u "$a" "$tmp/$(basename "$2").perft" || fehlschlag "generic and popcnt perft output differ"

# Line formats: one blank between fields, nodes last.
bad=$(grep -vE '^info (move [a-h][1-8][a-h][1-8][nbrq]? )?depth -?[0-9]+ time T nodes [0-9]+$' "$a")
[ -z "$bad" ] || fehlschlag "malformed perft lines:"$'\n'"$bad"

# Lines by number: depth 3 from the start (8902); divide 2 (20 moves with 20
# replies each, total 400); divide 1 (every move counts 0, the total counts
# the moves); the refused "perft" printed no count; Kiwipete depth 3 (97862)
# and divide 2 (48 moves, 2039 nodes); depth 0.
[ "$(wc -l <"$a")" = 94 ] || fehlschlag "expected 94 perft lines, got $(wc -l <"$a")"
while IFS='|' read -r von bis muster; do
    falsch=$(sed -n "$von,${bis}p" "$a" | grep -vx "$muster" | head -3)
    [ -z "$falsch" ] || fehlschlag "lines $von to $bis must read '$muster', not:"$'\n'"$falsch"
done <<'END'
1|1|info depth 3 time T nodes 8902
2|21|info move [a-h][1-8][a-h][1-8] depth 1 time T nodes 20
22|22|info depth 2 time T nodes 400
23|42|info move [a-h][1-8][a-h][1-8] depth 0 time T nodes 0
43|43|info depth 1 time T nodes 20
44|44|info depth 3 time T nodes 97862
93|93|info depth 2 time T nodes 2039
94|94|info depth 0 time T nodes 0
END

# velkaris_bench perft-suite (behind `make perft-full`): counts checked
# against the files, positions the FEN reader refuses counted as refused
# (once each, no failure), a line per file, the exit status.
bench=$(dirname "$1")/velkaris_bench
cd "$tmp"

# Both line formats; the refused position (castling rights for a king off
# its first rank) in each.
printf '%s\n' '4k3/8/8/8/8/8/8/4K3 w - - 0 1 ;D1 5 ;D2 25 ;D3 170' \
    '4k3/8/8/8/8/8/4K3/7R w K - 0 1 ;D1 20 ;D2 300' >zeilen.epd
printf '%s\n' '# a comment' 'id a' 'epd 4k3/8/8/8/8/8/4K3/7R w K -' 'perft 1 20' 'perft 2 300' \
    'id b' 'epd r3k2r/8/8/8/8/8/8/R3K2R w KQkq -' 'perft 1 26' 'perft 2 568' 'perft 5 7594526' >bloecke.perft
printf '%s\n' '4k3/8/8/8/8/8/8/4K3 w - - 0 1 ;D1 6' >falsch.epd

# case | files | exit status | lines the output must hold (separated by ';')
faelle="passing files|zeilen.epd bloecke.perft|0|perft-suite: zeilen.epd: 3 checks, 0 failures, 1 refused, 0 skipped;perft-suite: bloecke.perft: 2 checks, 0 failures, 1 refused, 1 skipped;perft-suite: 5 checks, 0 failures, 2 positions refused, 1 skipped above the budget of 100000 nodes
a wrong count|zeilen.epd falsch.epd|1|MISMATCH falsch.epd:1 depth 1: got 5 expected 6;perft-suite: falsch.epd: 1 checks, 1 failures, 0 refused, 0 skipped
a missing file|zeilen.epd fehlt.epd|1|cannot open fehlt.epd"

while IFS='|' read -r fall dateien status zeilen; do
    # shellcheck disable=SC2086 # the files are words
    "$bench" perft-suite --budget 100000 $dateien >out 2>&1
    ist=$?
    [ $ist = "$status" ] || fehlschlag "$fall: exit status $ist, expected $status: $(cat out)"
    IFS=';' read -ra erwartet <<<"$zeilen"
    for z in "${erwartet[@]}"; do
        grep -q "^$z" out || fehlschlag "$fall: no line '$z' in: $(cat out)"
    done
    grep -q '^REFUSED zeilen.epd:2: ' out || fehlschlag "$fall: the refused position not named: $(cat out)"
done <<<"$faelle"

ergebnis perft
