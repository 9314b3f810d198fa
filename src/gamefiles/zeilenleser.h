#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

// Reads one line of a text file into zeile (without the line end; a
// carriage return before it is dropped too). At most grenze characters are
// kept; the rest of a longer line is read and dropped, and zuLang is set.
// False at the end of the file when nothing was read.
bool zeileLesen(std::FILE* f, std::string& zeile, std::size_t grenze, bool& zuLang);

// Removes trailing white space in place.
void rechtsTrimmen(std::string& text);
