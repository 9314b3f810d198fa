#!/bin/bash
# Runs the fuzzing targets (all of them, or the ones named), splitting the
# given seconds between them. Corpora live in fuzz-corpus/ (not versioned)
# and are seeded on first use; crash inputs land in fuzz-corpus/crashes/.
# Exits non-zero when a target finds a crash.
# Usage: bash fuzz/run.sh <build dir> [seconds] [target ...]
set -u
build=${1:?build directory}
sekunden=${2:-600}
shift $(($# < 2 ? $# : 2))
ziele=("$@")
[ ${#ziele[@]} -gt 0 ] || ziele=(fuzz_uci fuzz_notation fuzz_xboard)
wurzel=$(cd "$(dirname "$0")/.." && pwd)
korpus=$wurzel/fuzz-corpus
mkdir -p "$korpus/uci" "$korpus/notation" "$korpus/xboard" "$korpus/crashes"

saat() { # directory, name, text (printf format)
    [ -e "$1/seed-$2" ] || printf "$3" >"$1/seed-$2"
}
saat "$korpus/uci" uci 'uci\nisready\nquit\n'
saat "$korpus/uci" game 'position startpos moves e2e4 e7e5 g1f3\ngo wtime 1000 btime 1000 winc 10 binc 10\nstop\n'
saat "$korpus/uci" fen 'position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves O-O-O e8g8\ngo searchmoves e2e4 d1d8\n'
saat "$korpus/uci" chess960 'position Chess960 312 moves b2b3\nperft depth 2 divide Hash 1\n'
saat "$korpus/uci" options 'setoption name Hash value 16\nsetoption name Clear Hash\nsetoption name MultiPV_Score value 50\ngo excludemoves a2a3 nodes 500\n'
saat "$korpus/notation" start 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'
saat "$korpus/notation" kiwipete 'r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1'
saat "$korpus/notation" shredder 'bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9'
saat "$korpus/notation" ep 'rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3'
saat "$korpus/notation" san 'exf6'
saat "$korpus/notation" promo 'bxa8=Q+'
saat "$korpus/notation" castle 'O-O-O'
saat "$korpus/xboard" game 'new\nlevel 40 5 0\npost\nhard\ntime 30000\nusermove e2e4\nping 1\nusermove g1f3\n?\nforce\nundo\nremove\nquit\n'
saat "$korpus/xboard" analyze 'new\nforce\nanalyze\nusermove e2e4\n.\nhint\nundo\nexit\nsd 2\ngo\n'
saat "$korpus/xboard" setboard 'setboard 7k/8/6K1/8/8/8/8/R7 w - - 0 1\nusermove Ra8\nsetboard 8/8/8 w\nusermove e2e4\nst 1\ngo\nping 2\n'
saat "$korpus/xboard" frc 'new\nvariant fischerandom\nsetboard rk2r3/pppppppp/8/8/8/8/PPPPPPPP/RK2R3 w KQkq - 0 1\nusermove O-O\nsd 1\ngo\ndraw\nresult 1/2-1/2\n'

anteil=$((sekunden / ${#ziele[@]}))
[ $anteil -lt 1 ] && anteil=1
rc=0
lauf() { # target, corpus, dictionary, seconds
    local ziel=$build/fuzz/$1
    if [ ! -x "$ziel" ]; then
        echo "missing $ziel (build the fuzz targets first)"
        rc=1
        return
    fi
    echo "== $1: $4 s"
    "$ziel" -max_total_time="$4" -max_len=4096 -timeout=30 -rss_limit_mb=4096 \
        -dict="$3" -artifact_prefix="$korpus/crashes/$1-" -print_final_stats=1 "$2" 2>"$korpus/$1.log"
    local r=$?
    tail -n 12 "$korpus/$1.log"
    if [ $r -ne 0 ]; then
        echo "== $1 FOUND A PROBLEM (exit $r); see $korpus/$1.log and $korpus/crashes/"
        rc=1
    fi
}
for ziel in "${ziele[@]}"; do
    art=${ziel#fuzz_}
    lauf "$ziel" "$korpus/$art" "$wurzel/fuzz/$art.dict" $anteil
done
exit $rc
