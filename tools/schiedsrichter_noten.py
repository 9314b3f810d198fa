#!/usr/bin/env python3
# Referee scores for training positions: a copy of a position file in the
# --Testpos format (quiet score, search score, result for the side to move,
# FEN) whose second column holds a referee's score instead of ours, in our
# units (1000 a pawn, side to move). The tuner blends it into its target
# with --referee L. Positions the referee sees as mate are left out.
#
# usage: tools/schiedsrichter_noten.py DEPTH IN OUT [PROCESSES]
#   (stockfish from PATH or /usr/games, one thread each, PROCESSES at a time
#   [2]; OUT is appended to, and a stopped run goes on after its last line)
import os, sys, threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from aufruf import argumente
from fehlzug_zensus import Schiedsrichter

NUTZUNG = 'usage: tools/schiedsrichter_noten.py DEPTH IN OUT [PROCESSES]'

def main():
    a = argumente(NUTZUNG, 3, zahlen=(0, 3), dateien=(1,))
    tiefe, ein, aus = int(a[0]), a[1], a[2]
    n = int(a[3]) if len(a) > 3 else 2
    zeilen = open(ein).read().splitlines()
    fertig = sum(1 for _ in open(aus)) if os.path.exists(aus) else 0
    # Lines are handed out in order and written in order; a line the referee
    # mates in is written as nothing but still counts as done.
    rest = zeilen[fertig:]
    ergebnis = [None] * len(rest)
    naechste = [0]
    sperre = threading.Lock()
    geschrieben = [0]
    datei = open(aus, 'a')

    def schreiben():
        while geschrieben[0] < len(rest) and ergebnis[geschrieben[0]] is not None:
            datei.write(ergebnis[geschrieben[0]])
            geschrieben[0] += 1
        datei.flush()

    def arbeiter():
        sr = Schiedsrichter(tiefe)
        while True:
            with sperre:
                i = naechste[0]
                naechste[0] += 1
            if i >= len(rest): return
            z = rest[i]
            fen = z[20:].strip()
            w, _ = sr.wert(fen, [])
            if w is None or abs(w) >= 10000:
                neu = '#\n'  # a placeholder keeps the line count
            else:
                neu = '%8d%8d%s\n' % (int(z[0:8]), 10 * w, z[16:])
            with sperre:
                ergebnis[i] = neu
                schreiben()
            if i % 10000 == 0:
                print(f'{fertig + i} of {len(zeilen)}', flush=True)

    t = [threading.Thread(target=arbeiter) for _ in range(n)]
    for x in t: x.start()
    for x in t: x.join()
    datei.close()

main()
