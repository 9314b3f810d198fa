// Builds the engine's start-up tables once before any test runs, as the
// program itself does before it reads its first line.
#include "test_hilfen.h"

namespace {
struct Umgebung : ::testing::Environment {
    void SetUp() override
    {
        tabellenInitialisieren();
        kbkTabelleBauen();
    }
};
const auto* registriert = ::testing::AddGlobalTestEnvironment(new Umgebung);
} // namespace
