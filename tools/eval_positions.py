#!/usr/bin/env python3
"""Builds tests/data/eval_positions.epd: a few hundred varied positions (FEN
with both move counters) for the evaluation tests, picked from the shared
test data. Openings, tactical suites and perft stress positions give the
bulk; endgames are picked by kind (passed pawns, opposite bishops, pawnless,
pawn endings, rooks on the 7th, naked kings, pins, few pieces).

usage: tools/eval_positions.py DATA_DIR OUT [BENCH]

With BENCH (a velkaris_bench binary) every position the engine rejects is
dropped ("illegal" from `velkaris_bench eval`)."""
import os
import subprocess
import sys

from aufruf import argumente


def fen_aus_zeile(zeile):
    teile = zeile.replace(';', ' ; ').split()
    if len(teile) < 4 or '/' not in teile[0] or teile[1] not in ('w', 'b'):
        return None
    fen = teile[:4]
    if len(teile) >= 6 and teile[4].isdigit() and teile[5].isdigit():
        fen += teile[4:6]
    else:
        fen += ['0', '1']
    return ' '.join(fen)


def brett(fen):
    b = {}
    for r, reihe in enumerate(fen.split()[0].split('/')):
        f = 0
        for c in reihe:
            if c.isdigit():
                f += int(c)
            else:
                b[(r, f)] = c
                f += 1
    return b


def freibauer(b, r, f, weiss):
    for (r2, f2), c in b.items():
        if abs(f2 - f) > 1:
            continue
        if weiss and c == 'p' and r2 < r:
            return False
        if not weiss and c == 'P' and r2 > r:
            return False
    return True


def fesselung(b):
    for weiss in (True, False):
        k = [p for p, c in b.items() if c == ('K' if weiss else 'k')]
        if not k:
            continue
        kr, kf = k[0]
        for dr, df in ((1, 0), (-1, 0), (0, 1), (0, -1), (1, 1), (1, -1), (-1, 1), (-1, -1)):
            gerade = dr == 0 or df == 0
            eigene = None
            r, f = kr + dr, kf + df
            while 0 <= r < 8 and 0 <= f < 8:
                c = b.get((r, f))
                if c:
                    if c.isupper() == weiss:
                        if eigene:
                            break
                        eigene = c
                    else:
                        if eigene and c.lower() in (('r', 'q') if gerade else ('b', 'q')):
                            return True
                        break
                r, f = r + dr, f + df
    return False


def arten(fen):
    b = brett(fen)
    n = {}
    for c in b.values():
        n[c] = n.get(c, 0) + 1
    anz = lambda c: n.get(c, 0)
    gesamt = len(b)
    a = set()
    if gesamt <= 6:
        a.add('wenige')
    if gesamt <= 14:
        a.add('endspiel')
    lw = [(r + f) % 2 for (r, f), c in b.items() if c == 'B']
    ls = [(r + f) % 2 for (r, f), c in b.items() if c == 'b']
    if len(lw) == 1 and len(ls) == 1 and lw[0] != ls[0]:
        a.add('ungleiche_laeufer')
    if (anz('P') == 0) != (anz('p') == 0):
        a.add('bauernlos')
    if all(c in 'PpKk' for c in b.values()):
        a.add('bauernendspiel')
    if any(c == 'R' and r == 1 for (r, f), c in b.items()) or any(c == 'r' and r == 6 for (r, f), c in b.items()):
        a.add('turm7')
    frei = [1 for (r, f), c in b.items() if (c == 'P' and freibauer(b, r, f, True)) or (c == 'p' and freibauer(b, r, f, False))]
    if frei:
        a.add('freibauer')
    for weiss in (True, False):
        k = [p for p, c in b.items() if c == ('K' if weiss else 'k')]
        if k and anz('q' if weiss else 'Q'):
            kr, kf = k[0]
            bauer = 'P' if weiss else 'p'
            if not any(b.get((kr + dr, kf + df)) == bauer and 1 <= kr + dr <= 6 and 1 <= kf + df <= 6
                       for dr in (-1, 0, 1) for df in (-1, 0, 1)):
                a.add('nackter_koenig')
    if fesselung(b):
        a.add('fesselung')
    if fen.split()[2] != '-' and gesamt >= 20:
        a.add('rochade')
    if fen.split()[3] != '-':
        a.add('en_passant')
    return a


def lesen(pfad):
    aus = []
    with open(pfad, encoding='utf-8', errors='replace') as datei:
        for zeile in datei:
            zeile = zeile.strip()
            if not zeile or zeile.startswith('#'):
                continue
            fen = fen_aus_zeile(zeile)
            if fen:
                aus.append(fen)
    return aus


def gleichmaessig(liste, k):
    if len(liste) <= k:
        return list(liste)
    return [liste[i * len(liste) // k] for i in range(k)]


def main():
    a = argumente(__doc__, 2, dateien=(0, 2))
    daten, ziel = a[0], a[1]
    bench = a[2] if len(a) > 2 else None
    quellen = {
        'openings/4mvs_+90_+99.epd': 40,
        'openings/6mvs_+90_+99.epd': 30,
        'openings/FRC_openings.epd': 12,
        'epd/wacnew.epd': 25,
        'epd/ECM.epd': 20,
        'epd/STS1-STS15_LAN_v3.epd': 25,
        'epd/arasan.epd': 10,
        'epd/bratko-kopec.epd': 8,
        'epd/lctii.epd': 8,
        'epd/silentbutdeadly.epd': 8,
        'perft/perftsuite.epd': 12,
        'perft/perft.epd': 12,
        'perft/perft-marcel.epd': 12,
    }
    alle = []
    gewaehlt = []
    for pfad, k in quellen.items():
        fens = lesen(os.path.join(daten, pfad))
        alle += fens
        gewaehlt += gleichmaessig(fens, k)
    for extra in ('epd/wcsac.epd', 'epd/wac-analysed.epd', 'epd/ecmgcp.epd', 'epd/bt2630.epd',
                  'perft/perftsuite2.epd', 'perft/perft-ferdy-double-checks.epd', 'perft/ferdy_perft_enpassant_1.epd'):
        alle += lesen(os.path.join(daten, extra))

    # Endgames and special kinds from everything read.
    klassen = {}
    for fen in alle:
        for a in arten(fen):
            klassen.setdefault(a, []).append(fen)
    je_art = {'wenige': 30, 'endspiel': 40, 'ungleiche_laeufer': 25, 'bauernlos': 25, 'bauernendspiel': 25,
              'turm7': 20, 'freibauer': 20, 'nackter_koenig': 15, 'fesselung': 20, 'rochade': 10, 'en_passant': 10}
    for a, k in je_art.items():
        gewaehlt += gleichmaessig(klassen.get(a, []), k)

    gesehen = set()
    eindeutig = []
    for fen in gewaehlt:
        schluessel = ' '.join(fen.split()[:4])
        if schluessel not in gesehen:
            gesehen.add(schluessel)
            eindeutig.append(fen)

    if bench:
        eingabe = ''.join(f + '\n' for f in eindeutig)
        aus = subprocess.run([bench, 'eval'], input=eingabe, capture_output=True, text=True, check=True).stdout.split('\n')
        eindeutig = [f for f, e in zip(eindeutig, aus) if e.strip() != 'illegal']

    with open(ziel, 'w') as datei:
        for fen in eindeutig:
            datei.write(fen + '\n')
    print(f'{len(eindeutig)} positions written to {ziel}', file=sys.stderr)
    return 0


if __name__ == '__main__':
    sys.exit(main())
