#!/bin/bash
# XBoard sessions against both engine programs, sent at chosen moments and
# compared line by line with the expected answers: protover and the feature
# list, Velkaris.ini, the three forms of level, st, sd, time/otim, user moves
# (legal, illegal, in SAN, game-ending), go, force, playother, "?", ping
# while the engine thinks, undo and remove, setboard good and bad,
# analyze/./hint/exit, a draw offer, resignation and Chess960 castling; then
# the protocol check, a missing start-up file, hostile input, and quitting
# while the engine moves. Positions are chosen so that the engine's answer
# is forced (the only legal move, the only mate); elsewhere only the form of
# a move is fixed.
# Usage: bash xboard_session.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
# The engines run in working directories of their own.
set -- "$(realpath "$1")" "$(realpath "$2")" "$3"

lang=$((10000 * langsam))
zug='([a-h][1-8][a-h][1-8][nbrq]?|O-O|O-O-O)'
denken='^-?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+( \([^)]*\))?( [^ ]+)*$'
status='stat01: +[0-9]+ +[0-9]+ +[0-9]+ +-?[0-9]+ +20 ?.*'

PING=0
# Sends the commands, then a ping, and waits for its pong: everything the
# commands print is out by then (a move being searched comes first). The
# pong joins the expected lines.
sync() {
    senden "$@"
    PING=$((PING + 1))
    senden "ping $PING"
    soll "pong $PING"
    warten "^pong $PING\$" "$lang" || scheitern "no pong $PING after: $*"
}

erwarte() { # pattern, what
    warten "$1" "$lang" || scheitern "$2: nothing matching '$1'"
}

# Expected lines; one beginning with ~ is a pattern.
soll() {
    printf '%s\n' "$@" >>"$tmp/soll"
}

# Compares what the engine printed (thinking lines left out) with the
# expected lines.
vergleichen() { # name
    local -a ist erwartet
    local i s z
    mapfile -t ist < <(sed -n 's/^[0-9]* < //p' "$DIALOG" | grep -Ev "$denken")
    mapfile -t erwartet <"$tmp/soll"
    for ((i = 0; i < ${#erwartet[@]} || i < ${#ist[@]}; i++)); do
        s=${erwartet[i]-<nothing>} z=${ist[i]-<nothing>}
        [[ $s == "~"* && $z =~ ^${s:1}$ || $s == "$z" ]] && continue
        fehlschlag "$1: line $((i + 1)) is '$z', expected '$s'"
        dialog_zeigen 40
        return
    done
}

FEATURES=('feature done=0' 'feature myname="Velkaris 2015-08-06"' 'feature ping=1' 'feature setboard=1'
    'feature playother=1' 'feature usermove=1' 'feature sigint=0' 'feature variants="normal,fischerandom"'
    'feature colors=0' 'feature ics=0' 'feature name=1' 'feature memory=1' 'feature smp=1' 'feature nps=0')

# Four searches of the same position (the score history survives setboard),
# each answered by a move; before the fourth the opponent may offer a draw,
# after it the engine may say something of its own.
viermal() { # FEN, offer, line before the fourth move, line after it
    local i
    sync new "sd 2"
    for i in 1 2 3 4; do
        ((i == 4)) && [ -n "$2" ] && senden draw
        ((i == 4)) && [ -n "$3" ] && soll "$3"
        soll "~move $zug"
        ((i == 4)) && [ -n "$4" ] && soll "$4"
        sync force "setboard $1" go
    done
}

sitzung() { # engine
    local name start
    name=$(basename "$1")
    PING=0
    : >"$tmp/soll"
    mkdir -p "$tmp/arbeit"
    # The working directory's start-up file wins over the program's own.
    printf '# test settings\nsetoption name Resign value 400\n  setoption name Resign value 2000\nsetoption name Resign value 1000\n' \
        >"$tmp/arbeit/Velkaris.ini"
    IM=$tmp/arbeit engine_start "$1"
    senden xboard "protover 2"
    soll "${FEATURES[@]}" 'feature done=1'
    erwarte '^feature done=1$' "protover"

    # Time controls in every form, a refused level, and the commands that
    # print nothing.
    soll 'Error (bad parameters): level 40 5'
    sync new random "level 40 5 0" "level 0 2:30 1.5" "level 40 0:30 0 20 1 0 0 1 0.5" "level 40 5" \
        "st 2" "sd 3" "time 30000" "otim 30000" post hard easy computer "name Some One" "rating 2000 2100" \
        "accepted ping" "rejected ics" "memory 16" "cores 1"
    soll ''
    sync bk

    # Illegal and unknown input changes nothing; moves in coordinates or SAN.
    soll 'Illegal move: e2e5' 'Illegal move: Nf6' "Illegal move: $(printf 'x%.0s' {1..63})" \
        'Illegal move: a7a8q' 'Error (unknown command): frobnicate'
    sync force "usermove e2e5" "usermove Nf6" "usermove $(printf 'x%.0s' {1..100})" "usermove e2e4" \
        "usermove Nf6" "usermove a7a8q" frobnicate

    # undo takes back one move, remove two; the moves after them are legal
    # only when the board went back. remove with one move left empties it.
    soll 'Illegal move: e2e5'
    sync undo "usermove g8f6" "usermove d2d4" remove "usermove g8f6" remove "usermove e2e4" "usermove e7e5" \
        remove remove "usermove d2d4" "usermove e2e5"

    # A bad FEN leaves the start position.
    soll 'Error (Illegal position): 8/8/8/8/8/8/8/8 w - - 0 1'
    sync "setboard 8/8/8/8/8/8/8/8 w - - 0 1" "usermove e2e4"

    # go with a single legal move; the ping sent while the engine thinks on
    # its own move is answered after the move.
    soll 'move h8g8'
    sync "sd 4" "setboard 7k/R7/5K2/8/8/8/8/8 b - - 0 1" go

    # The engine's mate ends the game (the only mate in one move).
    soll 'move a1a8' '1-0 {White mates}'
    sync "sd 3" "setboard 6k1/5ppp/8/8/8/8/8/R6K w - - 0 1" go

    # playother: the engine waits for the other side's move and answers it;
    # "?" makes it move at once.
    sync new force playother "st 60"
    senden "usermove e2e4"
    start=$JETZT
    sleep 0.3
    senden "?"
    erwarte "^move " "move now"
    ((ANKUNFT - start < 5000 * langsam)) || scheitern "$name: ? answered after $((ANKUNFT - start)) ms"
    soll "~move $zug"

    # Game ends after the user's move (force mode: no search follows).
    soll '1-0 {White mates}' '1/2-1/2 {Stalemate}' '1/2-1/2 {Insufficient material}' \
        '1/2-1/2 {Draw by 50 move rule}' '1/2-1/2 {Draw by repetition}'
    sync force "setboard 7k/8/6K1/8/8/8/8/R7 w - - 0 1" "usermove a1a8" \
        "setboard 7k/4Q3/6K1/8/8/8/8/8 w - - 0 1" "usermove e7f7" \
        "setboard 7k/8/6K1/8/8/8/8/6r1 w - - 0 1" "usermove Kh6" "usermove g1g6" "usermove h6g6" \
        "setboard 7k/8/6K1/8/8/8/8/R7 w - - 99 80" "usermove a1b1" \
        "setboard 7k/8/6K1/8/8/8/8/R7 w - - 0 1" "usermove a1b1" "usermove h8g8" "usermove b1a1" "usermove g8h8" \
        "usermove a1b1" "usermove h8g8" "usermove b1a1" "usermove g8h8"

    # Analysis: thinking lines, the status line, a hint, a restart after a
    # move, then back to normal.
    sync new force post analyze
    erwarte "$denken" "analysis"
    soll "~$status" "~Hint: $zug"
    sync . hint "usermove e2e4"
    erwarte "$denken" "analysis after a move"
    soll "~$status"
    sync . exit

    # The opponent offers a draw while the engine stands worse: it offers
    # one itself. Far worse, it resigns (Resign 1000 from the start-up file).
    viermal "4k3/6pp/8/8/8/8/P7/4K3 w - - 0 1" angebot "offer draw" ""
    viermal "qq2k3/7p/8/8/8/8/P7/4K3 w - - 0 1" "" "" resign

    # Chess960: the interface castles in words or by taking its own rook,
    # and the engine castles in words (here with the only mate).
    soll "~move $zug"
    sync new "variant fischerandom" "setboard rk2r3/pppppppp/8/8/8/8/PPPPPPPP/RK2R3 b KQkq - 0 1" force \
        "usermove O-O" "usermove b1e1" "sd 2" go
    soll 'move O-O-O' '1-0 {White mates}'
    sync new "variant fischerandom" "setboard 2rkr3/2p1p3/8/8/8/8/8/RK6 w Q - 0 1" "sd 3" go

    senden quit
    engine_ende $((3000 * langsam)) offen
    ((EXITCODE == 0)) || fehlschlag "$name: exit code $EXITCODE after quit"
    vergleichen "$name"
}

kurz() { # engine
    local name IM=$tmp/leer
    name=$(basename "$1")
    mkdir -p "$tmp/leer" "$tmp/bin"

    # Only protocol 2 is served: anything before protover ends the engine.
    lauf "$1" 'xboard\nnew\nusermove e2e4\n'
    gleich "$name: before protover" "$tmp/out" 'Error (protocol version 2 required): new'
    lauf "$1" 'xboard\nprotover 1\n'
    gleich "$name: protover 1" "$tmp/out" 'Error (protocol version 2 required): 1'

    # Without a start-up file anywhere the interface hears of it once.
    cp "$1" "$tmp/bin/engine"
    # (A stand-in that runs NAME.exe under Wine brings its program along.)
    [ -e "$1.exe" ] && cp "$1.exe" "$tmp/bin/engine.exe"
    lauf "$tmp/bin/engine" 'xboard\nprotover 2\nquit\n'
    gleich "$name: missing Velkaris.ini" "$tmp/out" "${FEATURES[@]}" \
        "Error (file 'Velkaris.ini' not found): protover" 'feature done=1'
    [ "$RC" = 0 ] || fehlschlag "$name: exit code $RC after quit"

    # Hostile input: long lines, NUL bytes, huge numbers, commands in the
    # wrong state, garbage moves. The engine answers the last ping.
    local lang50
    lang50=$(head -c 50000 /dev/zero | tr '\0' 'a')
    {
        printf '%s\n' xboard 'protover 2' "$lang50" "usermove $lang50" "setboard $lang50" "ping $lang50"
        printf 'usermove e2\0e4\nlevel 40\0 5 0\n\0\0\n'
        for z in level time st sd memory cores ping; do
            echo "$z 99999999999999999999999 99999999999999999999999 99999999999999999999999"
            echo "$z -99999999999999999999999 -99999999999999999999999 -99999999999999999999999"
        done
        echo "protover 99999999999999999999999"
        printf 'memory 16\ncores 1\n'
        printf 'exit\n.\nhint\nundo\nremove\nremove\n?\nresult 1-0\nplayother\nponderhit\nanalyze\nanalyze\n.\n'
        printf 'usermove e2e4\nundo\nundo\nremove\nnew\nsetboard\nsetboard 8/8/8/8/8/8/8/8\nvariant\n'
        printf 'variant fischerandom\nusermove O-O\nusermove 0-0-0+\nusermove Qxh9\nusermove e7e8=Q\nexit\n'
        printf 'sd 1\nnew\ngo\ngo\nusermove e7e5\nusermove e7e5\nforce\ngo\nhard\n?\n?\neasy\n'
        # (Stopped by force, the last search reports nothing.)
        printf 'force\nping 77\n'
    } >"$tmp/boese"
    IM=$tmp/arbeit
    (cd "$IM" && timeout $((60 * langsam)) "$1" <"$tmp/boese" >"$tmp/out" 2>"$tmp/err")
    RC=$?
    sauber "$name: hostile input"
    grep -q '^pong 77$' "$tmp/out" || fehlschlag "$name: hostile input: no pong at the end"

    # Quitting, or the input ending, while the engine moves: no hang, no
    # report from the sanitizers.
    local i=0 eingabe a='xboard\nprotover 2\nst 1\ngo\n' b='xboard\nprotover 2\nhard\nlevel 0 0:01 0\nusermove e2e4\nquit\n'
    for eingabe in "${a}quit\n" "${a}quit\n" "$b" "$b" "$a" 'xboard\nprotover 2\nanalyze\n'; do
        i=$((i + 1))
        lauf "$1" "$eingabe"
        sauber "$name: ending run $i"
    done
}

for engine in "$1" "$2"; do
    sitzung "$engine"
    kurz "$engine"
done

ergebnis xboard_session
