#!/usr/bin/env python3
# Which evaluation terms does a stronger judge's score bear out, and by how
# much? Fits the referee's scores of quiet positions from real games as a
# weighted sum of our evaluation's terms and compares each fitted weight,
# measured against material in the same half (middlegame / endgame), with
# the weight our evaluation gives it.
#
# usage: tools/bewertung_abgleich.py BENCH DEPTH GAMES.pgn...
#   BENCH  a velkaris_bench binary (its "eval --terms" gives the parts)
#   DEPTH  the referee's search depth (stockfish, found in PATH or /usr/games)
# Needs pgn-extract. Positions: every third one of each game from move 8 on,
# quiet (quiescence equals the static score), no endgame recogniser or
# drawish scaling at work, referee score within 4 pawns.
#
# Reading the table: "ours/ref" is how many times more weight our evaluation
# gives a term, relative to material, than the referee's scores support;
# above 1 we overrate the term, below 1 we underrate it.
import subprocess, sys, threading

from aufruf import argumente
from fehlzug_zensus import Schiedsrichter, programm

NUTZUNG = 'usage: tools/bewertung_abgleich.py BENCH DEPTH GAMES.pgn...'

# The blend: score = (eg * (256 - phase) + (mg + balance) * phase) / 256 + balance.
# Each column below is one term's share of that sum; our own weight of every
# column is 1 except material in the middlegame, which counts twice.
SPALTEN = ['material mg', 'material eg', 'pawns mg', 'pawns eg', 'imbalance mg', 'imbalance eg',
           'mobility mg', 'mobility eg', 'pieces+pawns mg', 'pieces+pawns eg', 'king endgame',
           'king safety', 'tempo']
UNSER = [2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1]
HAELFTE = ['mg', 'eg', 'mg', 'eg', 'mg', 'eg', 'mg', 'eg', 'mg', 'eg', 'eg', 'mg', '']

def merkmale(t):
    ph, bil = t[0], t[1]
    m, e = ph / 256, (256 - ph) / 256
    tempo = t[12] * (68 * m + 35 * e)
    return [bil * m, bil * e, t[2] * m, t[3] * e, t[4] * m, t[5] * e, t[6] * m, t[7] * e,
            t[8] * m, t[9] * e, t[10] * e, t[11] * m, tempo]

def stellungen(dateien):
    fens = []
    for datei in dateien:
        epd = subprocess.run([programm('pgn-extract'), '-Wepd', '-s', datei], capture_output=True, text=True).stdout
        spiel, k = None, 0
        for z in epd.splitlines():
            teile = z.split()
            if len(teile) < 5: continue
            kennung = z.split(' c0 ', 1)[1] if ' c0 ' in z else ''
            k = k + 1 if kennung == spiel else 0
            spiel = kennung
            if k >= 16 and k % 3 == 0:
                fens.append(' '.join(teile[:4]) + ' 0 1')
    return list(dict.fromkeys(fens))

def referee(fens, tiefe, ergebnis, start):
    """White's score of each position in centipawns, None for a mate."""
    sr = Schiedsrichter(tiefe)
    sr.senden('setoption name Hash value 16')
    for i, fen in enumerate(fens):
        sr.senden('ucinewgame')
        w, _ = sr.wert(fen, [])
        if w is None or abs(w) >= 10000: w = None
        elif fen.split()[1] == 'b': w = -w
        ergebnis[start + i] = w
    sr.senden('quit')

def loesen(a, b):
    n = len(b)
    m = [row[:] + [b[i]] for i, row in enumerate(a)]
    for s in range(n):
        p = max(range(s, n), key=lambda r: abs(m[r][s]))
        m[s], m[p] = m[p], m[s]
        for r in range(n):
            if r != s and m[s][s]:
                f = m[r][s] / m[s][s]
                m[r] = [x - f * y for x, y in zip(m[r], m[s])]
    return [m[i][n] / m[i][i] if m[i][i] else 0.0 for i in range(n)]

def kleinste_quadrate(x, y):
    """The least-squares weights and X'X (for their standard errors)."""
    k = len(x[0])
    xtx = [[sum(r[i] * r[j] for r in x) for j in range(k)] for i in range(k)]
    xty = [sum(r[i] * v for r, v in zip(x, y)) for i in range(k)]
    return loesen(xtx, xty), xtx

def main():
    a = argumente(NUTZUNG, 3, zahlen=(1,), dateien=(0,), dateien_ab=2)
    bench, tiefe, dateien = a[0], int(a[1]), a[2:]
    fens = stellungen(dateien)
    aus = subprocess.run([bench, 'eval', '--terms'], input='\n'.join(fens) + '\n', capture_output=True, text=True).stdout
    auswahl = []
    for fen, z in zip(fens, aus.splitlines()):
        if z == 'illegal': continue
        t = [int(v) for v in z.split()]
        stm = 1 if fen.split()[1] == 'w' else -1
        statisch, ruhe = t[15], t[16]
        if abs(ruhe - statisch) > 50 or t[13] != t[14] or statisch != stm * t[14]: continue
        auswahl.append((fen, t))
    werte = [None] * len(auswahl)
    halb = len(auswahl) // 2
    faeden = [threading.Thread(target=referee, args=([f for f, _ in auswahl[:halb]], tiefe, werte, 0)),
              threading.Thread(target=referee, args=([f for f, _ in auswahl[halb:]], tiefe, werte, halb))]
    for f in faeden: f.start()
    for f in faeden: f.join()
    x, y = [], []
    for (fen, t), w in zip(auswahl, werte):
        if w is None or abs(w) > 400: continue
        x.append(merkmale(t)); y.append(w)
    n = len(y)
    if n <= 2 * len(SPALTEN):
        sys.exit(f'only {n} usable positions: too few to fit {len(SPALTEN)} weights')
    gew, xtx = kleinste_quadrate(x, y)
    # How much of the referee's score the fit explains, and how much our own
    # weights explain after the best single scale factor.
    def r2(vor):
        mittel = sum(y) / n
        rest = sum((v - p) ** 2 for v, p in zip(y, vor))
        return 1 - rest / sum((v - mittel) ** 2 for v in y)
    passend = [sum(g * f for g, f in zip(gew, r)) for r in x]
    # Standard errors of the weights: residual variance times the diagonal
    # of the inverse of X'X.
    k = len(gew)
    s2 = sum((v - p) ** 2 for v, p in zip(y, passend)) / (n - k)
    fehler = [(s2 * loesen(xtx, [1.0 if j == i else 0.0 for j in range(k)])[i]) ** 0.5 for i in range(k)]
    unser = [sum(u * f for u, f in zip(UNSER, r)) for r in x]
    skala = sum(a * b for a, b in zip(unser, y)) / sum(a * a for a in unser)
    print(f'{len(fens)} positions from the games, {len(auswahl)} quiet, {n} within 4 pawns (referee depth {tiefe})')
    print(f'R^2: fitted weights {r2(passend):.3f}, our weights scaled by {skala:.4f} cp/unit {r2([skala * u for u in unser]):.3f}')
    print(f'by material, one of our centipawns is worth {10 * gew[0] / UNSER[0]:.2f} referee centipawns in the '
          f'middlegame half and {10 * gew[1] / UNSER[1]:.2f} in the endgame half')
    bezug = {'mg': gew[0] / UNSER[0], 'eg': gew[1] / UNSER[1], '': (gew[0] / UNSER[0] + gew[1] / UNSER[1]) / 2}
    print(f'{"term":18} {"fitted cp/unit":>20} {"ours/ref":>9} {"spread (10-90 %)":>17}')
    for i, name in enumerate(SPALTEN):
        spalte = sorted(r[i] for r in x)
        streuung = (spalte[int(0.9 * n)] - spalte[int(0.1 * n)]) / 10
        verh = bezug[HAELFTE[i]] * UNSER[i] / gew[i] if gew[i] else float('inf')
        print(f'{name:18} {gew[i]:11.4f} +- {fehler[i]:.4f} {verh:9.2f} {streuung:14.0f} cp')

if __name__ == '__main__':
    main()
