#!/bin/bash
# Interactive UCI sessions against the real search, sent at chosen moments:
# depth, node and time limits, "go infinite" and "stop", pondering and
# "ponderhit", "isready" during a search, root restrictions, MultiPV, a
# position without moves, and "quit" during a search. The whole session runs
# with one search thread and with 2, 4 and 24, the count lowered and raised
# between searches; the generic and the popcnt program must search alike.
# Usage: bash search_session.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

engine=$1
# Generous limits for bounded searches (they normally take milliseconds).
lang=$((10000 * langsam))
# How late the answer to "go movetime 300" and to "stop" may come.
movetime_rand=$((150 * langsam))
stop_rand=$((200 * langsam))

zug='[a-h][1-8][a-h][1-8][nbrq]?'
bestmove_form="^bestmove ($zug( ponder $zug)?|0000)$"

# The first moves of every principal variation of the last search.
pv_anfaenge() {
    local z
    for z in "${GELESEN[@]}"; do
        [[ $z =~ \ pv\ ($zug) ]] && echo "${BASH_REMATCH[1]}"
    done
}

# Sends the command and waits for a well-formed best move (by default as
# long as a bounded search may take).
antwort() { # name, command, [timeout ms]
    bis_bestmove "$2" "${3:-$lang}" || { scheitern "$1: $2 not answered within ${3:-$lang} ms"; return 1; }
    [[ $ZEILE =~ $bestmove_form ]] || scheitern "$1: $2: malformed answer '$ZEILE'"
}

# "go movetime 300" ends after about 300 ms. A busy machine may delay one
# answer; a second late one fails.
movetime_pruefen() { # name
    local versuch
    for versuch in 1 2; do
        antwort "$1" "go movetime 300" || return
        if ((DAUER < 200)); then
            fehlschlag "$1: go movetime 300 answered after only $DAUER ms"
            return
        fi
        ((DAUER <= 300 + movetime_rand)) && return
        echo "$1: go movetime 300 took $DAUER ms, trying again"
    done
    fehlschlag "$1: go movetime 300 answered after $DAUER ms"
}

# No best move may come for the given time.
keine_antwort() { # name, ms
    ! warten '^bestmove ' "$2" || { scheitern "$1: best move before it was due"; return 1; }
}

sitzung() { # threads
    local n="threads $1" z raus mpv
    senden "setoption name NumberOfProcessors value $1" "position startpos"

    antwort "$n" "go depth 5"
    antwort "$n" "go nodes 20000"
    movetime_pruefen "$n"

    # An infinite search answers "isready" at once and its move only after
    # "stop".
    senden "position startpos moves e2e4 e7e5 g1f3" "go infinite"
    keine_antwort "$n: go infinite" 300
    senden "isready"
    warten '^(readyok|bestmove )' $((500 * langsam))
    [ "$ZEILE" = readyok ] || scheitern "$n: no readyok during the search"
    keine_antwort "$n: go infinite after isready" 200
    antwort "$n: go infinite" stop "$stop_rand"

    # A timed search stopped early. A ponder search waits for "ponderhit";
    # by then its time is spent, so the move comes at once. And "stop"
    # releases a ponder search too.
    while IFS='|' read -r stellung go still ende frist; do
        [ -n "$stellung" ] && senden "position $stellung"
        senden "$go"
        keine_antwort "$n: $go" "$still"
        antwort "$n: $go" "$ende" "$frist"
    done <<END
|go wtime 60000 btime 60000|100|stop|$stop_rand
startpos moves e2e4|go ponder wtime 2000 btime 2000|500|ponderhit|$((300 * langsam))
|go ponder wtime 2000 btime 2000|100|stop|$stop_rand
END

    # Root restrictions hold for the move and for every reported line.
    senden "position startpos"
    antwort "$n" "go depth 6 searchmoves a2a3 h2h3"
    for z in "$BESTMOVE" $(pv_anfaenge); do
        [[ $z == a2a3 || $z == h2h3 ]] || fehlschlag "$n: searchmoves a2a3 h2h3 searched $z"
    done
    raus=" e2e4 d2d4 g1f3 b1c3 c2c4 e2e3 "
    antwort "$n" "go depth 6 excludemoves$raus"
    for z in "$BESTMOVE" $(pv_anfaenge); do
        [[ $raus == *" $z "* ]] && fehlschlag "$n: excludemoves searched $z"
    done

    # MultiPV 3: the last report names three different moves at one depth.
    senden "setoption name MultiPV value 3"
    antwort "$n: MultiPV 3" "go depth 7"
    # The last three multipv lines as "rank:depth move".
    mpv=$(printf '%s\n' "${GELESEN[@]}" |
        sed -nE "s/^info multipv ([0-9]+) depth ([0-9]+) .* pv ($zug).*/\1:\2 \3/p" | tail -n 3)
    [ "$(cut -d' ' -f1 <<<"$mpv" | paste -sd' ')" = "1:7 2:7 3:7" ] &&
        [ "$(cut -d' ' -f2 <<<"$mpv" | sort -u | wc -l)" = 3 ] ||
        fehlschlag "$n: MultiPV 3 last report: $(paste -sd' ' <<<"$mpv") (rank:depth move)"
    senden "setoption name MultiPV value 1"

    # Nothing to move: stalemate and mate.
    senden "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"
    antwort "$n: stalemate" "go depth 5"
    [ "$BESTMOVE" = 0000 ] || fehlschlag "$n: stalemate answered with $BESTMOVE"
    senden "position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1"
    antwort "$n: mated" "go movetime 100"
    [ "$BESTMOVE" = 0000 ] || fehlschlag "$n: mated side answered with $BESTMOVE"
}

# One engine, the thread count changed between sessions, down and up.
engine_start "$engine"
senden uci
warten '^uciok$' "$lang" || fehlschlag "no uciok"
# These are searches: the opening book would answer some of them at once.
senden "setoption name OwnBook value false"
for threads in 1 2 4 24 1 24 2; do
    sitzung "$threads"
done
schluss

# "quit" during a search: the engine ends at once, with status 0 and
# without a best move.
for threads in 1 2 4 24; do
    for go in "go infinite" "go depth 60" "go ponder wtime 60000 btime 60000"; do
        engine_start "$engine"
        senden uci "setoption name OwnBook value false" "setoption name NumberOfProcessors value $threads" \
            "position startpos moves d2d4" "$go"
        warten '^info ' "$lang" >/dev/null
        warten '^bestmove ' 200 && fehlschlag "threads $threads, $go: best move before quit"
        GELESEN=()
        senden quit
        engine_ende $((1000 * langsam)) offen
        n="threads $threads, $go, quit"
        [ "$EXITCODE" = 0 ] || scheitern "$n: exit code $EXITCODE"
        ((BEENDET_NACH <= 1000 * langsam)) || fehlschlag "$n: took $BEENDET_NACH ms"
        z=$(printf '%s\n' "${GELESEN[@]}" | grep '^bestmove') && scheitern "$n: printed '$z' after quit"
    done
done

# The generic and the popcnt program search the same tree: identical output
# apart from times and speeds. ("isready" would be answered in the middle of
# a search, at a moment that differs from run to run; so would a setoption
# sent while a search runs, which is why MultiPV is set before the first.
# Without "debug on" whether a line is printed would depend on the time the
# search took, which differs in slow builds.)
printf '%s\n' uci 'debug on' 'setoption name OwnBook value false' 'setoption name MultiPV value 2' \
    'position fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8' 'go depth 8' \
    'go nodes 30000' \
    'position fen 2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1' 'go depth 6' \
    'position fen 7k/8/8/8/8/5P2/2Q5/K5n1 b - - 99 80' 'go depth 6' >"$tmp/vergleich"
for e in "$1" "$2"; do
    timeout $((60 * langsam)) "$e" <"$tmp/vergleich" 2>&1 |
        sed -E 's/ (time|nps) [0-9]+//g' >"$tmp/$(basename "$e").out"
done
if ! diff -u "$tmp/$(basename "$1").out" "$tmp/$(basename "$2").out" >"$tmp/diff"; then
    fehlschlag "generic and popcnt programs search differently"
    head -40 "$tmp/diff"
fi
[ "$(grep -c '^bestmove ' "$tmp/$(basename "$1").out")" = 4 ] || fehlschlag "comparison run: not four best moves"

ergebnis search_session
