#!/bin/bash
# The batch tools and the "time" commands from the outside: "--CSVN"
# answers every line in input order in both programs, with exactly three
# arguments only; a "time" session writes a net.
# Usage: bash batch_tools.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
cd "$tmp" || exit 1

printf '%s\n' '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1' 'no position' '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1' >in.epd
printf '%s\n' '6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1 bm d1d8' 'no position bm (not found)' \
    '7k/5Q2/6K1/8/8/8/8/8 b - - 0 1 bm (not found)' >erwartet
for engine in "$1" "$2"; do
    timeout 60 "$engine" --CSVN in.epd out.epd >out 2>err || fehlschlag "$engine --CSVN: $(cat err)"
    # (Text files end their lines in CR LF on Windows.)
    cmp -s <(tr -d '\r' <out.epd) erwartet || fehlschlag "$engine --CSVN wrote: $(cat out.epd)"
done
out=$(printf 'uci\nquit\n' | "$1" --CSVN in.epd 2>&1 >/dev/null)
grep -q 'illegal command line argument argv\[1\] = "--CSVN"' <<<"$out" || fehlschlag "--CSVN in.epd: $out"

# A "time" session reaches the trainer (whose messages the unit tests pin).
printf '0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0.3 1\n' >log.txt
printf 'uci\ntime add log.txt\ntime init 2 learn 5\ntime write netz.txt\nquit\n' | timeout 60 "$1" >/dev/null 2>&1
[ -s netz.txt ] || fehlschlag "time write wrote nothing"

ergebnis batch_tools
