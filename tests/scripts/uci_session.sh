#!/bin/bash
# UCI sessions against both engine programs: the answer to "uci", the
# protocol word check, silent errors, shutting down with and without "quit",
# and command-line complaints.
# Usage: bash uci_session.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

pruefen() { # name, expected file, actual file
    diff -u "$2" "$3" >"$tmp/diff" || fehlschlag "$1"$'\n'"$(cat "$tmp/diff")"
}

# Runs the engine with the given input; stdout, stderr and the exit code
# land in $tmp/out, $tmp/err, $tmp/rc. A hang counts as failure.
lauf() { # engine, input, args...
    local engine=$1 eingabe=$2
    shift 2
    printf '%b' "$eingabe" | timeout 20 "$engine" "$@" >"$tmp/out" 2>"$tmp/err"
    echo $? >"$tmp/rc"
}

uci_antwort() {
    cat <<'END'
id name Velkaris 2015-08-06
id author Quorvane
option name Hash type spin default 3 min 1 max 32000
option name Ponder type check default true
option name OwnBook type check default true
option name Clear Hash type button
option name MultiPV type spin default 1 min 1 max 10
option name MultiPV_Score type spin default 0 min 0 max 1000
option name UCI_Chess960 type check default false
option name BookFile type string default Velkaris.opn
option name UCI_Opponent type string default none none human none
option name BitbaseCache type spin default 0 min 0 max 100
option name BitbasePath type string default .
option name NumberOfProcessors type spin default 1 min 1 max 24
option name TimeLogfile type string default nul:
option name EvalFile type string default 
uciok
END
}

exitcode() { # name, expected code
    local rc
    rc=$(cat "$tmp/rc")
    [ "$rc" = "$2" ] || fehlschlag "$1: exit code $rc, expected $2"
}

for engine in "$1" "$2"; do
    name=$(basename "$engine")

    # "uci" answers with identification, options and uciok; "quit" ends.
    lauf "$engine" 'uci\nquit\nisready\n'
    uci_antwort >"$tmp/soll"
    pruefen "$name: uci" "$tmp/soll" "$tmp/out"
    exitcode "$name: quit" 0
    [ -s "$tmp/err" ] && fehlschlag "$name: unexpected stderr"$'\n'"$(cat "$tmp/err")"

    # "ucitest" prints nothing of its own.
    lauf "$engine" 'ucitest\nquit\n'
    : >"$tmp/soll"
    pruefen "$name: ucitest" "$tmp/soll" "$tmp/out"

    # Blank lines are skipped silently; any other first word is refused on
    # standard error and the engine keeps waiting.
    lauf "$engine" '\n   \n\t\nucinewgame\nwinboard\n  uci  \nisready\nquit\n'
    { uci_antwort; echo readyok; } >"$tmp/soll"
    pruefen "$name: protocol word" "$tmp/soll" "$tmp/out"
    printf "'uci' or 'xboard' expected\n'uci' or 'xboard' expected\n" >"$tmp/soll"
    pruefen "$name: protocol word complaint" "$tmp/soll" "$tmp/err"

    # Errors of "position" are one "info string" line each; unknown words
    # print nothing.
    lauf "$engine" 'uci\nposition fen garbage moves e2e4\nposition\nposition Chess960\nposition startpos moves e2e4 e1e1\nfoo bar\nucinewgame\nsetoption name Nope value 1\nisready\nquit\n'
    {
        uci_antwort
        echo "info string position: illegal FEN, the start position is set instead: garbage"
        echo "info string 'position' without 'startpos' and without 'fen'"
        echo "info string 'position Chess960' without number"
        echo "info string position: illegal move, the moves before it stand: e1e1"
        echo readyok
    } >"$tmp/soll"
    pruefen "$name: errors" "$tmp/soll" "$tmp/out"

    # End of input without "quit": exit code 0, a bounded search still
    # reports its move.
    lauf "$engine" 'uci\nisready'
    exitcode "$name: end of input" 0
    lauf "$engine" 'uci\nposition startpos moves e2e4\ngo depth 1\n'
    exitcode "$name: end of input after go" 0
    [ "$(grep -c '^bestmove ' "$tmp/out")" = 1 ] || fehlschlag "$name: no best move after go and end of input"
    # A search without an end of its own is stopped, not waited for.
    for go in 'go infinite' 'go ponder wtime 1000 btime 1000'; do
        lauf "$engine" "uci\n$go\n"
        exitcode "$name: end of input during $go" 0
        grep -q '^bestmove ' "$tmp/out" || fehlschlag "$name: $go: no best move"
    done
    # Before any protocol word: nothing to shut down.
    lauf "$engine" 'hello\n'
    exitcode "$name: end of input before the protocol word" 0

    # Command-line arguments the engine does not know are reported, and the
    # engine starts all the same (a tool word with the wrong number of
    # arguments is just another unknown argument).
    lauf "$engine" 'uci\nquit\n' --Testpos '--Rnd x' y
    uci_antwort >"$tmp/soll"
    pruefen "$name: arguments stdout" "$tmp/soll" "$tmp/out"
    printf 'illegal command line argument argv[1] = "--Testpos"\nillegal command line argument argv[2] = "--Rnd x"\nillegal command line argument argv[3] = "y"\n' >"$tmp/soll"
    pruefen "$name: arguments stderr" "$tmp/soll" "$tmp/err"
done

# (That both programs search alike: the scripted search session.)
ergebnis uci_session
