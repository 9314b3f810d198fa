#!/usr/bin/env bash
# Games of the Windows program under Wine against a Linux engine, and its
# speed under Wine beside the native program's.
#
#   tools/windows_partien.sh [options]
#
# Needs `make windows` and `make` (build-windows/, build/), Wine and the
# shared match runner. Plays velkaris.exe under Wine, first in UCI, then in
# XBoard mode, against the opponent from an opening file, every opening
# twice with colours reversed, and prints the match runner's summary with
# its fault counts (illegal moves, crashes, stalls, time losses). Then, unless
# --keine-nps, the node counts per second of velkaris_bench.exe search under
# Wine and of the native build/velkaris_bench search, one after the other.
# PGN and JSON land in build-windows/partien/.
#
# Options (defaults in brackets):
#   --uci N            UCI games, 0 for none [40]
#   --xboard N         XBoard games, 0 for none [10]
#   --tc TC            time control [10+0.1]
#   --nodes N          a node limit per move instead of the clock
#   --depth D          a depth limit per move instead of the clock
#                      (both for UCI games only: the runner needs XBoard's
#                      "nps" feature for nodes, and follows its "sd" with an
#                      "st" that replaces the engine's depth limit)
#   --gegner CMD       the Linux engine (UCI) [/usr/games/glaurung]
#   --openings FILE    EPD/FEN openings [../shared/data/openings/6mvs_+90_+99.epd]
#   --hash MB          Hash of both engines [16]
#   --keine-nps        no speed comparison
#
# Timed games: nothing else heavy beside them; both sides think on the same
# cores, and the runner counts Wine's start-up and pipe latency as thinking
# time.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
shared=${VELKARIS_SHARED:-$here/../shared}
uci=40 xboard=10 tc=10+0.1 grenze=() gegner=/usr/games/glaurung
openings=$shared/data/openings/6mvs_+90_+99.epd hash=16 nps=1
while [ $# -gt 0 ]; do
  case $1 in
    --uci) uci=$2 ;;
    --xboard) xboard=$2 ;;
    --tc) tc=$2 ;;
    --nodes) grenze=(--nodes "$2") ;;
    --depth) grenze=(--depth "$2") ;;
    --gegner) gegner=$2 ;;
    --openings) openings=$2 ;;
    --hash) hash=$2 ;;
    --keine-nps) nps=0; shift; continue ;;
    *) echo "windows_partien.sh: unknown option $1" >&2; exit 1 ;;
  esac
  shift 2
done
[ ${#grenze[@]} -gt 0 ] || grenze=(--tc "$tc")

win=$here/build-windows
[ -f "$win/velkaris.exe" ] || { echo "no $win/velkaris.exe: make windows" >&2; exit 1; }
work=$win/partien
mkdir -p "$work"

source "$here/tools/match_kopie.bash"
match=$work/match
match_kopie "$shared" "$match"

# Wine as in make test-windows: its files in the build directory, and its
# services started once by a program that waits all through the run
# (started by an engine, they would hold its pipes open after it ended).
export WINEPREFIX=$win/wine WINEDEBUG=-all
wineboot --init >/dev/null 2>&1
halten=$(mktemp -u)
mkfifo "$halten"
wine "$win/velkaris.exe" <"$halten" >/dev/null 2>&1 &
exec {HALTEN}>"$halten"
rm -f "$halten"
trap 'exec {HALTEN}>&-; wineserver -k 2>/dev/null || true' EXIT
wine "$win/velkaris.exe" </dev/null >/dev/null 2>&1

spiele() { # protocol, games
  local name=velkaris-wine-$1 optionen=()
  # (XBoard has no options; the start-up file next to the program holds them.)
  [ "$1" = uci ] && optionen=(option.Hash="$hash")
  echo "== $2 games, velkaris.exe under Wine ($1) against $gegner, ${grenze[*]}"
  node "$match/match.js" \
    --engine cmd=wine arg="$win/velkaris.exe" proto="$1" name="$name" dir="$win" "${optionen[@]}" \
    --engine cmd="$gegner" option.Hash="$hash" \
    "${grenze[@]}" --games "$2" --openings "$openings" \
    --pgnout "$work/$name.pgn" --json "$work/$name.json" | tail -n 25
}
[ "$uci" -gt 0 ] && spiele uci "$uci"
if [ "$xboard" -gt 0 ] && [ "${grenze[0]}" != --tc ]; then
  echo "== no XBoard games with ${grenze[*]} (clock only)"
elif [ "$xboard" -gt 0 ]; then
  spiele xboard "$xboard"
fi

if [ "$nps" = 1 ]; then
  [ -x "$here/build/velkaris_bench" ] || { echo "no build/velkaris_bench: make" >&2; exit 1; }
  echo "== nodes per second, bench search (one thread)"
  echo "under Wine: $(wine "$win/velkaris_bench.exe" search | tr -d '\r' | grep -E '^(Nodes searched|Nodes/second)' | tr '\n' ' ')"
  echo "native:     $("$here/build/velkaris_bench" search | grep -E '^(Nodes searched|Nodes/second)' | tr '\n' ' ')"
fi
