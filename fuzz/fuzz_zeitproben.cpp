// Arbitrary bytes as a time log for the trainer: every line is either taken
// whole (complete records of finite numbers) or skipped, and a few epochs
// of training on whatever was taken run without fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "timenet/zeitnetz_trainer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse)
{
    std::istringstream ein(std::string(reinterpret_cast<const char*>(daten), groesse));
    ZeitnetzTrainer_t t;
    std::size_t schlecht = 0;
    t.probenLesen(ein, schlecht);
    std::size_t zeilen = 1;
    for (size_t i = 0; i < groesse; ++i) zeilen += daten[i] == '\n';
    if (schlecht > zeilen || t.probenAnzahl() > zeilen * groesse) std::abort();
    if (t.probenAnzahl() > 0 && t.probenAnzahl() < 200) {
        t.netzNeu(2);
        if (t.lernen(3) < 0) std::abort();
    }
    return 0;
}
