#include "eval/endspiel.h"

#include "eval/endspiel_bewerter.h"

using namespace endspiel;

namespace {

// Minor pieces of a side, from its piece counts.
int leichtfiguren(const uint8_t* n) { return n[SPRINGER] + n[LAEUFER]; }

} // namespace

Endspielurteil_t endspielKleinErkennen(const Stellung_t& st)
{
    const uint8_t* w = st.seite[WEISS].anzahl;
    const uint8_t* s = st.seite[SCHWARZ].anzahl;
    const int steine = w[0] + s[0];
    const bool turmJe = w[TURM] == 1 && s[TURM] == 1;
    const int amZug = st.amZug;
    Endspielurteil_t u{0, 0};

    if (steine >= 7) return u;

    if (steine == 6) {
        if (w[BAUER] == 1) {
            if ((turmJe && leichtfiguren(s) == 1) || (leichtfiguren(w) == 1 && leichtfiguren(s) == 2))
                u = bauerUndFiguren(st, WEISS);
        } else if (s[BAUER] == 1) {
            if ((turmJe && leichtfiguren(w) == 1) || (leichtfiguren(s) == 1 && leichtfiguren(w) == 2))
                u = bauerUndFiguren(st, SCHWARZ);
        }
    } else if (steine == 5) {
        if (w[BAUER] == 1) {
            if (turmJe)
                u = turmBauerGegenTurm(st, WEISS);
            else if (leichtfiguren(w) == 1 && s[TURM] == 1)
                u = bauerUndFiguren(st, WEISS);
            else if (s[SPRINGER] == 2)
                u = zweiSpringerGegenBauer(st, SCHWARZ);
        } else if (s[BAUER] != 1) {
            if (turmJe && leichtfiguren(w) == 1)
                u = turmLeichtfigurGegenTurm(st, WEISS);
            else if (turmJe && leichtfiguren(s) == 1)
                u = turmLeichtfigurGegenTurm(st, SCHWARZ);
        } else {
            if (turmJe)
                u = turmBauerGegenTurm(st, SCHWARZ);
            else if (leichtfiguren(s) == 1 && w[TURM] == 1)
                u = bauerUndFiguren(st, SCHWARZ);
            else if (w[SPRINGER] == 2)
                u = zweiSpringerGegenBauer(st, WEISS);
        }
    } else if (steine == 4 && w[0] == 2) {
        // One piece each: equal material is a dead draw as far as a static
        // score can tell (this includes king and pawn against king and pawn).
        if (leichtfiguren(w) == leichtfiguren(s) && w[TURM] == s[TURM] && w[DAME] == s[DAME])
            u = {2, 0};
        else if (w[TURM] == 1 && leichtfiguren(s) == 1)
            u = turmGegenLeichtfigur(st, WEISS);
        else if (s[TURM] == 1 && leichtfiguren(w) == 1)
            u = turmGegenLeichtfigur(st, SCHWARZ);
    } else if (steine == 4) {
        // Three pieces against the lone king.
        if (w[SPRINGER] == 2) {
            u = {2, amZug == WEISS ? 1 : -1};
        } else if (s[SPRINGER] == 2) {
            u = {2, amZug == SCHWARZ ? 1 : -1};
        } else if (w[LAEUFER] == 1) {
            if (w[SPRINGER] == 1)
                u = laeuferSpringerGegenKoenig(st, WEISS);
            else if (w[BAUER] == 1)
                u = falscherRandbauer(st, WEISS);
        } else if (s[LAEUFER] == 1) {
            if (s[SPRINGER] == 1)
                u = laeuferSpringerGegenKoenig(st, SCHWARZ);
            else if (s[BAUER] == 1)
                u = falscherRandbauer(st, SCHWARZ);
        }
    } else if (steine == 3) {
        if (w[BAUER] == 1)
            u = bauerGegenKoenig(st, WEISS);
        else if (s[BAUER] == 1)
            u = bauerGegenKoenig(st, SCHWARZ);
        else if (leichtfiguren(w) + leichtfiguren(s) > 0)
            u = {2, 0};
    }

    if (u.art == 0 && w[BAUER] == 0 && s[BAUER] == 0) u = mopUp(st);
    return u;
}
