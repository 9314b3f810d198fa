#include "shell/optionen.h"

#include <cstdio>
#include <cstring>

#include "shell/ausgabe.h"
#include "shell/zahlen.h"

const OptionEintrag_t OPTIONEN_NORMAL[] = {
    {OPTION_SPIN, 1, "Hash", "3", 1, 32000, nullptr},
    {OPTION_CHECK, 1, "Ponder", "true", 0, 0, nullptr},
    {OPTION_CHECK, 1, "OwnBook", "true", 0, 0, nullptr},
    {OPTION_BUTTON, 1, "Clear Hash", "false", 0, 0, nullptr},
    {OPTION_SPIN, 1, "MultiPV", "1", 1, 10, nullptr},
    {OPTION_SPIN, 1, "MultiPV_Score", "0", 0, 1000, nullptr},
    {OPTION_CHECK, 1, "UCI_Chess960", "false", 0, 0, nullptr},
    {OPTION_STRING, 1, "BookFile", "Velkaris.opn", 0, 0, nullptr},
    {OPTION_STRING, 1, "UCI_Opponent", "none none human none", 0, 0, nullptr},
    {OPTION_SPIN, 1, "BitbaseCache", "0", 0, 100, nullptr},
    {OPTION_STRING, 1, "BitbasePath", ".", 0, 0, nullptr},
    {OPTION_SPIN, 1, "NumberOfProcessors", "1", 1, 24, nullptr},
    {OPTION_STRING, 1, "TimeLogfile", "nul:", 0, 0, nullptr},
    {OPTION_CHECK, 0, "NoOutput", "false", 0, 0, nullptr},
    {OPTION_SPIN, 0, "Resign", "700", 400, 2000, nullptr},
    {OPTION_STRING, 1, "EvalFile", "", 0, 0, nullptr},
    {0, 0, nullptr, nullptr, 0, 0, nullptr},
};

const OptionEintrag_t OPTIONEN_LEER[] = {
    {0, 0, nullptr, nullptr, 0, 0, nullptr},
};

namespace {
const char* blanksUeberspringen(const char* p)
{
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

int32_t klemmen(int64_t v, const OptionEintrag_t& e)
{
    if (v < e.minimum) return e.minimum;
    if (v > e.maximum) return e.maximum;
    return int32_t(v);
}

// Decimal value of a text, 0 when it has no digits.
int64_t zahlVon(const char* text)
{
    int64_t v = 0;
    ganzzahlLesen(text, v);
    return v;
}
} // namespace

int listenPosition(const char* liste, const char* wort, int wortLaenge)
{
    if (!liste) return -1;
    static constexpr char TRENNER[] = " var ";
    int position = 0;
    const char* p = liste;
    for (;;) {
        while (*p == ' ') ++p;
        const char* ende = std::strstr(p, TRENNER);
        int laenge = ende ? int(ende - p) : int(std::strlen(p));
        if (laenge == wortLaenge && std::strncmp(p, wort, std::size_t(laenge)) == 0) return position;
        if (!ende) return -1;
        p = ende + sizeof(TRENNER) - 1;
        ++position;
    }
}

Optionen_t::Optionen_t(const OptionEintrag_t* tabelle) : eintraege_(tabelle)
{
    while (tabelle[anzahl_].name) ++anzahl_;
    werte_ = std::make_unique<OptionWert_t[]>(std::size_t(anzahl_ > 0 ? anzahl_ : 1));
    for (int i = 0; i < anzahl_; ++i) {
        const OptionEintrag_t& e = tabelle[i];
        const char* standard = e.standard ? e.standard : "";
        textSetzen(i, standard, int(std::strlen(standard)));
        int32_t w = 0;
        switch (e.typ) {
        case OPTION_CHECK: w = std::strcmp(standard, "true") == 0; break;
        case OPTION_SPIN: w = auf32(zahlVon(standard)); break;
        case OPTION_LISTE: w = listenPosition(e.werteListe, standard, int(std::strlen(standard))); break;
        default: break;
        }
        werte_[i].wert.store(w, std::memory_order_relaxed);
    }
}

int Optionen_t::finden(const char* name) const
{
    for (int i = 0; i < anzahl_; ++i)
        if (std::strcmp(eintraege_[i].name, name) == 0) return i;
    return -1;
}

void Optionen_t::textSetzen(int i, const char* text, int laenge)
{
    if (laenge > OPTION_TEXT_LAENGE) laenge = OPTION_TEXT_LAENGE;
    SperreHalter_t halter(sperre_);
    std::memcpy(werte_[i].text, text, std::size_t(laenge));
    werte_[i].text[laenge] = 0;
}

void Optionen_t::textKopieren(int i, char* ziel, int n) const
{
    if (n <= 0) return;
    SperreHalter_t halter(sperre_);
    std::snprintf(ziel, std::size_t(n), "%s", werte_[i].text);
}

bool Optionen_t::setzen(int i, int32_t wert)
{
    if (i < 0 || i >= anzahl_) return false;
    const OptionEintrag_t& e = eintraege_[i];
    char puffer[32];
    if (e.typ == OPTION_LISTE) {
        // Find the word number wert of the list.
        const char* p = e.werteListe;
        if (!p || wert < 0) return false;
        for (int32_t k = 0; k < wert; ++k) {
            p = std::strstr(p, " var ");
            if (!p) return false;
            p += 5;
        }
        while (*p == ' ') ++p;
        const char* ende = std::strstr(p, " var ");
        int laenge = ende ? int(ende - p) : int(std::strlen(p));
        while (laenge > 0 && p[laenge - 1] == ' ') --laenge;
        textSetzen(i, p, laenge);
        werte_[i].wert.store(wert, std::memory_order_relaxed);
        return true;
    }
    if (e.typ == OPTION_SPIN) wert = klemmen(wert, e);
    int laenge = std::snprintf(puffer, sizeof puffer, "%ld", long(wert));
    textSetzen(i, puffer, laenge);
    werte_[i].wert.store(wert, std::memory_order_relaxed);
    return true;
}

void Optionen_t::knopfLoesen(int i)
{
    if (i < 0 || i >= anzahl_) return;
    textSetzen(i, "false", 5);
    werte_[i].wert.store(0, std::memory_order_relaxed);
}

int Optionen_t::zielOption(const char* zeile) const
{
    if (std::strncmp(zeile, "setoption ", 10) != 0) return -1;
    const char* p = blanksUeberspringen(zeile + 10);
    if (std::strncmp(p, "name ", 5) != 0) return -1;
    p = blanksUeberspringen(p + 5);

    // The longest name that starts the rest wins, so "MultiPV_Score" is not
    // taken for "MultiPV". Names may hold blanks ("Clear Hash").
    int gefunden = -1;
    std::size_t besteLaenge = 0;
    for (int i = 0; i < anzahl_; ++i) {
        std::size_t laenge = std::strlen(eintraege_[i].name);
        if (laenge > besteLaenge && std::strncmp(p, eintraege_[i].name, laenge) == 0) {
            gefunden = i;
            besteLaenge = laenge;
        }
    }
    return gefunden;
}

bool Optionen_t::setoption(const char* zeile, const char** grund)
{
    const int gefunden = zielOption(zeile);
    if (gefunden < 0) return false;
    const char* p = blanksUeberspringen(blanksUeberspringen(zeile + 10) + 5);
    const std::size_t besteLaenge = std::strlen(eintraege_[gefunden].name);
    const OptionEintrag_t& e = eintraege_[gefunden];
    OptionWert_t& w = werte_[gefunden];

    if (e.typ == OPTION_BUTTON) {
        textSetzen(gefunden, "true", 4);
        w.wert.store(1, std::memory_order_relaxed);
        return true;
    }

    p = blanksUeberspringen(p + besteLaenge);
    if (std::strncmp(p, "value ", 6) != 0) return false;
    const char* wert = blanksUeberspringen(p + 6);
    int laenge = int(std::strlen(wert));

    switch (e.typ) {
    case OPTION_CHECK:
        if (std::strncmp(wert, "true", 4) == 0) {
            textSetzen(gefunden, "true", 4);
            w.wert.store(1, std::memory_order_relaxed);
            return true;
        }
        if (std::strncmp(wert, "false", 5) == 0) {
            textSetzen(gefunden, "false", 5);
            w.wert.store(0, std::memory_order_relaxed);
            return true;
        }
        return false;
    case OPTION_SPIN: {
        int32_t v = klemmen(zahlVon(wert), e);
        char puffer[32];
        textSetzen(gefunden, puffer, std::snprintf(puffer, sizeof puffer, "%ld", long(v)));
        w.wert.store(v, std::memory_order_relaxed);
        return true;
    }
    case OPTION_LISTE: {
        if (laenge > OPTION_TEXT_LAENGE) laenge = OPTION_TEXT_LAENGE;
        while (laenge > 0 && wert[laenge - 1] == ' ') --laenge;
        textSetzen(gefunden, wert, laenge);
        int position = listenPosition(e.werteListe, wert, laenge);
        w.wert.store(position, std::memory_order_relaxed);
        return position >= 0;
    }
    case OPTION_STRING:
        if (laenge > OPTION_TEXT_LAENGE) {
            if (grund) *grund = "value longer than 256 characters";
            return false;
        }
        textSetzen(gefunden, wert, laenge);
        w.wert.store(auf32(zahlVon(wert)), std::memory_order_relaxed);
        return true;
    default:
        return false;
    }
}

void optionenAuflisten(const OptionEintrag_t* tabelle, Ausgabe_t& aus)
{
    char zeile[1024];
    for (const OptionEintrag_t* e = tabelle; e->name; ++e) {
        if (!e->sichtbar) continue;
        const char* standard = e->standard ? e->standard : "";
        switch (e->typ) {
        case OPTION_CHECK:
            std::snprintf(zeile, sizeof zeile, "option name %s type check default %s", e->name, standard);
            break;
        case OPTION_SPIN:
            std::snprintf(zeile, sizeof zeile, "option name %s type spin default %s min %ld max %ld", e->name,
                          standard, long(e->minimum), long(e->maximum));
            break;
        case OPTION_LISTE:
            // The interface's own word for a choice among words.
            std::snprintf(zeile, sizeof zeile, "option name %s type combo default %s var %s", e->name, standard,
                          e->werteListe ? e->werteListe : "");
            break;
        case OPTION_BUTTON:
            std::snprintf(zeile, sizeof zeile, "option name %s type button", e->name);
            break;
        default:
            std::snprintf(zeile, sizeof zeile, "option name %s type string default %s", e->name, standard);
            break;
        }
        aus.Zeile(zeile);
    }
}
