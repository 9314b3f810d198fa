#include "eval/endspiel.h"

// Placeholder until the recognisers land: no verdict for any position.
Endspielurteil_t endspielErkennen(const Stellung_t&)
{
    return {0, 0};
}

void kbkTabelleBauen() {}
