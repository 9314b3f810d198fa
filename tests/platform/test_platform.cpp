#include "../test_hilfen.h"

#include "platform/event.h"
#include "platform/paths.h"
#include "platform/semaphore.h"
#include "platform/thread.h"

TEST(Platform, SemaphoreClockAndPaths)
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
    EXPECT_EQ(pfadVerbinden("dir", "f.txt"), std::string("dir") + PFAD_TRENNER + "f.txt");
    EXPECT_EQ(pfadVerbinden("dir/", "f.txt"), "dir/f.txt");
    EXPECT_FALSE(programmVerzeichnis().empty());
}

TEST(Platform, ThreadRunsWithGivenStackAndEventWakesOneWaiter)
{
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

