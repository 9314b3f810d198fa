#pragma once
#include <cstdint>

#include "shell/ausgabe.h"

// The batch tools' channel: prints nothing, keeps the result of a search.
class TestAusgabe_t : public Ausgabe_t {
public:
    TestAusgabe_t() = default;

    // Nothing is ever shown, so nothing needs to be shown again.
    bool IstStumm() const override { return true; }
    void Zeile(const char*) override {}
    void Fehler(const char*, const char*) override {}
    void Fehler2(const char*, const char*) override {}
    void Fortschritt(int, int, int64_t, int64_t, int) override {}
    void BesterZug(const Stellung_t&, Zug zug, Zug) override { besterZug = zug; }
    void AktuellerZug(const Stellung_t&, Zug, int, int) override {}
    void Hauptvariante(const Stellung_t&, const Zug* zuege, int anzahl, int wert, int, int, int, int, int64_t,
                       int64_t, int, bool) override
    {
        letzterWert = wert;
        variantenZug = anzahl > 0 ? zuege[0] : 0;
    }
    void MultiPv(const Stellung_t&, const Zug*, int, int, int, int) override {}

    Zug besterZug = 0;
    Zug variantenZug = 0;   // first move of the last principal variation
    int32_t letzterWert = 0;
};
