#!/bin/bash
# The batch tools from the command line: "--CSVN" answers every line in
# input order and both programs agree on a forced move; missing files give
# one message and exit code 1; "--Testpos" without a usable parameter file
# fails the same way; a "time" session trains and writes a net.
# Usage: bash batch_tools.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
cd "$tmp" || exit 1

printf '%s\n' '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' 'no position' '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' >in.epd
for engine in "$1" "$2"; do
    timeout 60 "$engine" --CSVN in.epd out.epd >out 2>err
    rc=$?
    [ $rc -eq 0 ] || fehlschlag "$engine --CSVN: exit code $rc: $(cat err)"
    printf '%s\n' '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 bm d1d8' 'no position bm (not found)' \
        '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1 bm (not found)' >erwartet
    cmp -s out.epd erwartet || fehlschlag "$engine --CSVN wrote: $(cat out.epd)"
    grep -q 'no position' err || fehlschlag "$engine --CSVN did not report the bad line: $(cat err)"
done

"$1" --CSVN fehlt.epd out2.epd >out 2>err
[ $? -eq 1 ] || fehlschlag "--CSVN with a missing input: exit code not 1"
[ "$(wc -l <err)" -eq 1 ] && grep -q 'fehlt.epd' err || fehlschlag "--CSVN missing input: $(cat err)"
[ -e out2.epd ] && fehlschlag "--CSVN left an output for a missing input"

"$1" --Testpos fehlt.txt >out 2>err
[ $? -eq 1 ] || fehlschlag "--Testpos with a missing parameter file: exit code not 1"
printf 'games.pgn\n' >p.txt
"$1" --Testpos p.txt >out 2>err
[ $? -eq 1 ] && [ -s err ] || fehlschlag "--Testpos with a short parameter file: $(cat err)"

# "--CSVN" with two arguments is no tool: an illegal argument.
out=$(printf 'uci\nquit\n' | "$1" --CSVN in.epd 2>&1 >/dev/null)
grep -q 'illegal command line argument argv\[1\] = "--CSVN"' <<<"$out" || fehlschlag "--CSVN in.epd: $out"

# A time-network session over UCI.
for i in $(seq 1 30); do echo "0.1 0.2 0 0 1 0 0 0 0 0 0 0.5 0 0 0 $i 0.3 $((i % 2))"; done >log.txt
out=$(printf 'uci\ntime learn\ntime add %s\ntime init 2 learn 5\ntime write %s\ntime read %s\ntime read fehlt.txt\nquit\n' \
    log.txt netz.txt netz.txt | timeout 60 "$1" 2>&1 | grep '^info string')
erwartet=$'info string Mittlerer Fehler '
grep -q "^$erwartet" <<<"$out" || fehlschlag "time learn: $out"
grep -qx 'info string error reading file: fehlt.txt' <<<"$out" || fehlschlag "time read: $out"
[ "$(wc -l <<<"$out")" -eq 2 ] || fehlschlag "time session printed: $out"
[ -s netz.txt ] || fehlschlag "time write wrote nothing"

ergebnis batch_tools
