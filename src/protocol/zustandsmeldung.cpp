#include "protocol/zustandsmeldung.h"

#include "protocol/xboard_ausgabe.h"

void zustandMelden(Ausgabe_t& aus, const char* text, const std::string& detail)
{
    if (auto* x = dynamic_cast<XBoardAusgabe_t*>(&aus)) {
        x->Fehler(text, detail.c_str());
        return;
    }
    aus.Zeile(("info string " + std::string(text) + " " + detail).c_str());
}
