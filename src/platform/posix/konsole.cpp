#include "platform/konsole.h"

// POSIX streams never translate bytes.
void eingabeUnveraendert(std::FILE*) {}
