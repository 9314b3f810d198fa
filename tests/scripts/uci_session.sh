#!/bin/bash
# UCI sessions against both engine programs: the answer to "uci", the
# protocol word check, silent errors, shutting down with and without "quit",
# command-line complaints, and bad input: over-long lines, NUL bytes, huge
# numbers and junk neither crash nor hang the engine, and it still answers
# after them.
# Usage: bash uci_session.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

UCI=(
    'id name Velkaris 2015-08-06'
    'id author Quorvane'
    'option name Hash type spin default 3 min 1 max 32000'
    'option name Ponder type check default true'
    'option name OwnBook type check default true'
    'option name Clear Hash type button'
    'option name MultiPV type spin default 1 min 1 max 10'
    'option name MultiPV_Score type spin default 0 min 0 max 1000'
    'option name UCI_Chess960 type check default false'
    'option name BookFile type string default Velkaris.opn'
    'option name UCI_Opponent type string default none none human none'
    'option name BitbaseCache type spin default 0 min 0 max 100'
    'option name BitbasePath type string default .'
    'option name NumberOfProcessors type spin default 1 min 1 max 24'
    'option name TimeLogfile type string default nul:'
    'option name EvalFile type string default '
    uciok
)

# Bad input, sent to each program at the end.
lang=$(head -c 50000 /dev/zero | tr '\0' 'a')
zuege=$(for i in $(seq 1 3000); do printf 'g1f3 g8f6 f3g1 f6g8 '; done)

{
    # A line beyond the reader's buffer arrives in pieces, each ignored.
    printf '%s\n' uci "$lang" "isready $lang"
    # NUL bytes end a line's text.
    printf 'is\0ready\nisready\0junk\n\0\0\0\n'
    # Thousands of moves in one line (cut by the reader, repetitions far
    # beyond the position's history).
    printf '%s\n' "position startpos moves $zuege" "go depth 1"
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
    name=$(basename "$engine")

    # "uci" answers with identification, options and uciok; "quit" ends.
    lauf "$engine" 'uci\nquit\nisready\n'
    gleich "$name: uci" "$tmp/out" "${UCI[@]}"
    sauber "$name: quit"

    # "ucitest" prints nothing of its own.
    lauf "$engine" 'ucitest\nquit\n'
    gleich "$name: ucitest" "$tmp/out"

    # Blank lines are skipped silently; any other first word is refused on
    # standard error and the engine keeps waiting.
    lauf "$engine" '\n   \n\t\nucinewgame\nwinboard\n  uci  \nisready\nquit\n'
    gleich "$name: protocol word" "$tmp/out" "${UCI[@]}" readyok
    gleich "$name: protocol word complaint" "$tmp/err" \
        "'uci' or 'xboard' expected" "'uci' or 'xboard' expected"

    # Errors of "position" are one "info string" line each; unknown words
    # print nothing.
    lauf "$engine" 'uci\nposition fen garbage moves e2e4\nposition\nposition Chess960\nposition startpos moves e2e4 e1e1\nfoo bar\nucinewgame\nsetoption name Nope value 1\nisready\nquit\n'
    gleich "$name: errors" "$tmp/out" "${UCI[@]}" \
        "info string position: illegal FEN, the start position is set instead: garbage" \
        "info string 'position' without 'startpos' and without 'fen'" \
        "info string 'position Chess960' without number" \
        "info string position: illegal move, the moves before it stand: e1e1" readyok

    # End of input without "quit": exit code 0, a bounded search still
    # reports its move, and a search without an end of its own is stopped,
    # not waited for. Before any protocol word there is nothing to shut down.
    while IFS='|' read -r eingabe zuege; do
        lauf "$engine" "$eingabe"
        [ "$RC" = 0 ] || fehlschlag "$name: '$eingabe': exit code $RC"
        [ "$(grep -c '^bestmove ' "$tmp/out")" = "$zuege" ] ||
            fehlschlag "$name: '$eingabe': not $zuege best moves"
    done <<'END'
uci\nisready|0
uci\nposition startpos moves e2e4\ngo depth 1\n|1
uci\ngo infinite\n|1
uci\ngo ponder wtime 1000 btime 1000\n|1
hello\n|0
END

    # Command-line arguments the engine does not know are reported, and the
    # engine starts all the same (a tool word with the wrong number of
    # arguments is just another unknown argument).
    lauf "$engine" 'uci\nquit\n' --Testpos '--Rnd x' y
    gleich "$name: arguments stdout" "$tmp/out" "${UCI[@]}"
    gleich "$name: arguments stderr" "$tmp/err" 'illegal command line argument argv[1] = "--Testpos"' \
        'illegal command line argument argv[2] = "--Rnd x"' 'illegal command line argument argv[3] = "y"'

    # The bad input: no crash, no hang, and answers after it.
    timeout 60 "$engine" <"$tmp/in" >"$tmp/out" 2>"$tmp/err"
    RC=$?
    sauber "$name: bad input"
    n=$(grep -c '^readyok$' "$tmp/out")
    [ "$n" = 3 ] || fehlschlag "$name: bad input: $n readyok lines, expected 3"
    n=$(grep -c '^bestmove ' "$tmp/out")
    [ "$n" -ge 12 ] || fehlschlag "$name: bad input: $n bestmove lines, expected at least 12"
done

# (That both programs search alike: the scripted search session.)
ergebnis uci_session
