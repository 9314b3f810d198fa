#!/usr/bin/env bash
# A/B match between two commits of the engine.
#
#   tools/ab.sh BASE TEST [options]
#
# Builds both commits side by side (release, popcnt program only) in
# build-ab/, then plays them against each other with the shared match runner
# from an opening file, every opening twice with colours reversed, and prints
# the score and the Elo difference of TEST against BASE with its 95 % error
# bar. PGN and JSON summaries land in build-ab/results/.
#
# Options (defaults in brackets):
#   --games N          games in all, rounded up to an even number [400]
#   --tc TC            time control for both sides [2+0.02]
#   --openings FILE    EPD/FEN openings [../shared/data/openings/6mvs_+90_+99.epd]
#   --offset K         skip the first K openings of the file [0]
#   --concurrency K    games at a time, one per core [nproc]
#   --hash MB          Hash of both engines [16]
#   --program NAME     velkaris_popcnt or velkaris (generic) [velkaris_popcnt]
#   --nodes N          a fixed node budget per move instead of the clock
#   --test-option NAME=VALUE, --base-option NAME=VALUE
#                      a UCI option for one side only (repeatable); with the
#                      same commit as BASE and TEST this compares settings,
#                      e.g. --test-option EvalFile=$PWD/data/Velkaris.eval
#
# Play nothing else heavy beside a match: both sides think on the same cores.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
shared=${VELKARIS_SHARED:-$here/../shared}

if [ $# -lt 2 ]; then
  sed -n '2,25p' "$0" | sed 's/^# \{0,1\}//'
  exit 1
fi
base=$1 test=$2
shift 2
games=400 tc=2+0.02 openings=$shared/data/openings/6mvs_+90_+99.epd
offset=0 conc=$(nproc 2>/dev/null || echo 2) hash=16 program=velkaris_popcnt nodes=
test_opts=() base_opts=()
while [ $# -gt 0 ]; do
  case $1 in
    --games) games=$2 ;;
    --tc) tc=$2 ;;
    --openings) openings=$2 ;;
    --offset) offset=$2 ;;
    --concurrency) conc=$2 ;;
    --hash) hash=$2 ;;
    --program) program=$2 ;;
    --nodes) nodes=$2 ;;
    --test-option) test_opts+=("option.$2") ;;
    --base-option) base_opts+=("option.$2") ;;
    *) echo "ab.sh: unknown option $1" >&2; exit 1 ;;
  esac
  shift 2
done

work=$here/build-ab
mkdir -p "$work/results"

source "$here/tools/match_kopie.bash"
match=$work/match
match_kopie "$shared" "$match"

# Build one commit in its own worktree; prints the program's path.
build() {
  local sha
  sha=$(git -C "$here" rev-parse --short=10 "$1^{commit}")
  local src=$work/src-$sha bin=$work/bin-$sha
  if [ ! -x "$bin/$program" ]; then
    [ -d "$src" ] || git -C "$here" worktree add --detach -f "$src" "$sha" >/dev/null 2>&1
    cmake -S "$src" -B "$bin" -DCMAKE_BUILD_TYPE=Release -DVELKARIS_TESTS=OFF >/dev/null
    cmake --build "$bin" -j "$conc" --target "$program" >/dev/null
  fi
  echo "$bin/$program"
}

a=$(build "$base")
b=$(build "$test")
an=$(git -C "$here" rev-parse --short=7 "$base^{commit}")
bn=$(git -C "$here" rev-parse --short=7 "$test^{commit}")

# The openings, from the chosen offset on.
ofile=$work/results/openings-$offset.epd
tail -n +"$((offset + 1))" "$openings" >"$ofile"

stamp=$(date +%Y%m%d-%H%M%S)
out=$work/results/$bn-vs-$an-$stamp
limit=(--tc "$tc")
[ -n "$nodes" ] && limit=(--nodes "$nodes") && tc="$nodes nodes"
echo "A/B: $bn${test_opts[*]:+ (${test_opts[*]})} (test) against $an${base_opts[*]:+ (${base_opts[*]})} (base), $games games at $tc, openings $(basename "$openings") from $offset"
node "$match/match.js" \
  --engine cmd="$b" name="test-$bn" "${test_opts[@]}" \
  --engine cmd="$a" name="base-$an" "${base_opts[@]}" \
  --each option.Hash="$hash" \
  "${limit[@]}" --openings "$ofile" --rounds $(((games + 1) / 2)) \
  --concurrency "$conc" --pgnout "$out.pgn" --json "$out.json" >"$out.log" 2>&1 || true
sed -n '/^=== /,$p' "$out.log"
echo "PGN: $out.pgn"
