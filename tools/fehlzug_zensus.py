#!/usr/bin/env python3
# Referee census of lost games: where did our engine go wrong, and was it a
# tactic or a judgement?
#
# usage: tools/fehlzug_zensus.py DEPTH MATCH.pgn...   (games from the match
# runner with our engine named "Velkaris"; needs pgn-extract and stockfish,
# found in PATH or /usr/games)
#
# For every lost game the referee scores the position after each half move.
# Our worst move is the one whose referee score (from our side) drops the most
# while the position before it was still at least -1.00. At that move the
# script records the move number, the referee's score before and after, what
# our engine said when it played the move, the material left on the board, and
# whether the referee's line wins material within eight half moves (a tactic
# we missed) or not (a positional misjudgement).
import os, re, shutil, subprocess, sys

from aufruf import argumente

NUTZUNG = 'usage: tools/fehlzug_zensus.py DEPTH MATCH.pgn...'

def programm(name):
    pfad = shutil.which(name) or os.path.join('/usr/games', name)
    if not os.access(pfad, os.X_OK):
        sys.exit(f'{name} not found in PATH or /usr/games (Debian: apt-get install {name})')
    return pfad

WERT = {'p': 1, 'n': 3, 'b': 3, 'r': 5, 'q': 9}

def material(fen, weiss):
    brett = fen.split()[0]
    s = sum(WERT.get(c.lower(), 0) * (1 if c.isupper() else -1) for c in brett if c.isalpha())
    return s if weiss else -s

def figuren(fen):
    return sum(1 for c in fen.split()[0] if c.isalpha() and c.lower() not in 'kp')

class Schiedsrichter:
    def __init__(self, tiefe):
        self.tiefe = tiefe
        self.p = subprocess.Popen([programm('stockfish')], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.senden('uci'); self.senden('setoption name Threads value 1'); self.senden('setoption name Hash value 64')
        self.warten('readyok', 'isready')

    def senden(self, s):
        self.p.stdin.write(s + '\n'); self.p.stdin.flush()

    def warten(self, wort, befehl):
        self.senden(befehl)
        while True:
            z = self.p.stdout.readline()
            if z.startswith(wort): return z

    def fen(self, start, zuege):
        self.senden(f'position fen {start} moves {" ".join(zuege)}')
        self.senden('d')
        while True:
            z = self.p.stdout.readline()
            if z.startswith('Fen: '):
                fen = z[5:].strip()
                self.warten('readyok', 'isready')
                return fen

    def wert(self, start, zuege):
        """Score for the side to move in centipawns (mates as +-10000) and the line."""
        self.senden(f'position fen {start} moves {" ".join(zuege)}')
        self.senden(f'go depth {self.tiefe}')
        w, pv = 0, []
        while True:
            t = self.p.stdout.readline().split()
            if not t: continue
            if t[0] == 'info' and 'score' in t and 'pv' in t:
                i = t.index('score')
                w = int(t[i + 2]) if t[i + 1] == 'cp' else (10000 if int(t[i + 2]) > 0 else -10000)
                pv = t[t.index('pv') + 1:]
            if t[0] == 'bestmove':
                if t[1] == '(none)': return None, []
                return w, pv

def partien(dateien):
    for datei in dateien:
        text = open(datei, errors='replace').read()
        uci = subprocess.run([programm('pgn-extract'), '-Wuci', '--noresults', '-C', '-N', '-V', '-w', '1000000', datei],
                             capture_output=True, text=True).stdout
        roh = text.split('[Event ')[1:]
        umg = uci.split('[Event ')[1:]
        for g, u in zip(roh, umg):
            kopf = dict(re.findall(r'\[(\w+) "([^"]*)"\]', g))
            # pgn-extract keeps the games in order; skip rather than pair a
            # game with another game's moves should it have dropped one.
            if re.search(r'\[Round "([^"]*)"\]', u).group(1) != kopf.get('Round'): continue
            zuege = u.split('\n\n', 1)[1].split() if '\n\n' in u else []
            koerper = g.split('\n\n', 1)[1] if '\n\n' in g else ''
            noten = re.findall(r'\{([+-]?[\d.]+|[+-]?M\d+)/\d+\s+[\d.]+s', koerper)
            yield kopf, zuege, noten

def note(s):
    if 'M' in s: return 100.0 if not s.startswith('-') else -100.0
    return float(s)

def main():
    a = argumente(NUTZUNG, 2, zahlen=(0,), dateien_ab=1)
    tiefe = int(a[0])
    sr = Schiedsrichter(tiefe)
    zeilen = []
    for kopf, zuege, noten in partien(a[1:]):
        wir_weiss = kopf.get('White') == 'Velkaris'
        erg = kopf.get('Result')
        if not ((erg == '1-0' and not wir_weiss) or (erg == '0-1' and wir_weiss)): continue
        start = kopf.get('FEN', 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1')
        weiss_beginnt = start.split()[1] == 'w'
        # Referee scores from our side after each half move, up to the point
        # where the game is clearly lost (-3.00) plus one move.
        uns = []
        for k in range(len(zuege) + 1):
            w, pv = sr.wert(start, zuege[:k])
            if w is None: break
            weiss_am_zug = (k % 2 == 0) == weiss_beginnt
            uns.append((w if weiss_am_zug == wir_weiss else -w, pv))
            if uns[-1][0] <= -300 and len(uns) > 2: break
        bester = None
        for k in range(len(uns) - 1):
            weiss_zieht = (k % 2 == 0) == weiss_beginnt
            if weiss_zieht != wir_weiss or uns[k][0] < -100: continue
            verlust = uns[k][0] - uns[k + 1][0]
            if bester is None or verlust > bester[1]: bester = (k, verlust)
        if bester is None: continue
        k, verlust = bester
        vorher = sr.fen(start, zuege[:k + 1])
        linie = uns[k + 1][1][:8]
        nachher = sr.fen(start, zuege[:k + 1] + linie)
        taktik = material(nachher, wir_weiss) - material(vorher, wir_weiss) <= -2
        unser = note(noten[k]) if k < len(noten) else float('nan')
        zeilen.append((kopf.get('Round'), int(start.split()[5]) + k // 2, uns[k][0], uns[k + 1][0], unser,
                       figuren(vorher), taktik, zuege[k]))
        z = zeilen[-1]
        print(f'round {z[0]:>4} move {z[1]:>3} {z[7]:6} referee {z[2] / 100:+6.2f} -> {z[3] / 100:+6.2f}  ours {z[4]:+6.2f}  '
              f'pieces {z[5]:2}  {"tactic" if z[6] else "judgement"}', flush=True)
    n = len(zeilen)
    if not n: return
    takt = sum(1 for z in zeilen if z[6])
    blind = sum(1 for z in zeilen if z[4] - z[3] / 100 >= 1.0)
    print(f'\n{n} lost games; worst move: {takt} tactics lost within 8 half moves, {n - takt} judgements; '
          f'median move {sorted(z[1] for z in zeilen)[n // 2]}; median referee loss '
          f'{sorted(z[2] - z[3] for z in zeilen)[n // 2] / 100:.2f}; our score at least 1.00 above the referee after it in {blind}')

if __name__ == '__main__':
    main()
