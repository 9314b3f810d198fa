#include "../test_hilfen.h"

#include "platform/dateisystem.h"
#include "platform/event.h"
#include "platform/paths.h"
#include "platform/semaphore.h"
#include "platform/thread.h"

// Paths of the host; named files are looked for next to the program.
TEST(Platform, PathsOfTheHostAndFilesNextToTheProgram)
{
    EXPECT_EQ(pfadVerbinden("dir", "f.txt"), std::string("dir") + PFAD_TRENNER + "f.txt");
    EXPECT_EQ(pfadVerbinden("dir/", "f.txt"), "dir/f.txt");
    EXPECT_EQ(pfadVerbinden("", "f.txt"), "f.txt");
    EXPECT_TRUE(pfadIstAbsolut("/usr/share/velkaris.opn"));
    EXPECT_FALSE(pfadIstAbsolut("velkaris.opn"));
    EXPECT_FALSE(pfadIstAbsolut(""));
    // The program's directory keeps a root's separator and nothing else.
    const struct {
        const char* programm;
        const char* verzeichnis;
    } faelle[] = {{"/opt/velkaris/velkaris", "/opt/velkaris"}, {"/velkaris", "/"}, {"velkaris", "."}, {"", "."}};
    for (const auto& f : faelle) EXPECT_EQ(verzeichnisVon(f.programm), f.verzeichnis) << f.programm;
    const std::string hier = programmVerzeichnis();
    EXPECT_TRUE(pfadIstAbsolut(hier)) << hier;

    TestVerzeichnis d;
    dateiSchreiben(d.datei("da"), "x");
    const struct {
        std::string name, gesucht;
    } suchen[] = {
        {d.datei("da"), d.datei("da")},         // absolute, present
        {d.datei("fehlt"), d.datei("fehlt")},   // absolute, missing: taken as it is
        // Relative and not in the working directory: next to the program.
        {"fehlt_hier.eval", pfadVerbinden(hier, "fehlt_hier.eval")},
        {"", ""},
    };
    for (const auto& f : suchen) EXPECT_EQ(dateiSuchen(f.name), f.gesucht) << f.name;
}

TEST(Platform, ReplacingAFileKeepsNoTrace)
{
    // With and without waiting for the disk: an existing target is
    // replaced (Windows's own rename would refuse it).
    for (auto ersetzen : {dateiErsetzen, dateiUmbenennen}) {
        TestVerzeichnis d;
        dateiSchreiben(d.datei("neu"), "neu");
        dateiSchreiben(d.datei("alt"), "alt");
        ASSERT_TRUE(ersetzen(d.datei("neu"), d.datei("alt")));
        EXPECT_EQ(dateiText(d.datei("alt")), "neu");
        EXPECT_FALSE(std::filesystem::exists(d.datei("neu")));
        EXPECT_FALSE(ersetzen(d.datei("fehlt"), d.datei("alt")));
        EXPECT_EQ(dateiText(d.datei("alt")), "neu");
    }
}

// A thread on a stack of the given size, released by an event, reports
// through a semaphore; the semaphore's count stays within its maximum; the
// clock goes on while the caller sleeps.
TEST(Platform, ThreadWithGivenStackSemaphoreEventAndClock)
{
    Semaphor_t s(1, 2);
    EXPECT_TRUE(s.freigeben());
    EXPECT_FALSE(s.freigeben()); // would pass the maximum of 2
    EXPECT_TRUE(s.versuchen());
    EXPECT_TRUE(s.versuchen());
    EXPECT_FALSE(s.versuchen());

    int64_t a = jetztMs();
    schlafeMs(5);
    EXPECT_GE(jetztMs() - a, 4);

    struct Daten {
        Ereignis_t los;
        Semaphor_t fertig{0, 100};
        std::atomic<int> wert{0};
    } d;
    Faden_t t;
    ASSERT_TRUE(t.starten(
        [](void* p) {
            auto* d = static_cast<Daten*>(p);
            char gross[200000]; // needs more than a tiny default stack
            gross[0] = 1;
            gross[sizeof(gross) - 1] = 2;
            d->los.warten();
            d->wert = gross[0] + gross[sizeof(gross) - 1];
            d->fertig.freigeben();
        },
        &d, 1024000));
    d.los.setzen();
    d.fertig.warten();
    t.warten();
    EXPECT_EQ(d.wert.load(), 3);
}

