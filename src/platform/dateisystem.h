#pragma once
#include <string>

// Files on disk, as far as the standard library cannot say it.

// Renames von to nach, replacing an existing nach in one step, so that
// readers see either the old file or the new one. False when it failed
// (von then still exists).
bool dateiErsetzen(const std::string& von, const std::string& nach);
