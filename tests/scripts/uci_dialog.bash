# Sourced by every script test (not a test of its own): the common start
# (a scratch directory tmp, the failure flag fehler, cleaning up on exit)
# and helpers for talking to an engine interactively: the engine runs as a
# coprocess, commands are sent at chosen moments, and every line that comes
# back is logged with the time it arrived.

set -u
export LC_ALL=C
fehler=0
tmp=$(mktemp -d)
trap dialog_ende EXIT

# Sanitizer builds run the search 5 to 10 times slower: their time limits
# are stretched by this factor. So are those of the Windows programs under
# Wine (make test-windows), whose every wait and wake-up of a thread goes
# through Wine's server process.
langsam=1
case "$1" in *build-tsan* | *build-asan*) langsam=10 ;; *unter-wine*) langsam=2 ;; esac

# Milliseconds of the wall clock, into JETZT (no process is started).
jetzt() {
    local t=${EPOCHREALTIME/./}
    JETZT=$((t / 1000))
}

fehlschlag() {
    echo "FAIL: $*"
    fehler=1
}

# The script's verdict and exit status.
ergebnis() { # script name
    ((fehler)) && { echo "$1: FAILED"; exit 1; }
    echo "$1: ok"
}

EPID=
ENGINE_NR=0

# Starts the engine (further arguments: its command line) in the directory
# $IM (the current one if unset); its standard error goes to $tmp/stderr.N,
# the dialog to $tmp/dialog.N.
engine_start() {
    ENGINE_NR=$((ENGINE_NR + 1))
    DIALOG=$tmp/dialog.$ENGINE_NR
    STDERR=$tmp/stderr.$ENGINE_NR
    : >"$DIALOG"
    coproc ENGINE { cd "${IM:-.}" && exec "$@" 2>"$STDERR"; }
    EPID=$ENGINE_PID
    # Keep copies: bash drops the coprocess's descriptors when it ends.
    exec {ZU_ENGINE}>&"${ENGINE[1]}" {VON_ENGINE}<&"${ENGINE[0]}"
    GELESEN=()
}

senden() { # commands...
    local c
    for c in "$@"; do
        jetzt
        printf '%s\n' "$c" >&"$ZU_ENGINE" 2>/dev/null
        printf '%d > %s\n' "$JETZT" "$c" >>"$DIALOG"
    done
}

# Reads one line the engine printed, waiting up to the given seconds for it,
# and appends it to the dialog and to GELESEN; false when none came.
mitlesen() { # seconds
    local zeile
    IFS= read -r -t "$1" zeile <&"$VON_ENGINE" || return 1
    jetzt
    printf '%d < %s\n' "$JETZT" "$zeile" >>"$DIALOG"
    GELESEN+=("$zeile")
}

# Reads lines until one matches the pattern (extended regex) or the time in
# milliseconds is over. True on a match: ZEILE holds the line and ANKUNFT
# the time it arrived. Every line read is appended to GELESEN.
warten() { # pattern, timeout ms
    local ende rest s
    jetzt
    ende=$((JETZT + $2))
    ZEILE=
    while :; do
        jetzt
        rest=$((ende - JETZT))
        ((rest > 0)) || return 1
        printf -v s '%d.%03d' $((rest / 1000)) $((rest % 1000))
        mitlesen "$s" || return 1
        [[ ${GELESEN[-1]} =~ $1 ]] || continue
        ZEILE=${GELESEN[-1]}
        ANKUNFT=$JETZT
        return 0
    done
}

# Runs a program on prepared input (printf %b) with the given arguments in
# the directory $IM (the current one if unset); the input ends $WARTE
# seconds after its last line (at once if unset). Standard output and error
# land in $tmp/out and $tmp/err, the exit code in RC; a hang is ended.
lauf() { # program, input, arguments...
    local programm=$1 eingabe=$2
    shift 2
    { printf '%b' "$eingabe"; sleep "${WARTE:-0}"; } |
        (cd "${IM:-.}" && exec timeout $((60 * langsam)) "$programm" "$@") >"$tmp/out" 2>"$tmp/err"
    RC=$?
}

# The last run ended with status 0 and wrote nothing to standard error.
sauber() { # what
    [ "$RC" = 0 ] || fehlschlag "$1: exit code $RC (124: a hang)"
    [ -s "$tmp/err" ] && fehlschlag "$1: standard error:"$'\n'"$(head -20 "$tmp/err")"
    return 0
}

# A command that ends with the given status and says something matching the
# pattern (grep's basic form) on either output.
meldet() { # status, pattern, command...
    local out rc
    out=$("${@:3}" 2>&1)
    rc=$?
    [ $rc = "$1" ] && grep -q -- "$2" <<<"$out" ||
        fehlschlag "${*:3}: status $rc (expected $1), a line matching '$2' expected in: $out"
}

# The file holds exactly the given lines (none: it is empty).
gleich() { # what, file, lines...
    { [ $# = 2 ] || printf '%s\n' "${@:3}"; } | diff -u - "$2" >"$tmp/diff" ||
        fehlschlag "$1"$'\n'"$(cat "$tmp/diff")"
}

# Sends a command and waits for the best move; DAUER is the time from
# sending to the answer, BESTMOVE the move.
bis_bestmove() { # command, timeout ms
    local start
    GELESEN=()
    senden "$1"
    start=$JETZT
    BESTMOVE=
    DAUER=-1
    warten '^bestmove ' "$2" || return 1
    DAUER=$((ANKUNFT - start))
    read -r _ BESTMOVE _ <<<"$ZEILE"
}

# Waits up to the given milliseconds for the engine to exit, killing it
# after that. Its input is closed first, unless the second argument is
# "offen" (the engine must then end by itself, after "quit"). EXITCODE holds
# its status (137 when killed), BEENDET_NACH the time it took.
engine_ende() { # timeout ms [offen]
    local start ende
    [ -n "$EPID" ] || return 0
    jetzt
    start=$JETZT
    [ "${2:-}" = offen ] || exec {ZU_ENGINE}>&-
    ende=$((start + $1))
    while kill -0 "$EPID" 2>/dev/null; do
        jetzt
        if ((JETZT > ende)); then
            kill -9 "$EPID" 2>/dev/null
            break
        fi
        # Drain the output so the engine never blocks on a full pipe.
        mitlesen 0.01
    done
    wait "$EPID" 2>/dev/null
    EXITCODE=$?
    jetzt
    BEENDET_NACH=$((JETZT - start))
    [ "${2:-}" = offen ] && exec {ZU_ENGINE}>&-
    while mitlesen 0.01; do :; done
    exec {VON_ENGINE}<&-
    EPID=
    # Anything on standard error (a sanitizer report above all) fails.
    if [ -s "$STDERR" ]; then
        fehlschlag "engine wrote to standard error:"
        head -60 "$STDERR"
    fi
}

# The end of a UCI dialog: "isready" is answered, "quit" obeyed with status 0.
schluss() {
    senden isready
    warten '^readyok$' $((5000 * langsam)) || scheitern "no readyok at the end"
    senden quit
    engine_ende $((2000 * langsam)) offen
    [ "$EXITCODE" = 0 ] || scheitern "exit code $EXITCODE after quit"
}

dialog_ende() {
    if [ -n "$EPID" ]; then
        kill -9 "$EPID" 2>/dev/null
        wait "$EPID" 2>/dev/null
    fi
    [ -n "${BEHALTEN:-}" ] && cp -r "$tmp" "$BEHALTEN"; rm -rf "$tmp"
}

# Shows the end of the current dialog after a failure.
dialog_zeigen() {
    echo "--- last lines of the dialog (ms, > sent, < received):"
    tail -n "${1:-15}" "$DIALOG"
    echo "---"
}

# A failure together with the dialog that led to it.
scheitern() {
    fehlschlag "$@"
    dialog_zeigen
}
