#!/bin/bash
# Unusual and damaged files from the outside: FIFOs and devices are
# "cannot open" at once instead of hanging the program; a disk that is
# full makes every writer say which file it could not write (and keep the
# old one); a Velkaris.ini cannot silence the XBoard handshake; one answer
# per input line from the bitbase bench; a book of endlessly repeated
# lines loads and answers quickly.
# Usage: bash damaged_files.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
set -- "$(readlink -f "$1")" "$(readlink -f "$2")" "$(readlink -f "$3")"
bench=$(dirname "$1")/velkaris_bench
cd "$tmp" || exit 1
mkfifo fifo
mkdir ordner

# Lines of a UCI session after "uciok", and the standard error, in one.
# The engine's answer to "uci" left out. Its messages on standard error may
# overtake that answer where the two streams reach us by different ways (the
# Windows programs under Wine), so the answer's lines are dropped by their
# look, not by their place. $WIE runs the engine (by default a hang is
# ended after 20 s).
ohne_kopf() { grep -vE '^(id |option |uciok$)'; }
uci() { # commands...
    { printf 'uci\n'; printf '%s\n' "$@"; printf 'isready\nquit\n'; } | ${WIE:-timeout 20} "$ENGINE" 2>&1 | ohne_kopf
}
# The same, ended by the end of input: a running search finishes first.
bis_ende() { # commands...
    printf 'uci\n%s\n' "$@" | ${WIE:-timeout 20} "$ENGINE" 2>&1 | ohne_kopf
}
ENGINE=$1
# A disk that is full: every write into a file fails (the signal that would
# end the program is ignored, so the write reports the error); voll is a
# session on it.
ohne_platz() { (trap '' XFSZ; ulimit -f 0; exec timeout 60 "$@"); }
voll() { WIE=ohne_platz uci "$@"; } # commands...

# 1. Names that are no regular file: the command's own "cannot open".
pruefen() { # what, expected text, output
    grep -qF -- "$2" <<<"$3" || fehlschlag "$1: expected '$2', got: $3"
    grep -q '^readyok$' <<<"$3" || fehlschlag "$1: no readyok (hang?): $3"
}
pruefen "book add fifo" "Cannot open file" "$(uci 'book add fifo')"
pruefen "book readmem /dev/zero" "Fehler beim Öffnen der Datei /dev/zero" "$(uci 'book readmem /dev/zero')"
pruefen "time add /dev/zero" "info string file not found: /dev/zero" "$(uci 'time add /dev/zero')"
pruefen "time add directory" "info string file not found: ordner" "$(uci 'time add ordner')"
out=$(bis_ende 'setoption name BookFile value fifo' 'go depth 2')
grep -q '^bestmove' <<<"$out" || fehlschlag "BookFile fifo: $out"
out=$(bis_ende 'setoption name OwnBook value false' 'setoption name EvalFile value fifo' 'go depth 2')
grep -q '^bestmove' <<<"$out" && grep -qx 'info string EvalFile fifo: cannot open the file; the built-in weights stay' <<<"$out" ||
    fehlschlag "EvalFile fifo: $out"
out=$(bis_ende 'setoption name OwnBook value false' 'setoption name TimeLogfile value fifo' 'go depth 9')
grep -q '^bestmove' <<<"$out" && grep -q '^info string error writing the time log fifo$' <<<"$out" ||
    fehlschlag "TimeLogfile fifo: $out"
meldet 1 'Fehler beim Öffnen von /dev/zero' timeout 20 "$1" --CSVN /dev/zero out.epd
printf '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\n' >in.epd
meldet 1 'Fehler beim Öffnen von fifo' timeout 20 "$1" --CSVN in.epd fifo
[ -x "$bench" ] && meldet 1 'Cannot open file' timeout 20 "$bench" pgn fifo

# 2. A full disk: each writer names its file and an older file of that
# name stays.
for i in 3 4; do printf '[White "a"]\n[Black "b"]\n[Result "1-0"]\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 Nbd7 11. Nbd2 Bb7 12. Bc2 Re8 13. Nf1 Bf8 14. Ng3 g6 15. a%d Bg7 16. Bd3 c6 17. Be3 Qc7 1-0\n' $i; done >spiele.pgn
uci 'book add spiele.pgn' 'book writemem bild.bin' 'book write buch.opn' >/dev/null
for f in bild.bin buch.opn; do cp $f alt.$f; done
pruefen "writemem on a full disk" "Fehler beim Schreiben der Datei bild.bin" "$(voll 'book readmem alt.bild.bin' 'book writemem bild.bin')"
pruefen "write on a full disk" "info string error writing the output file buch.opn" "$(voll 'book readmem alt.bild.bin' 'book write buch.opn threshold 1')"
echo 'e4 1 e5 1 * c5 1 * * d4 1 d5 1 * * *' >klein.opn
pruefen "positions on a full disk" "Fehler beim Schreiben von pos.txt" "$(voll 'book positions klein.opn out pos.txt')"
for i in $(seq 100); do echo "1 rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1"; done >stellungen.txt
pruefen "makepos on a full disk" "Fehler beim Schreiben von analysen.txt" "$(voll 'book makepos stellungen.txt out analysen.txt nodes 100')"
for f in bild.bin buch.opn; do cmp -s $f alt.$f || fehlschlag "$f was replaced on a full disk"; done
ls ./*.tmp >/dev/null 2>&1 && fehlschlag "temporary files left behind: $(ls ./*.tmp)"
# The book tool's tree, a bitbase, the time log.
meldet 1 'error writing the output file Buchberechnung.tmp.bin' ohne_platz "$1" --book pgn spiele.pgn
meldet 1 'cannot write .[/\]KDK.vbb' ohne_platz "$1" --CreateBitbase KDK
[ -e KDK.vbb ] || [ -e KDK.crc ] && fehlschlag "a bitbase or its checksum was left on a full disk"
out=$(WIE=ohne_platz bis_ende 'setoption name OwnBook value false' 'setoption name TimeLogfile value zeit.log' 'go depth 9')
grep -q '^info string error writing the time log zeit.log$' <<<"$out" || fehlschlag "time log on a full disk: $out"

# 3. The ini file cannot switch the output off during the handshake.
printf 'setoption name NoOutput value true\nsetoption name Hash value 8\n' >Velkaris.ini
out=$( (printf 'xboard\nprotover 2\n'; sleep 0.5; printf 'ping 7\n'; sleep 0.5; printf 'quit\n') | timeout 20 "$1" 2>&1)
for zeile in 'feature done=1' 'pong 7' 'Error (option not settable from Velkaris.ini): setoption name NoOutput value true'; do
    grep -qF "$zeile" <<<"$out" || fehlschlag "ini with NoOutput: no '$zeile' in: $out"
done
rm Velkaris.ini

# 4. One answer per input line, however long the line.
if [ -x "$bench" ]; then
    { echo '8/8/8/4k3/8/8/3QK3/8 w - - 0 1'; printf '8/8/8/4k3/8/8/3QK3/8 w - - 0 1 %0600d\n' 0; echo '8/8/8/4k3/8/8/3QK3/8 b - - 0 1'; } >fens.txt
    n=$("$bench" bitbase . <fens.txt | wc -l)
    [ "$n" = 3 ] || fehlschlag "bench bitbase: $n answers to 3 lines"

    # 5. A line repeated a hundred thousand times is one entry.
    python3 -c "print('e4 1 * ' * 100000 + '*')" >gleich.opn 2>/dev/null || for i in $(seq 100000); do printf 'e4 1 * '; done >gleich.opn
    out=$(timeout 20 "$bench" book gleich.opn 2>&1) || fehlschlag "bench book of identical lines: $out"
    grep -q '^1 entries' <<<"$out" || fehlschlag "bench book of identical lines: $out"
fi

ergebnis damaged_files
