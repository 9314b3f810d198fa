#!/bin/bash
# Bad input gets a clear outcome: over-long lines, NUL bytes, huge numbers
# and junk neither crash nor hang the engine, and it still answers after
# them.
# Usage: bash robustness.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

lang=$(head -c 50000 /dev/zero | tr '\0' 'a')
zuege=$(for i in $(seq 1 3000); do printf 'g1f3 g8f6 f3g1 f6g8 '; done)

{
    echo uci
    # A line beyond the reader's buffer arrives in pieces, each ignored.
    echo "$lang"
    echo "isready $lang"
    # NUL bytes end a line's text.
    printf 'is\0ready\nisready\0junk\n'
    printf '\0\0\0\n'
    # Thousands of moves in one line (cut by the reader, repetitions far
    # beyond the position's history).
    echo "position startpos moves $zuege"
    echo "go depth 1"
    # Huge and odd numbers.
    echo "go wtime -99999999999999999999999 btime -99999999999999999999999 winc -5 binc -5"
    printf '%s\nstop\n' "go depth 99999999999999999999" "go nodes 99999999999999999999999" \
        "go movetime 99999999999999999999 movestogo -99999999999999" "go mate 2147483647" \
        "go depth -5 mate -5 nodes -5 movetime -5"
    printf '%s\n' "position Chess960 99999999999999999999999 moves" "position Chess960 -99999999999999999999999" \
        "position fen 8/8/8/8/8/8/8/8 w - - 0 1" "position fen $lang" \
        "position fen rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 99999999999999999999 -99999999999999999"
    printf '%s\n' "setoption name Hash value 99999999999999999999999" "setoption name Hash value 1" \
        "setoption name MultiPV value -99999999999999999999999" "setoption name BookFile value $lang" \
        "setoption name" setoption "perft depth -99999999999999999999" "perft depth 1 Hash -5" \
        "perft depth 2 Hash 1 divide" "go searchmoves" "go excludemoves e2e4 d2d4 g1f3 b1c3" "go searchmoves $zuege" \
        ponderhit stop debug
    printf '\t \t go depth 1\t \n'
    printf 'go depth 1\r\n'
    printf '\xff\xfe\x80 \x01\x02\n'
    echo "isready"
} >"$tmp/in"

for engine in "$1" "$2"; do
    timeout 60 "$engine" <"$tmp/in" >"$tmp/out" 2>"$tmp/err"
    rc=$?
    [ $rc -eq 0 ] || fehlschlag "$engine: exit code $rc (124 = hang)"
    n=$(grep -c '^readyok$' "$tmp/out")
    [ "$n" = 3 ] || fehlschlag "$engine: $n readyok lines, expected 3"
    n=$(grep -c '^bestmove ' "$tmp/out")
    [ "$n" -ge 12 ] || fehlschlag "$engine: $n bestmove lines, expected at least 12"
    [ -s "$tmp/err" ] && fehlschlag "$engine wrote to stderr:"$'\n'"$(head -5 "$tmp/err")"
done

ergebnis robustness
