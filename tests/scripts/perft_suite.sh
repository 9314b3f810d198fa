#!/bin/bash
# velkaris_bench perft-suite (behind `make perft-full`): counts checked
# against the files, positions the FEN reader refuses counted as refused
# (once each, no failure), a line per file, the exit status.
# Usage: bash perft_suite.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
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

ergebnis perft_suite
