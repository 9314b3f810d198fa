#!/bin/bash
# Runs the fuzzing targets, splitting the given seconds between them (or
# only the targets named after the seconds).
# Corpora live in fuzz-corpus/ (not versioned) and are seeded on first use;
# crash inputs land in fuzz-corpus/crashes/. Exits non-zero when a target
# finds a crash.
# Usage: bash fuzz/run.sh <build dir> [seconds] [target...]
set -u
build=${1:?build directory}
sekunden=${2:-600}
wurzel=$(cd "$(dirname "$0")/.." && pwd)
korpus=$wurzel/fuzz-corpus
mkdir -p "$korpus/uci" "$korpus/notation" "$korpus/bitbase" "$korpus/crashes"

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
# Bitbase files: the first byte picks the material (0 KDK, 3 KBKB).
konstant='\x00\xff\xff\xff\x00'
saat "$korpus/bitbase" zeros "\x00$(printf "$konstant%.0s" $(seq 20))"
saat "$korpus/bitbase" payload '\x00\x64\x00\x00\x00\x05\x00\xff\xff\xff\x00\xf0\x12\xf6\xff\x00\xf6\xf8\x00\x00\x00\x00'
saat "$korpus/bitbase" raw '\x03\x05\x00\x00\x00\x00'

shift 2 2>/dev/null || shift $#
ziele=("$@")
[ ${#ziele[@]} -eq 0 ] && ziele=(fuzz_uci fuzz_notation fuzz_bitbase)
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
for z in "${ziele[@]}"; do
    case $z in
    fuzz_uci) lauf fuzz_uci "$korpus/uci" "$wurzel/fuzz/uci.dict" $anteil ;;
    fuzz_notation) lauf fuzz_notation "$korpus/notation" "$wurzel/fuzz/notation.dict" $anteil ;;
    fuzz_bitbase) lauf fuzz_bitbase "$korpus/bitbase" "$wurzel/fuzz/bitbase.dict" $anteil ;;
    *) echo "unknown target $z"; rc=1 ;;
    esac
done
exit $rc
