#!/bin/bash
# The opening book out of the box and the book tools from the command line:
# both programs answer the start position from the default book at once
# (whatever the working directory), "--book" knows its forms and exit
# codes, and a book made from games by the "book" commands is played.
# Usage: bash book_tools.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

[ -s "$(dirname "$1")/Velkaris.opn" ] || fehlschlag "no Velkaris.opn next to the programs"

# A book move comes without a search: no "info depth" line before it. (The
# input ends without "quit", so a search still prints its move.)
buchzug() { # engine, commands before "go"
    (cd "$tmp" && printf 'uci\n%s\ngo depth 3\n' "$2" | timeout 30 "$1" 2>"$tmp/err")
}
for engine in "$1" "$2"; do
    out=$(buchzug "$engine" "position startpos")
    grep -q '^info depth' <<<"$out" && fehlschlag "$engine searched the start position"
    grep -Eq '^bestmove [a-h][1-8][a-h][1-8]' <<<"$out" || fehlschlag "$engine: no book move: $out"
    out=$(buchzug "$engine" $'setoption name OwnBook value false\nposition startpos')
    grep -q '^info depth' <<<"$out" || fehlschlag "$engine did not search with OwnBook off"
    [ -s "$tmp/err" ] && fehlschlag "$engine wrote to standard error: $(head -3 "$tmp/err")"
done

# The tool's forms.
cd "$tmp" || exit 1
for argumente in "--book a b c d e" "--book print x" "--book pgn" "--book write"; do
    # shellcheck disable=SC2086
    lauf "$1" '' $argumente
    [ $RC -eq 255 ] || fehlschlag "velkaris $argumente: exit code $RC, expected 255"
    gleich "velkaris $argumente" "$tmp/err" "Parameter error"
done
"$1" --book print >out 2>err || fehlschlag "--book print failed"
grep -qx 'Baumgröße: 1, Neue Knoten: 0' out || fehlschlag "--book print without a tree: $(head -3 out)"
printf '[White "a"]\n[Black "b"]\n[Result "1-0"]\n1. e4 e5 2. Nf3 Nc6 1-0\n' >g.pgn
"$1" --book pgn g.pgn 2>err || fehlschlag "--book pgn failed: $(cat err)"
[ -s Buchberechnung.tmp.bin ] || fehlschlag "--book pgn wrote no Buchberechnung.tmp.bin"
[ -e Buchberechnung.bin ] && fehlschlag "--book pgn wrote Buchberechnung.bin"
meldet 1 'Cannot open file' "$1" --book pgn missing.pgn
"$1" --book write b.opn 2>err || fehlschlag "--book write failed"
[ "$(tr -d '\r' <b.opn | tail -c 6)" = " * -1" ] || fehlschlag "--book write: $(cat b.opn)"
meldet 1 '^info string error opening the output file /nonexistent/b.opn' "$1" --book write /nonexistent/b.opn
# A damaged tree is refused and left alone.
printf 'junk' >Buchberechnung.bin
meldet 255 '' "$1" --book print
[ "$(cat Buchberechnung.bin)" = junk ] || fehlschlag "the damaged tree was overwritten"

# Games into statistics, statistics into a book, the book played.
# Three games (they differ late, so each counts).
for schluss in Qb3 Qe2 Qd2; do
    printf '[White "a"]\n[Black "b"]\n[Result "1-0"]\n1. d4 d5 2. c4 e6 3. Nc3 Nf6 4. Bg5 Be7 5. e3 O-O 6. Nf3 Nbd7 7. Rc1 c6 8. Bd3 dxc4 9. Bxc4 Nd5 10. Bxe7 Qxe7 11. O-O Nxc3 12. Rxc3 e5 13. Qc2 exd4 14. exd4 Nf6 15. Re1 Qd8 16. Ne5 Be6 17. Bxe6 fxe6 18. %s 1-0\n\n' $schluss
done >partien.pgn
printf 'uci\nbook add partien.pgn\nbook write eigen.opn threshold 2000\nbook entropy eigen.opn\nquit\n' | "$1" >out 2>err
grep -qx 'info book entropy 0.00' out || fehlschlag "book commands: $(tail -3 out) $(cat err)"
out=$(buchzug "$1" $'setoption name BookFile value eigen.opn\nposition startpos moves d2d4 d7d5 c2c4')
grep -q '^bestmove e7e6' <<<"$out" || fehlschlag "own book not played: $out"

ergebnis book_tools
