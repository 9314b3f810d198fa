#pragma once
#include <string>

class Ausgabe_t;

// A message about the engine's state, such as a file it cannot use: the
// UCI channels print it as an "info string" line (text, a blank, detail),
// the XBoard channel through its error operation ("Error (text): detail").
void zustandMelden(Ausgabe_t& aus, const char* text, const std::string& detail);
