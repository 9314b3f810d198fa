#pragma once
#include <string>

// Renames the file `von` to `nach`, replacing a file of that name if there
// is one, so that readers see either the old file or the new one. False when
// it failed (`von` then still exists).
bool dateiErsetzen(const std::string& von, const std::string& nach);
