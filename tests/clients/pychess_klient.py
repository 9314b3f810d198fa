#!/usr/bin/env python3
# Both engine programs driven through python-chess in both protocols, the
# way analysis tools and GUIs built on that library drive an engine:
# start-up and options; play with time, depth and node limits from varied
# positions (en passant, castling, promotion, check, a fortress, a game
# with a repetition behind it); pondering; analysis with MultiPV 3 and with
# a depth limit; infinite analysis stopped; positions where the game is
# over; Chess960; and two short games whose every move the client's board
# checks.
#
# Besides what the library itself raises, every line the engine prints is
# kept and checked: each principal variation must be legal and must end at
# the first position that repeats one of the game or of the line; the last
# line before the best move must be that of the deepest finished iteration
# (a client reports that line as the result); every operation must come
# back (a finished game is answered with its result, a ping with its pong).
#
# usage: pychess_klient.py ENGINE POPCNT_ENGINE PYCHESS_DIR
# Exit code 77 (skipped) when PYCHESS_DIR holds no python-chess.
import asyncio
import contextlib
import logging
import os
import sys
import tempfile
import time

UEBERSPRUNGEN = 77
# (python-chess, "chess", is imported by main() from the directory it is given.)
# Longest wait for one operation (ten times that for the sanitizer builds);
# a hang fails the section it happens in.
WARTEN = 10.0
# The limits used for "play".
ZEIT, TIEFE, KNOTEN = 0.05, 5, 3000

# Positions for "play": en passant, castling, promotion, check, quiet and
# sharp middlegames, endgames, a fortress whose lines go round in circles,
# and (moves after a FEN) a game that already went back to its start.
STELLUNGEN = [
    ("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", ""),
    ("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3", ""),
    ("rnbqkbnr/pp1ppppp/8/8/2pPP3/5N2/PPP2PPP/RNBQKB1R b KQkq d3 0 3", ""),
    ("r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 4 8", ""),
    ("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", ""),
    ("rnbqk1nr/pppp1ppp/8/4p3/1b1PP3/8/PPP2PPP/RNBQKBNR w KQkq - 1 3", ""),
    ("1r6/P7/8/8/8/8/1k6/4K3 w - - 0 1", ""),
    ("8/8/8/8/8/5k2/1p6/6K1 b - - 0 1", ""),
    ("r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R w KQ - 3 9", ""),
    ("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", ""),
    ("7k/8/7K/7P/8/8/8/5B2 w - - 0 1", ""),
    ("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3 g8f6 f3g1 f6g8"),
]

# Finished games: the position, the moves that lead there, and the result
# an XBoard engine claims.
ENDEN = [
    ("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "", "1-0 {White mates}"),
    ("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "", "1/2-1/2 {Stalemate}"),
    ("7k/8/6K1/8/8/8/8/8 w - - 0 1", "", "1/2-1/2 {Insufficient material}"),
    ("7k/8/6K1/8/8/8/8/R7 w - - 99 80", "a1b1", "1/2-1/2 {Draw by 50 move rule}"),
    ("7k/8/6K1/8/8/8/8/R7 w - - 0 1", "a1b1 h8g8 b1a1 g8h8 a1b1 h8g8 b1a1 g8h8", "1/2-1/2 {Draw by repetition}"),
]


# The failures of every section (a section goes on after one where it
# can), and what the library complains of (illegal PVs, odd output, stderr).
FEHLER = []
WARNUNGEN = []


class Warnungen(logging.Handler):
    def emit(self, record):
        WARNUNGEN.append(record.getMessage())


def brett(fen, zuege="", chess960=False):
    b = chess.Board(fen, chess960=chess960)
    for z in zuege.split():
        b.push_uci(z)
    return b


def mitschreibend(basis):
    """A protocol class that keeps every line the engine prints."""

    class Mitschrift(basis):
        def __init__(self):
            super().__init__()
            self.zeilen = []

        def _line_received(self, line):
            self.zeilen.append(line)
            super()._line_received(line)

    return Mitschrift


class Lauf:
    """One section against one engine program in one protocol."""

    def __init__(self, programm, protokoll, abschnitt, verzeichnis):
        self.programm, self.protokoll, self.verzeichnis = programm, protokoll, verzeichnis
        self.name = f"{os.path.basename(programm)} {protokoll} {abschnitt}"
        self.engine = self.transport = None
        self.zeitzuege = []

    def pruefen(self, bedingung, text):
        if not bedingung:
            FEHLER.append(f"{self.name}: {text}")
        return bedingung

    async def starten(self):
        basis = chess.engine.UciProtocol if self.protokoll == "uci" else chess.engine.XBoardProtocol
        self.transport, self.engine = await mitschreibend(basis).popen(self.programm, cwd=self.verzeichnis)
        await asyncio.wait_for(self.engine.initialize(), WARTEN)
        if self.protokoll == "uci":
            await self.engine.configure({"OwnBook": False, "Hash": 8})

    def beenden(self):
        if self.transport is not None:
            with contextlib.suppress(ProcessLookupError):
                self.transport.kill()
            self.transport.close()

    async def mit(self, aufgabe):
        return await asyncio.wait_for(aufgabe, WARTEN)

    def neue_zeilen(self):
        z, self.engine.zeilen = self.engine.zeilen, []
        return z

    # --- what the engine printed --------------------------------------

    def varianten(self, zeilen):
        """The move texts of every principal variation printed."""
        for z in zeilen:
            t = z.split()
            if self.protokoll == "uci":
                if t[:1] == ["info"] and "pv" in t:
                    yield z, t[t.index("pv") + 1:]
            elif len(t) >= 4 and all(x.lstrip("-").isdigit() for x in t[:4]):
                yield z, [x for x in t[4:] if not x.startswith("(")]

    def varianten_pruefen(self, b, zeilen):
        """Every line legal, and none going on past a repeated position."""
        for z, zuege in self.varianten(zeilen):
            k = b.copy()
            for i, text in enumerate(zuege):
                try:
                    k.push(k.parse_uci(text) if self.protokoll == "uci" else k.parse_xboard(text))
                except ValueError:
                    self.pruefen(False, f"illegal move {text} in '{z}' ({b.fen()})")
                    break
                if k.is_repetition(2) and i + 1 < len(zuege):
                    self.pruefen(False, f"line goes on after a repeated position: '{z[:160]}' ({b.fen()})")
                    break

    def letzte_tiefe(self, zeilen):
        """The depth of the last principal variation before the move."""
        tiefe = None
        for z, _ in self.varianten(zeilen):
            t = z.split()
            tiefe = int(t[t.index("depth") + 1]) if self.protokoll == "uci" else int(t[0])
        return tiefe

    # --- the sections ---------------------------------------------------

    async def anfang(self):
        e = self.engine
        self.pruefen(e.id.get("name", "").startswith("Velkaris"), f"name {e.id}")
        if self.protokoll == "uci":
            for name in ("Hash", "MultiPV", "Clear Hash", "NumberOfProcessors", "UCI_Chess960", "Ponder"):
                self.pruefen(name in e.options, f"option {name} missing")
            await e.configure({"Clear Hash": None, "NumberOfProcessors": 1})
        else:
            self.pruefen(e.features.get("nps") == 0, "feature nps=0 not announced")
            await e.configure({"memory": 16, "cores": 1})
        await self.mit(e.ping())

    async def spielen(self):
        limits = [("time", chess.engine.Limit(time=ZEIT)), ("depth", chess.engine.Limit(depth=TIEFE))]
        if self.protokoll == "uci":
            limits.append(("nodes", chess.engine.Limit(nodes=KNOTEN)))
        for fen, zuege in STELLUNGEN:
            b = brett(fen, zuege)
            for art, limit in limits:
                self.neue_zeilen()
                start = time.monotonic()
                r = await self.mit(self.engine.play(b, limit, info=chess.engine.INFO_ALL))
                if art == "time":
                    self.zeitzuege.append(time.monotonic() - start)
                zeilen = self.neue_zeilen()
                if not self.pruefen(r.move in b.legal_moves, f"{art}: move {r.move} ({b.fen()})"):
                    continue
                self.varianten_pruefen(b, zeilen)
                if art == "depth":
                    # XBoard's thinking lines count the plies after the first;
                    # a proven mate ends the search early.
                    soll = TIEFE if self.protokoll == "uci" else TIEFE - 1
                    tiefe = self.letzte_tiefe(zeilen)
                    matt = "score" in r.info and r.info["score"].is_mate()
                    self.pruefen((tiefe == soll or (matt and tiefe and tiefe < soll)) and r.info.get("depth") == tiefe,
                                 f"depth {TIEFE}: last line at depth {self.letzte_tiefe(zeilen)}, "
                                 f"client reports {r.info.get('depth')} ({b.fen()})")
        if self.protokoll == "xboard":
            # Node limits are refused before anything is sent.
            with contextlib.suppress(chess.engine.EngineError):
                await self.mit(self.engine.play(brett(STELLUNGEN[0][0]), chess.engine.Limit(nodes=KNOTEN)))
                self.pruefen(False, "node limit accepted")
        await self.mit(self.engine.ping())

    async def pondern(self):
        limit = chess.engine.Limit(time=ZEIT)
        for fen, zuege in (STELLUNGEN[3], STELLUNGEN[9], ("7k/8/6K1/8/8/8/8/R7 b - - 0 1", "")):
            b = brett(fen, zuege)
            for _ in range(2):
                if b.is_game_over():
                    break
                # The library keeps the board it is given to recognise the
                # expected reply: it gets a copy, this one moves on.
                r = await self.mit(self.engine.play(b.copy(), limit, ponder=True))
                if not self.pruefen(r.move in b.legal_moves, f"ponder: move {r.move} ({b.fen()})"):
                    break
                b.push(r.move)
                # The reply the engine expected, else any.
                antwort = r.ponder if r.ponder in b.legal_moves else next(iter(b.legal_moves), None)
                if antwort is None:
                    break
                b.push(antwort)
            await self.mit(self.engine.ping())
        r = await self.mit(self.engine.play(brett(STELLUNGEN[4][0]), limit))
        self.pruefen(r.move is not None, "no move after pondering")

    async def analysieren(self):
        for fen, zuege in (STELLUNGEN[4], STELLUNGEN[9], STELLUNGEN[11]):
            b = brett(fen, zuege)
            self.neue_zeilen()
            if self.protokoll == "uci":
                infos = await self.mit(self.engine.analyse(b, chess.engine.Limit(depth=6), multipv=3))
                self.pruefen(len(infos) == 3, f"multipv 3: {len(infos)} lines ({b.fen()})")
                for info in infos:
                    self.pruefen(info.get("depth") == 6 and info.get("pv"), f"multipv 3: {info} ({b.fen()})")
            info = await self.mit(self.engine.analyse(b, chess.engine.Limit(depth=6)))
            # An XBoard analysis is stopped by the client once it sees the
            # depth, and a line of the next depth may come first.
            tiefe = info.get("depth", 0)
            self.pruefen((tiefe == 6 or (tiefe > 6 and self.protokoll == "xboard")) and info.get("pv")
                         and info["pv"][0] in b.legal_moves, f"analysis to depth 6 reports {tiefe} ({b.fen()})")
            self.varianten_pruefen(b, self.neue_zeilen())
        # Infinite analysis, stopped after the first few lines.
        b = brett(*STELLUNGEN[5])
        analyse = await self.mit(self.engine.analysis(b))
        ende = time.monotonic() + 0.3
        while time.monotonic() < ende and analyse.info.get("depth", 0) < 4:
            await asyncio.sleep(0.02)
        analyse.stop()
        bester = await self.mit(analyse.wait())
        self.pruefen(bester.move in b.legal_moves, f"infinite analysis: best move {bester.move}")
        self.varianten_pruefen(b, self.neue_zeilen())
        await self.mit(self.engine.ping())

    async def vorbei(self):
        for fen, zuege, ergebnis in ENDEN:
            b = brett(fen, zuege)
            self.neue_zeilen()
            r = await self.mit(self.engine.play(b, chess.engine.Limit(time=ZEIT)))
            await self.mit(self.engine.ping())
            zeilen = self.neue_zeilen()
            if self.protokoll == "xboard" or not any(b.legal_moves):
                # UCI answers a position without a move with "bestmove 0000".
                self.pruefen(not r.move, f"{ergebnis}: move {r.move}")
            else:
                self.pruefen(r.move in b.legal_moves, f"{ergebnis}: move {r.move}")
            if self.protokoll == "xboard":
                self.pruefen(ergebnis in zeilen, f"'{ergebnis}' not claimed: {zeilen}")
                # An analysis of the finished game says so and ends on request.
                analyse = await self.mit(self.engine.analysis(b))
                await asyncio.sleep(0.05)
                analyse.stop()
                await self.mit(analyse.wait())
                await self.mit(self.engine.ping())
        # Mated: nothing to analyse either.
        b = brett(*ENDEN[0][:2])
        info = await self.mit(self.engine.analyse(b, chess.engine.Limit(time=0.2)))
        self.pruefen(not info.get("pv"), f"analysis of a mate: {info}")

    async def chess960(self):
        # Castling long (king takes rook in UCI, O-O-O in XBoard) is the only mate.
        b = brett("2rkr3/2p1p3/8/8/8/8/8/RK6 w A - 0 1", chess960=True)
        r = await self.mit(self.engine.play(b, chess.engine.Limit(depth=3)))
        self.pruefen(r.move in b.legal_moves and b.is_castling(r.move), f"Chess960: {r.move} is no castling")
        if r.move in b.legal_moves:
            b.push(r.move)
            self.pruefen(b.is_checkmate(), "Chess960: castling does not mate")
        # The client castles; the engine answers (and may castle itself).
        b = brett("1r1k2r1/pppppppp/8/8/8/8/PPPPPPPP/1R1K2R1 w GBgb - 0 1", chess960=True)
        b.push(next(m for m in b.legal_moves if b.is_castling(m)))
        self.neue_zeilen()
        r = await self.mit(self.engine.play(b, chess.engine.Limit(depth=TIEFE)))
        self.pruefen(r.move in b.legal_moves, f"Chess960 after castling: {r.move} ({b.fen()})")
        self.varianten_pruefen(b, self.neue_zeilen())

    async def partien(self):
        partien = [
            (chess.Board(), 24, chess.engine.Limit(depth=4)),
            (chess.Board("8/8/8/4k3/8/8/8/KQ6 w - - 0 1"), 80, None),
        ]
        for b, plies, limit in partien:
            uhr = [2.0, 2.0]
            while not b.is_game_over(claim_draw=True) and plies > 0:
                l = limit or chess.engine.Limit(white_clock=uhr[0], black_clock=uhr[1], white_inc=0.05, black_inc=0.05)
                start = time.monotonic()
                r = await self.mit(self.engine.play(b.copy(), l, game=id(b)))
                seite = 0 if b.turn == chess.WHITE else 1
                uhr[seite] = max(0.2, uhr[seite] - (time.monotonic() - start) + 0.05)
                if not self.pruefen(r.move in b.legal_moves, f"game: move {r.move} ({b.fen()})"):
                    break
                b.push(r.move)
                plies -= 1
            if limit is None:
                self.pruefen(b.is_checkmate(), f"queen against king not won: {b.fen()}")
            # Asked once more after the end.
            if b.is_game_over(claim_draw=True):
                r = await self.mit(self.engine.play(b, chess.engine.Limit(time=ZEIT), game=id(b)))
                self.pruefen(not r.move or r.move in b.legal_moves, f"after the game: {r.move}")
            await self.mit(self.engine.ping())


def erwartet(abschnitt, meldung):
    """What the client says of correct output it does not know: the status
    line its own "." asks for, and result claims while it analyses a
    finished game or after it took the result of a play."""
    return "Unexpected engine output" in meldung and (
        "stat01:" in meldung or (abschnitt == "vorbei" and "{" in meldung))


ABSCHNITTE = ["anfang", "spielen", "pondern", "analysieren", "vorbei", "chess960", "partien"]


async def alles(programme):
    zeiten = []
    with tempfile.TemporaryDirectory() as verzeichnis:
        # The XBoard start-up file of the working directory: no book, so
        # that every move is searched.
        with open(os.path.join(verzeichnis, "Velkaris.ini"), "w") as f:
            f.write("setoption name OwnBook value false\n")
        for programm in programme:
            for protokoll in ("uci", "xboard"):
                for abschnitt in ABSCHNITTE:
                    lauf = Lauf(programm, protokoll, abschnitt, verzeichnis)
                    WARNUNGEN.clear()
                    try:
                        await lauf.starten()
                        await getattr(lauf, abschnitt)()
                        await asyncio.wait_for(lauf.engine.quit(), WARTEN)
                    except asyncio.TimeoutError:
                        lauf.pruefen(False, "no answer (hangs)")
                    except (chess.engine.EngineError, chess.engine.EngineTerminatedError) as e:
                        lauf.pruefen(False, f"{type(e).__name__}: {e}")
                    finally:
                        lauf.beenden()
                    zeiten += lauf.zeitzuege
                    for m in WARNUNGEN:
                        lauf.pruefen(erwartet(abschnitt, m), f"client complains: {m[:300]}")
    return zeiten


def main():
    if len(sys.argv) != 4:
        print("usage: pychess_klient.py ENGINE POPCNT_ENGINE PYCHESS_DIR", file=sys.stderr)
        return 2
    programme, bibliothek = [os.path.abspath(x) for x in sys.argv[1:3]], sys.argv[3]
    global WARTEN, chess
    if any(f"build-{s}" in programme[0] for s in ("asan", "tsan")):
        WARTEN *= 10
    if not os.path.isfile(os.path.join(bibliothek, "chess", "engine.py")):
        print(f"skipped: no python-chess in {bibliothek}")
        return UEBERSPRUNGEN
    sys.path.insert(0, bibliothek)
    import chess.engine

    logging.getLogger("chess.engine").addHandler(Warnungen(logging.WARNING))
    logging.getLogger("chess.engine").propagate = False
    start = time.monotonic()
    zeiten = asyncio.run(alles(programme))
    for f in FEHLER:
        print("FAIL", f)
    zeiten.sort()
    if zeiten:
        print(f"moves at {ZEIT * 1000:.0f} ms through the client: median {zeiten[len(zeiten) // 2] * 1000:.0f} ms, "
              f"slowest {zeiten[-1] * 1000:.0f} ms")
    print(f"{len(FEHLER)} failures, {time.monotonic() - start:.1f} s")
    return 1 if FEHLER else 0


if __name__ == "__main__":
    sys.exit(main())
