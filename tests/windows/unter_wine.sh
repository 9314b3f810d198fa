#!/bin/bash
# make test-windows: the Windows programs under Wine.
#  - The script tests of tests/scripts run unchanged against stand-ins that
#    start velkaris.exe and velkaris_popcnt.exe under Wine: UCI and XBoard
#    sessions with exact lines, stopped multi-threaded searches, perft,
#    --CSVN, the book, hostile input.
#  - Then what only the Windows build needs: CR LF on the console, the bench
#    signature of both bench programs, perft counts, the same node counts as
#    the POSIX engine, bitbases and their checksum files written by the
#    POSIX build, devices and directories refused as input files, output
#    files replaced in place, the start-up file found next to the program.
# Usage: bash tests/windows/unter_wine.sh <Windows build dir> <POSIX build dir>
hier=$(dirname "$(realpath "$0")")
# The scripts' common start and checks: tmp, fehlschlag, meldet, ergebnis.
source "$hier/../scripts/uci_dialog.bash"
win=$(realpath "$1")
posix=$(realpath "$2")
daten=$hier/../data

# Names a finished part of the run with the seconds it took.
fertig() {
    echo "$1 ($(($(date +%s) - start)) s)"
    start=$(date +%s)
}

command -v wine >/dev/null || { echo "wine is missing (apt-get install wine64 wine)"; exit 1; }
# Wine keeps its files in the build directory. Setting them up takes a few
# seconds at the first start.
export WINEPREFIX=$win/wine WINEDEBUG=-all
start=$(date +%s)
wineboot --init >"$tmp/wineboot.log" 2>&1 || { cat "$tmp/wineboot.log"; exit 1; }
# Wine starts its own services with the first program and ends them a while
# after the last one; started by a test's program they would inherit its
# output and hold it open after the program ended. A program that waits for
# input all through the run keeps them running from the start.
mkfifo "$tmp/halten"
wine "$win/velkaris.exe" <"$tmp/halten" >/dev/null 2>&1 &
exec {HALTEN}>"$tmp/halten"
# (A program's start waits until the services run.)
wine "$win/velkaris.exe" </dev/null >/dev/null 2>&1
ende() {
    exec {HALTEN}>&-
    wineserver -k 2>/dev/null
    dialog_ende
}
trap ende EXIT
fertig "Wine ready"

# The programs with their book and start-up file, each with a stand-in of
# its name that the scripts start like a native program.
bin=$win/unter-wine
rm -rf "$bin" && mkdir -p "$bin"
for p in velkaris velkaris_popcnt velkaris_bench velkaris_bench_generic; do
    ln -f "$win/$p.exe" "$bin/$p.exe" 2>/dev/null || cp "$win/$p.exe" "$bin/$p.exe"
    cp "$hier/wine_start.sh" "$bin/$p"
done
cp "$win/Velkaris.ini" "$win/Velkaris.opn" "$bin/"

for skript in "$hier"/../scripts/*.sh; do
    s=$(basename "$skript" .sh)
    if bash "$skript" "$bin/velkaris" "$bin/velkaris_popcnt" "$daten" >"$tmp/$s.log" 2>&1; then
        fertig "$s: ok"
    else
        cat "$tmp/$s.log"
        fehlschlag "$s under Wine"
    fi
done

# The console: CR LF lines in, CR LF lines out (the Windows runtime's text
# mode); a Ctrl-Z byte in the input does not end it.
printf 'uci\r\n\032\r\nisready\r\n  isready \r\nquit\r\n' | timeout 60 wine "$bin/velkaris.exe" >"$tmp/roh" 2>"$tmp/err"
zeilen=$(wc -l <"$tmp/roh")
[ "$zeilen" -gt 2 ] && [ "$(grep -c $'\r$' "$tmp/roh")" = "$zeilen" ] ||
    fehlschlag "console lines do not all end in CR LF: $(od -c "$tmp/roh" | tail -3)"
[ "$(tail -n 2 "$tmp/roh")" = $'readyok\r\nreadyok\r' ] || fehlschlag "no readyok for CR LF input: $(tail -n 2 "$tmp/roh")"
[ -s "$tmp/err" ] && fehlschlag "standard error: $(cat "$tmp/err")"
fertig "console line ends"

# The bench signature, the same from both bench programs position by
# position, and perft counts.
for p in velkaris_bench velkaris_bench_generic; do
    timeout 900 "$bin/$p" search >"$tmp/$p.suche" 2>&1 || fehlschlag "$p.exe search failed"
    grep -qx 'Nodes searched: 36921830' "$tmp/$p.suche" || fehlschlag "$p.exe search: $(grep 'Nodes searched' "$tmp/$p.suche")"
    awk '/ nodes /{print $1, $2, $3}' "$tmp/$p.suche" >"$tmp/$p.knoten"
done
cmp -s "$tmp/velkaris_bench.knoten" "$tmp/velkaris_bench_generic.knoten" ||
    fehlschlag "the two bench programs search differently: $(diff "$tmp/velkaris_bench.knoten" "$tmp/velkaris_bench_generic.knoten" | head -5)"
perft=$(timeout 300 "$bin/velkaris_bench" perft-suite --budget 2000000 "$daten/perft_regression.epd" 2>&1 | tail -n 1)
[[ $perft == "perft-suite: 547 checks, 0 failures, "* ]] || fehlschlag "perft-suite: $perft"
fertig "bench signature and perft"

# Both engines search exactly as the POSIX engine: every line of a session
# (debug on prints them whatever the time), times left out.
printf '%s\n' uci 'setoption name OwnBook value false' 'setoption name Hash value 16' 'debug on' \
    'position startpos' 'go depth 9' \
    'position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1' 'go depth 8' \
    'position fen 8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1' 'go depth 14' \
    'position fen 2r3k1/pp3ppp/2n1b3/q2pP3/3P4/P1PB1N2/5PPP/R2QR1K1 b - - 0 1' 'go depth 9' >"$tmp/sitzung"
knoten() { # program
    timeout 300 "$1" <"$tmp/sitzung" 2>&1 | grep -E '^(info|bestmove)' | sed -E 's/ (time|nps) [0-9]+//g'
}
knoten "$posix/velkaris" >"$tmp/posix.knoten"
[ "$(grep -c '^bestmove' "$tmp/posix.knoten")" = 4 ] || fehlschlag "the POSIX engine's session: $(tail -3 "$tmp/posix.knoten")"
for p in velkaris velkaris_popcnt; do
    knoten "$bin/$p" >"$tmp/$p.knoten"
    cmp -s "$tmp/posix.knoten" "$tmp/$p.knoten" ||
        fehlschlag "$p.exe searches differently from the POSIX engine: $(diff "$tmp/posix.knoten" "$tmp/$p.knoten" | head -5)"
done
fertig "node counts against the POSIX engine"

# Bitbases written by the POSIX build, read by the Windows programs from a
# directory given the Windows way: the same verdict for every placement, and
# the won rook ending found.
mkdir -p "$tmp/bb"
(cd "$tmp/bb" && for m in KDK KKD KTK KKT KDKT KTKD; do "$posix/velkaris" --CreateBitbase $m >>log 2>&1 || exit 1; done) ||
    fehlschlag "POSIX bitbase generation: $(tail -3 "$tmp/bb/log")"
bbwin=$(winepath -w "$tmp/bb" 2>/dev/null)\\
for m in KTK KDKT; do
    soll=$("$posix/velkaris_bench" bitbase-count "$tmp/bb" $m 2>&1 | sed -E 's/ \([0-9]+ ms\)//')
    ist=$(timeout 300 "$bin/velkaris_bench" bitbase-count "$bbwin" $m 2>&1 | sed -E 's/ \([0-9]+ ms\)//')
    [ "$soll" = "$ist" ] || fehlschlag "bitbase-count $m: '$ist', POSIX '$soll'"
done
mkdir -p "$tmp/wbb"
(cd "$tmp/wbb" && "$bin/velkaris" --CreateBitbase KDK >log 2>&1) || fehlschlag "KDK under Wine: $(tail -3 "$tmp/wbb/log")"
cmp -s "$tmp/wbb/KDK.vbb" "$tmp/bb/KDK.vbb" || fehlschlag "KDK.vbb differs between the Windows and the POSIX build"
for p in velkaris velkaris_popcnt; do
    antwort=$(printf 'uci\nsetoption name BitbasePath value %s\nsetoption name BitbaseCache value 4\nposition fen 8/8/8/4k3/8/8/8/R3K3 w - - 0 1\ngo depth 14\n' "$bbwin" |
        timeout 120 "$bin/$p" | grep -E '^(info .* score|bestmove)' | tail -n 2)
    grep -q 'score mate\|score cp [0-9]\{3,\}' <<<"$antwort" || fehlschlag "$p.exe: no winning score with bitbases: $antwort"
done

# Their checksum files check out, and a damaged copy is named.
out=$(timeout 120 "$bin/velkaris" --VerifyBitbase "$bbwin" 2>&1 | tail -n 1)
[[ $out == *": 6 ok, 0 without checksum, 0 damaged or missing" ]] || fehlschlag "--VerifyBitbase: $out"
mkdir -p "$tmp/bbdefekt"
cp "$tmp/bb/KTK.vbb" "$tmp/bb/KTK.crc" "$tmp/bbdefekt/"
printf '\377' | dd of="$tmp/bbdefekt/KTK.vbb" bs=1 seek=100 conv=notrunc status=none
meldet 1 '^KTK.vbb: DAMAGED' timeout 120 "$bin/velkaris" --VerifyBitbase "$(winepath -w "$tmp/bbdefekt")"

# Devices and directories are no files to read: NUL and the bitbase
# directory as a book or a time log to learn from.
for f in NUL "$bbwin"; do
    out=$(printf 'uci\nbook add %s\ntime add %s\nisready\nquit\n' "$f" "$f" | timeout 60 "$bin/velkaris" 2>&1)
    grep -q 'Cannot open file' <<<"$out" && grep -qF "info string file not found: $f" <<<"$out" &&
        grep -qx readyok <<<"$out" || fehlschlag "book/time add $f: $out"
done

# Output files that exist already are replaced (the runtime's rename
# refuses that on Windows).
cd "$tmp/bb" || exit 1
for i in 1 2; do
    "$bin/velkaris" --ExplainBitbase KTK >/dev/null 2>"$tmp/err" || fehlschlag "--ExplainBitbase KTK, run $i: $(cat "$tmp/err")"
done
# (A text file: CR LF on Windows.)
cmp -s <(tr -d '\r' <KTK.txt) <(cd "$tmp" && cp bb/KTK.vbb bb/KTK.crc . && "$posix/velkaris" --ExplainBitbase KTK >/dev/null && cat KTK.txt) ||
    fehlschlag "KTK.txt differs from the POSIX build's"
printf '%s\n' '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' >in.epd
for i in 1 2; do
    "$bin/velkaris" --CSVN in.epd out.epd >/dev/null 2>"$tmp/err" || fehlschlag "--CSVN, run $i: $(cat "$tmp/err")"
done
grep -q 'bm d1d8' out.epd || fehlschlag "--CSVN over an existing file: $(cat out.epd)"
fertig "bitbases and files"

# The start-up file next to the program is found from any working
# directory.
antwort=$(printf 'xboard\nprotover 2\nquit\n' | timeout 60 "$bin/velkaris")
grep -q 'Velkaris.ini' <<<"$antwort" && fehlschlag "Velkaris.ini next to the program not found: $antwort"
grep -qx 'feature done=1' <<<"$antwort" || fehlschlag "protover 2: $antwort"

ergebnis test-windows
