#!/bin/bash
# Runs the fuzzing targets (all, or the ones named), splitting the given
# seconds between them. Corpora live in fuzz-corpus/ (not versioned) and are
# seeded on first use; crash inputs land in fuzz-corpus/crashes/. Exits
# non-zero when a target finds a crash.
# Usage: bash fuzz/run.sh <build dir> [seconds] [target...]
set -u
build=${1:?build directory}
sekunden=${2:-600}
shift 2 2>/dev/null || shift $#
ziele=("$@")
[ ${#ziele[@]} -eq 0 ] && ziele=(fuzz_uci fuzz_notation fuzz_buch fuzz_pgn fuzz_buchbilder fuzz_bitbase fuzz_xboard fuzz_zeitproben fuzz_gewichte)
wurzel=$(cd "$(dirname "$0")/.." && pwd)
korpus=$wurzel/fuzz-corpus
mkdir -p "$korpus/uci" "$korpus/notation" "$korpus/buch" "$korpus/pgn" "$korpus/buchbilder" "$korpus/bitbase" "$korpus/xboard" "$korpus/zeitproben" "$korpus/gewichte" "$korpus/crashes"

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
saat "$korpus/buch" beispiel 'e4 60 e5 30 * c5 25 * * d4 40 d5 10 * * *'
saat "$korpus/buch" notationen 'g1f3 1 Sf6 2 Sc3 1 * g2g3 3 d5 1 Lg2 1 c6 1 0-0 4 * * * * * * * *'
saat "$korpus/buch" tanz 'Nf3 1 Nf6 1 Ng1 1 Ng8 1 startpos 0 b2b3 2 * * Nc6 7 * * * * *'
saat "$korpus/buch" pfad 'e4 0 e5 5 * * startpos 518 *'
saat "$korpus/pgn" partie '[Event "x"]\n[White "w"]\n[Black "b"]\n[Result "1-0"]\n\n1. e4 {c} e5 (1... c5 (1... e6) 2. Nf3) 2. Nf3 $1 Nc6 3. Bb5 a6 1-0\n'
saat "$korpus/pgn" fen '[White "w"]\n[Black "b"]\n[Result "0-1"]\n[SetUp "1"]\n[FEN "r5k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1"]\n1... Ra1# 0-1\n'
saat "$korpus/pgn" chess960 '[White "w"]\n[Black "b"]\n[Result "*"]\n[FEN "rk5r/8/8/8/8/8/8/RK5R w HAha - 0 1"]\n1. O-O O-O-O *\n'
saat "$korpus/pgn" deutsch '[White "w"]\n[Black "b"]\n[Result "1/2-1/2"]\n%% escape\n1. e4 e5 2. Sf3 Sc6 3. Lb5 Sf6 4. O-O ; rest\n1/2-1/2\n'
saat "$korpus/buchbilder" baum '\000\322\004\000\000\001\000\000\000\000\000\000\000\266\232\041\163\054\153\311\061\000\000\000\000\024\000\000\000\000\000\000\000\000\000\000\000'
saat "$korpus/buchbilder" bild '\001\000\000\000\000\000\000\000\360\077\000\000\000\000\000\000\360\077\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'
# The same with a fitting checksum trailer (bit 1 of the first byte).
saat "$korpus/buchbilder" baum-pruef '\002\322\004\000\000\001\000\000\000\000\000\000\000\266\232\041\163\054\153\311\061\000\000\000\000\024\000\000\000\000\000\000\000\000\000\000\000'
saat "$korpus/buchbilder" bild-pruef '\003\000\000\000\000\000\000\000\360\077\000\000\000\000\000\000\360\077\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000\000'

saat "$korpus/xboard" game 'new\nlevel 40 5 0\npost\nhard\ntime 30000\nusermove e2e4\nping 1\nusermove g1f3\n?\nforce\nundo\nremove\nquit\n'
saat "$korpus/xboard" analyze 'new\nforce\nanalyze\nusermove e2e4\n.\nhint\nundo\nexit\nsd 2\ngo\n'
saat "$korpus/xboard" setboard 'setboard 7k/8/6K1/8/8/8/8/R7 w - - 0 1\nusermove Ra8\nsetboard 8/8/8 w\nusermove e2e4\nst 1\ngo\nping 2\n'
saat "$korpus/xboard" frc 'new\nvariant fischerandom\nsetboard rk2r3/pppppppp/8/8/8/8/PPPPPPPP/RK2R3 w KQkq - 0 1\nusermove O-O\nsd 1\ngo\ndraw\nresult 1/2-1/2\n'

# Time-log records: two complete lines, a truncated one and a non-number.
saat "$korpus/zeitproben" proben '0 0 1 1 0 0 0 0 0 0.875 0 0.18952 0.492383 0.0380164 0.0376351 -0.172686 0.229237 0\n0 0 0 0 1 0 0 0 0 0.675 0 0.203557 0.699407 0.155582 0.0339652 -0.0579259 0.0720273 1\n'
saat "$korpus/zeitproben" kaputt '0 0 0 1 0 0 0 0 0 0.875 0 0.28\n0 0 x 1 0 0 0 0 0 0.875 0 0.286328 0.72146 0.025373 0.0249484 0.0578741 0.110631 0\n1e308 nan inf\n'

# Weights files: the built-in weights whole, a short file with comments,
# every entry at its bounds.
[ -e "$korpus/gewichte/seed-eingebaut" ] || cp "$wurzel/tests/data/gewichte_eingebaut.eval" "$korpus/gewichte/seed-eingebaut"
saat "$korpus/gewichte" kurz '# x\r\nTempo 70 36\r\nKoenig.Schild 2 -70 -70 -70 -90 -140\nMaterial.Dame 0 100000 100000 100000 100000 100000 100000 100000 100000 100000\n'
[ -e "$korpus/gewichte/seed-grenzen" ] || awk '/^#/ {next} {printf "%s", $1; for (i = 2; i <= NF; ++i) printf " %s", ($1 ~ /^Material/ ? 100000 : $1 ~ /Kruemmung|Remis/ ? 256 : $1 ~ /Zaehler/ ? 500 : $1 ~ /^(Koenig|Zentrums|Unentw|Wettlauf|Abtausch)/ ? 2000 : 10000); print ""}' \
    "$wurzel/tests/data/gewichte_eingebaut.eval" >"$korpus/gewichte/seed-grenzen"

# Bitbase files: the first byte picks the material (0 KDK, 3 KBKB).
konstant='\x00\xff\xff\xff\x00'
saat "$korpus/bitbase" zeros "\x00$(printf "$konstant%.0s" $(seq 20))"
saat "$korpus/bitbase" payload '\x00\x64\x00\x00\x00\x05\x00\xff\xff\xff\x00\xf0\x12\xf6\xff\x00\xf6\xf8\x00\x00\x00\x00'
saat "$korpus/bitbase" raw '\x03\x05\x00\x00\x00\x00'

je=$((sekunden / ${#ziele[@]}))
[ $je -lt 1 ] && je=1
rc=0
lauf() { # target, corpus, dictionary (or empty), seconds, [longest input, 4096]
    local ziel=$build/fuzz/$1
    if [ ! -x "$ziel" ]; then
        echo "missing $ziel (build the fuzz targets first)"
        rc=1
        return
    fi
    echo "== $1: $4 s"
    local woerter=()
    [ -n "$3" ] && woerter=(-dict="$3")
    "$ziel" -max_total_time="$4" -max_len="${5:-4096}" -timeout=30 -rss_limit_mb=4096 \
        "${woerter[@]}" -artifact_prefix="$korpus/crashes/$1-" -print_final_stats=1 "$2" 2>"$korpus/$1.log"
    local r=$?
    tail -n 12 "$korpus/$1.log"
    if [ $r -ne 0 ]; then
        echo "== $1 FOUND A PROBLEM (exit $r); see $korpus/$1.log and $korpus/crashes/"
        rc=1
    fi
}
for z in "${ziele[@]}"; do
    case $z in
    fuzz_uci) lauf fuzz_uci "$korpus/uci" "$wurzel/fuzz/uci.dict" $je ;;
    fuzz_notation) lauf fuzz_notation "$korpus/notation" "$wurzel/fuzz/notation.dict" $je ;;
    fuzz_buch) lauf fuzz_buch "$korpus/buch" "$wurzel/fuzz/buch.dict" $je ;;
    fuzz_pgn) lauf fuzz_pgn "$korpus/pgn" "$wurzel/fuzz/pgn.dict" $je ;;
    fuzz_buchbilder) lauf fuzz_buchbilder "$korpus/buchbilder" "" $je ;;
    fuzz_bitbase) lauf fuzz_bitbase "$korpus/bitbase" "$wurzel/fuzz/bitbase.dict" $je ;;
    fuzz_xboard) lauf fuzz_xboard "$korpus/xboard" "$wurzel/fuzz/xboard.dict" $je ;;
    fuzz_zeitproben) lauf fuzz_zeitproben "$korpus/zeitproben" "" $je ;;
    fuzz_gewichte) lauf fuzz_gewichte "$korpus/gewichte" "$wurzel/fuzz/gewichte.dict" $je 16384 ;;
    *) echo "unknown target $z"; rc=1 ;;
    esac
done
exit $rc
