#!/bin/bash
# The random mover started with --Rnd: no options, legal moves only, the
# only move when there is one, "bestmove 0000" without any, and a ponder
# search answered only after "ponderhit" or "stop".
# Usage: bash random_mover.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

for engine in "$1" "$2"; do
    name=$(basename "$engine")
    printf 'uci\nsetoption name Hash value 64\nquit\n' | timeout 10 "$engine" --Rnd --Rnd >"$tmp/out" 2>"$tmp/err"
    printf 'id name Velkaris 2015-08-06\nid author Quorvane\nuciok\n' | diff -u - "$tmp/out" || fehlschlag "$name: uci answer"
    [ -s "$tmp/err" ] && fehlschlag "$name: --Rnd twice complains"

    # Twenty random moves from the start position are all legal first moves.
    legal="a2a3|a2a4|b2b3|b2b4|c2c3|c2c4|d2d3|d2d4|e2e3|e2e4|f2f3|f2f4|g2g3|g2g4|h2h3|h2h4|b1a3|b1c3|g1f3|g1h3"
    { echo uci; for i in $(seq 20); do echo "position startpos"; echo "go wtime 1000 btime 1000"; done; } |
        timeout 20 "$engine" --Rnd >"$tmp/out"
    [ "$(grep -c '^bestmove ' "$tmp/out") $(grep -cE "^bestmove ($legal)( |\$)" "$tmp/out")" = "20 20" ] ||
        fehlschlag "$name: not twenty legal answers: $(grep '^bestmove ' "$tmp/out" | cut -d' ' -f2 | tr '\n' ' ')"

    # One legal move (the king must take the checking queen) and none at all.
    printf 'uci\nposition fen 7k/6Q1/8/8/8/8/8/K7 b - - 0 1\ngo\nposition fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1\ngo\n' |
        timeout 10 "$engine" --Rnd >"$tmp/out"
    grep '^bestmove' "$tmp/out" | tr '\n' ' ' | grep -qx 'bestmove h8g7 bestmove 0000 ' || fehlschlag "$name: forced and no move"

    # A ponder search waits for "ponderhit".
    engine_start "$engine" --Rnd
    senden uci "position startpos" "go ponder"
    warten '^uciok$' 5000 || fehlschlag "$name: no uciok"
    warten '^' 300 && fehlschlag "$name: answered while pondering: $ZEILE"
    bis_bestmove ponderhit 2000 || fehlschlag "$name: no answer after ponderhit"
    senden quit
    engine_ende 2000 offen
done

ergebnis random_mover
