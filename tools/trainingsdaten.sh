#!/usr/bin/env bash
# Training positions for the tuner (velkaris_bench tune), made in build/daten/:
#
#   tools/trainingsdaten.sh [--games N] [--nodes N] [--threads T]
#
#  1. openings: the shared EPD files and the end positions of the shared
#     eight-move PGN openings (python-chess from ../shared/tools/pychess);
#  2. games of the engine against itself (velkaris_bench selfplay, --nodes per
#     move [2000], --games in all [46000], both cores), appended to
#     selbstspiel.pgn; a stopped run goes on with the next game;
#  3. the positions --Testpos picks (quiet, out of the opening, a search
#     score that is neither a draw nor, here, a mate), each searched with the
#     same node budget: from the self-play games five times (five seeds, so
#     the random gaps between positions differ) and from the games in
#     ../shared/data/pgn (human, engine and Chess960 games); resumable too;
#  4. every position once, mate scores dropped, one file per source in
#     stellungen/, in the --Testpos format (quiet score, search score,
#     result for the side to move, FEN): velkaris_bench tune stellungen/*.pos.
#
# Everything runs under nice; the program is build/velkaris_bench (make first;
# VELKARIS_BENCH names another build of it).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
shared=${VELKARIS_SHARED:-$here/../shared}
bench=${VELKARIS_BENCH:-$here/build/velkaris_bench}
daten=$here/build/daten
games=46000 nodes=2000 threads=2
nutzung() {
  echo "trainingsdaten.sh: $*" >&2
  echo "usage: tools/trainingsdaten.sh [--games N] [--nodes N] [--threads T]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case $1 in
    --games | --nodes | --threads) [ $# -ge 2 ] || nutzung "option $1 without a value" ;;
    *) nutzung "unknown option $1" ;;
  esac
  case $1 in
    --games) games=$2 ;;
    --nodes) nodes=$2 ;;
    --threads) threads=$2 ;;
  esac
  shift 2
done
[ -x "$bench" ] || { echo "build the programs first (make)" >&2; exit 1; }
mkdir -p "$daten"
cd "$daten"
zeit() { echo "$(date '+%F %T') $*"; }

# 1. Openings.
if [ ! -s eroeffnungen.epd ]; then
  zeit "openings"
  cat "$shared/data/openings/6mvs_+90_+99.epd" "$shared/data/openings/4mvs_+90_+99.epd" >eroeffnungen.tmp
  PYTHONPATH=$shared/tools/pychess python3 - "$shared/data/openings/8moves_v3-first2000.pgn" >>eroeffnungen.tmp <<'PY'
import sys, chess.pgn
with open(sys.argv[1]) as f:
    while (g := chess.pgn.read_game(f)) is not None:
        print(g.end().board().fen())
PY
  mv eroeffnungen.tmp eroeffnungen.epd
fi

# 2. Self-play games, continued where a stopped run left off.
touch selbstspiel.pgn
gespielt=$(grep -c '^\[Event ' selbstspiel.pgn || true)
if [ "$gespielt" -lt "$games" ]; then
  zeit "self-play: games $gespielt to $games at $nodes nodes"
  nice -n 10 "$bench" selfplay --openings eroeffnungen.epd --games $((games - gespielt)) --first "$gespielt" \
    --nodes "$nodes" --threads "$threads" --seed 25 --out selbstspiel.pgn
fi

# 3. Positions; each parameter file remembers how far its run came.
positionen() { # name, pgn, seed
  [ -e "$1.par" ] || printf '%s\n1\n%s.pos\n' "$2" "$1" >"$1.par"
  zeit "positions from $2 (seed $3)"
  nice -n 10 "$bench" testpos "$1.par" --nodes "$nodes" --seed "$3" | grep -v '^<' || true
}
for saat in 1 2 3 4 5; do positionen "selbst$saat" selbstspiel.pgn "$saat"; done
for pgn in "$shared"/data/pgn/games/*.pgn "$shared"/data/pgn/engine/*.pgn "$shared"/data/pgn/chess960/*.pgn; do
  positionen "pgn-$(basename "$pgn" .pgn)" "$pgn" 3
done

# 4. Mate scores dropped and every position once (two seeds may pick the
# same position of a game; its first line stays), file by file into
# stellungen/, which keeps each file's games in order: the tuner holds back
# the last tenth of every file, so the same last games of the self-play
# are held back under every seed.
zeit "stellungen/"
rm -rf stellungen.tmp && mkdir stellungen.tmp
awk '{ s = $2 < 0 ? -$2 : $2; if (s >= 450000) next
  f = $4 " " $5 " " $6 " " $7; if (!(f in da)) { da[f] = 1; print >("stellungen.tmp/" FILENAME) } }' selbst[1-5].pos pgn-*.pos
rm -rf stellungen && mv stellungen.tmp stellungen
zeit "done: $(cat stellungen/*.pos | wc -l) positions in stellungen/"
