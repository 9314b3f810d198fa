#pragma once
#include <cstdio>

// Makes a console input stream deliver its bytes as they were sent. Where
// the runtime translates line ends in text streams, a CR LF then arrives as
// it is (the line reader removes the CR itself) and a Ctrl-Z byte no longer
// ends the input. Elsewhere nothing changes.
void eingabeUnveraendert(std::FILE* f);
