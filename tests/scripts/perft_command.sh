#!/bin/bash
# The "perft" command: line formats, node counts, and identical output from
# the generic and the popcnt program.
# Usage: bash perft_command.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

eingabe="uci
perft depth 3
perft depth 2 divide
perft depth 1 divide
perft
position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1
perft depth 3 Hash 16
perft divide depth 2 Hash 1
position startpos moves e2e4 e7e5
perft depth 0
quit"

for engine in "$1" "$2"; do
    printf '%s\n' "$eingabe" | timeout 120 "$engine" >"$tmp/$(basename "$engine")" 2>&1 ||
        fehlschlag "$engine exited with an error"
    # Only the perft lines, with the times (which vary) replaced.
    grep '^info ' "$tmp/$(basename "$engine")" | grep -v '^info string ' |
        sed -E 's/ time [0-9]+ / time T /' >"$tmp/$(basename "$engine").perft"
    # "perft" without a depth is refused in one line.
    [ "$(grep -c '^info string perft without depth' "$tmp/$(basename "$engine")")" = 1 ] ||
        fehlschlag "$engine: 'perft' without depth not refused in one line"
done
a="$tmp/$(basename "$1").perft"
b="$tmp/$(basename "$2").perft"
diff -u "$a" "$b" || fehlschlag "generic and popcnt perft output differ"

# Line formats: one blank between fields, nodes last.
bad=$(grep -vE '^info (move [a-h][1-8][a-h][1-8][nbrq]? )?depth -?[0-9]+ time T nodes [0-9]+$' "$a")
[ -z "$bad" ] || fehlschlag "malformed perft lines:"$'\n'"$bad"

erwartet() { # line number, expected text
    local ist
    ist=$(sed -n "$1p" "$a")
    [ "$ist" = "$2" ] || fehlschlag "line $1: '$ist', expected '$2'"
}
# depth 3 from the start: 8902
erwartet 1 'info depth 3 time T nodes 8902'
bereich() { # first line, last line, pattern every line must match
    sed -n "$1,$2p" "$a" | grep -qvE "$3" && fehlschlag "lines $1 to $2 do not all match '$3'"
}
# divide 2: 20 moves with 20 replies each, total 400
bereich 2 21 '^info move [a-h][1-8][a-h][1-8] depth 1 time T nodes 20$'
erwartet 22 'info depth 2 time T nodes 400'
# divide 1: every move counts 0, the total counts the moves
bereich 23 42 '^info move [a-h][1-8][a-h][1-8] depth 0 time T nodes 0$'
erwartet 43 'info depth 1 time T nodes 20'
# (the refused "perft" printed no count); Kiwipete depth 3: 97862
erwartet 44 'info depth 3 time T nodes 97862'
# Kiwipete divide 2: 48 moves, 2039 nodes
erwartet 93 'info depth 2 time T nodes 2039'
erwartet 94 'info depth 0 time T nodes 0'
[ "$(wc -l <"$a")" = 94 ] || fehlschlag "expected 94 perft lines, got $(wc -l <"$a")"

ergebnis perft_command
