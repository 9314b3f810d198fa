#!/bin/bash
# The scripts in tools/, run without their arguments or with arguments they
# cannot use, print their usage on standard error and exit with status 2:
# no traceback, nothing started.
# Usage: bash tools_usage.sh <engine> <popcnt engine> <test data dir>
source "$(dirname "$0")/uci_dialog.bash"
command -v python3 >/dev/null || { echo "skipped: no Python 3"; exit 77; }
werkzeuge=$(cd "$(dirname "$0")/../../tools" && pwd)

# script | arguments (words; empty: none)
faelle="ab.sh|
ab.sh|HEAD HEAD --games
ab.sh|HEAD HEAD --colour white
bitbase_messung.sh|
bitbase_messung.sh|$1 /nonexistent fens.txt
trainingsdaten.sh|--fast
trainingsdaten.sh|--games
windows_partien.sh|--uci 4 --schnell
windows_partien.sh|--keine-nps --tc
bewertung_abgleich.py|
bewertung_abgleich.py|$3 ten game.pgn
eval_positions.py|
eval_positions.py|/nonexistent out.epd
fehlzug_zensus.py|
fehlzug_zensus.py|12
fehlzug_zensus.py|twelve $3/eval_positions.epd
fehlzug_zensus.py|12 /nonexistent.pgn
schiedsrichter_noten.py|
schiedsrichter_noten.py|8 /nonexistent out.txt
schiedsrichter_noten.py|8 $3/eval_positions.epd out.txt 0
sicht.py|
sicht.py|/nonexistent.pgn"

cd "$tmp"
while IFS='|' read -r skript argumente; do
    # shellcheck disable=SC2086 # the arguments are words
    lauf "$werkzeuge/$skript" '' $argumente
    wie="$skript ${argumente:-(no arguments)}"
    [ $RC = 2 ] || fehlschlag "$wie: exit status $RC, expected 2"
    grep -qi 'usage' err || fehlschlag "$wie: no usage on standard error: $(head -3 err)"
    grep -q 'Traceback\|unbound variable' err && fehlschlag "$wie: $(tail -3 err)"
    [ -s out ] && fehlschlag "$wie: printed on standard output: $(head -3 out)"
done <<<"$faelle"

# Every script of the folder has its cases (the helper module aside).
for f in "$werkzeuge"/*.py "$werkzeuge"/*.sh; do
    name=$(basename "$f")
    [ "$name" = aufruf.py ] && continue
    grep -q "^$name|" <<<"$faelle" || fehlschlag "$name has no case here"
    [ -x "$f" ] || fehlschlag "$name is not executable"
done

ergebnis tools_usage
