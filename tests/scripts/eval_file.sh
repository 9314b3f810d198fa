#!/bin/bash
# The option EvalFile against both engine programs: a weights file changes
# the evaluation from the next search on; a damaged or missing file is
# reported once (UCI "info string", XBoard "Error (...)") and the built-in
# weights stay; left-out entries are named; an empty value goes back to the
# built-in weights.
# Usage: bash eval_file.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

IM=$tmp
# A UCI session without the book that must end cleanly.
sitzung() { # engine, commands (printf format)
    lauf "$1" "uci\nsetoption name OwnBook value false\n$2"
    sauber "$1"
}

# The score of the last "info depth 2" line.
tiefe2() { grep '^info depth 2 ' "$tmp/out" | tail -1 | sed 's/.* score cp \(-\{0,1\}[0-9]*\).*/\1/'; }

printf 'Tempo 68 35\nFoo 1 2\n' >"$tmp/kaputt.eval"
printf '# only the tempo\nTempo 900 900\n' >"$tmp/tempo.eval"
# A search; the "position" after it waits until the search has ended (an
# option set during a search may or may not reach it).
such='position startpos\ngo depth 2\nposition startpos\n'

for engine in "$1" "$2"; do
    name=$(basename "$engine")

    sitzung "$engine" "$such"
    eingebaut=$(tiefe2)
    [ -n "$eingebaut" ] || fehlschlag "$name: no score at depth 2"
    grep -q '^info string' "$tmp/out" && fehlschlag "$name: a message without EvalFile"

    # A damaged file: one line over two searches, the built-in score.
    sitzung "$engine" "setoption name EvalFile value kaputt.eval\n$such$such"
    meldung="info string EvalFile kaputt.eval: line 2: unknown entry 'Foo'; the built-in weights stay"
    [ "$(grep -c '^info string' "$tmp/out")" = 1 ] && grep -qxF "$meldung" "$tmp/out" ||
        fehlschlag "$name: damaged file"$'\n'"$(grep '^info string' "$tmp/out")"
    [ "$(tiefe2)" = "$eingebaut" ] || fehlschlag "$name: damaged file changed the score to $(tiefe2)"

    sitzung "$engine" "setoption name EvalFile value $tmp/fehlt.eval\n$such"
    grep -qxF "info string EvalFile $tmp/fehlt.eval: cannot open the file; the built-in weights stay" "$tmp/out" ||
        fehlschlag "$name: missing file"$'\n'"$(grep '^info string' "$tmp/out")"

    # Only the tempo in the file: the rest is named and stays built in; the
    # tempo changes the score. Back to the built-in weights with an empty
    # value (written "<empty>", as interfaces do): the first score again
    # (caches and table were emptied).
    sitzung "$engine" "setoption name EvalFile value tempo.eval\n${such}setoption name EvalFile value <empty>\n$such"
    grep -qE '^info string EvalFile tempo.eval: 121 entries not in the file keep their built-in values: Material.Bauer, Material.Springer, (\w|\.)+, (\w|\.)+, (\w|\.)+, (\w|\.)+, (\w|\.)+, (\w|\.)+, \.\.\.$' "$tmp/out" ||
        fehlschlag "$name: left-out entries"$'\n'"$(grep '^info string' "$tmp/out")"
    mit=$(sed -n '/^bestmove/q; /^info depth 2 /s/.* score cp \(-\{0,1\}[0-9]*\).*/\1/p' "$tmp/out" | tail -1)
    [ -n "$mit" ] && [ "$mit" != "$eingebaut" ] || fehlschlag "$name: the tempo file did not change the score ($mit)"
    [ "$(tiefe2)" = "$eingebaut" ] || fehlschlag "$name: back to built-in: $(tiefe2), expected $eingebaut"

    # XBoard: the option from Velkaris.ini, the error through the channel.
    printf 'setoption name EvalFile value fehlt.eval\n' >"$tmp/Velkaris.ini"
    WARTE=$((2 * langsam)) lauf "$engine" 'xboard\nprotover 2\nnew\nsd 2\ngo\n'
    sauber "$name: XBoard"
    rm "$tmp/Velkaris.ini"
    grep -qxF 'Error (EvalFile): fehlt.eval: cannot open the file; the built-in weights stay' "$tmp/out" ||
        fehlschlag "$name: XBoard error"$'\n'"$(cat "$tmp/out")"
done

ergebnis eval_file
