#!/bin/bash
# Many short searches with 24 search threads on a small machine: "go
# infinite" stopped after a random moment, and short timed searches. Every
# "stop" must be answered quickly (the helpers leave their split points at
# once), nothing may hang, and the engine must end cleanly.
# Usage: bash threads_stress.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"

engine=$1
RANDOM=4711 # the same delays in every run
# A stop answered later than this counts as late; a few late ones are
# allowed on a loaded machine (24 threads share two cores with whatever
# else runs), one beyond the hard limit is a hang.
spaet=$((100 * langsam))
hart=$((1000 * langsam))
erlaubt_spaet=2
gesamt_ms=$((120000 * langsam))

stellungen=(
    "startpos"
    "fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP3PPP/R2QKB1R w KQ - 0 8"
    "fen 2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1"
    "fen 8/5pk1/6p1/3P4/2p2P2/2P3K1/8/8 w - - 0 50"
    "fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
)

jetzt
anfang=$JETZT
engine_start "$engine"
senden uci
warten '^uciok$' $((5000 * langsam)) || fehlschlag "no uciok"
senden "setoption name NumberOfProcessors value 24" "setoption name Hash value 16" "setoption name OwnBook value false"

spaete=0
for i in $(seq 1 50); do
    jetzt
    if ((JETZT - anfang > gesamt_ms)); then
        fehlschlag "the searches took longer than $((gesamt_ms / 1000)) s in all"
        break
    fi
    senden "position ${stellungen[i % ${#stellungen[@]}]}"
    if ((i % 5 == 0)); then
        # A short timed search.
        bis_bestmove "go movetime 50" $((hart + 50)) || { scheitern "search $i: go movetime 50 not answered"; break; }
        ((DAUER <= 50 + 150 * langsam)) || fehlschlag "search $i: go movetime 50 answered after $DAUER ms"
        continue
    fi
    senden "go infinite"
    # 5 to 120 ms, sometimes before the helpers have joined anything.
    warten '^bestmove ' $((5 + RANDOM % 116)) && scheitern "search $i: best move before stop"
    bis_bestmove "stop" "$hart" || { scheitern "search $i: stop not answered within $hart ms"; break; }
    if ((DAUER > spaet)); then
        spaete=$((spaete + 1))
        echo "search $i: stop answered after $DAUER ms"
    fi
done

schluss
((spaete <= erlaubt_spaet)) || fehlschlag "$spaete stops answered later than $spaet ms"

ergebnis threads_stress
