#include <optional>

#include "../test_hilfen.h"
#include "protocol/xboard_queue.h"
#include "shell/eingabe.h"

namespace {
using Q = XboardUciQueue_t;

// One log for everything the worker does, in the order it happens: what it
// prints and what it hands on.
struct Kanal : Mitschrift<StummeAusgabe> {
    void eintragen(const std::string& art, const std::string& t) { Mitschrift::Zeile((art + t).c_str()); }
    void Zeile(const char* z) override { eintragen("say ", z); }
    void Fehler(const char* t, const char* d) override
    {
        eintragen("error ", std::string(t) + "|" + (d ? d : "none"));
    }
};

// The first command that starts with "block" holds the worker until
// released.
struct Ziel : Eingabe_t {
    Kanal& k;
    std::atomic<bool> halten{false};
    explicit Ziel(Kanal& k) : k(k) {}
    void Zeile(const char* z) override
    {
        k.eintragen("uci ", z);
        if (!std::strncmp(z, "block", 5))
            while (halten.load()) schlafeMs(1);
    }
};

struct XBoardQueue : ::testing::Test {
    Kanal kanal;
    Ziel ziel{kanal};
    std::optional<XboardUciQueue_t> q{std::in_place, ziel, kanal};

    // Holds the worker in a command until ziel.halten is cleared.
    void blockieren()
    {
        ziel.halten = true;
        ASSERT_TRUE(q->einreihen("block", Q::UCI));
        while (kanal.anzahl() == 0) schlafeMs(1);
    }
};
} // namespace

TEST_F(XBoardQueue, ExecutesEveryKindInOrder)
{
    ASSERT_TRUE(q->einreihen("position startpos", Q::UCI));
    ASSERT_TRUE(q->einreihen("feature done=1", Q::ZEILE));
    ASSERT_TRUE(q->einreihen("bad parameters", Q::FEHLER, "level 40 5"));
    ASSERT_TRUE(q->einreihen("internal", Q::FEHLER, ""));
    ASSERT_TRUE(q->einreihen("go depth 1", Q::UCI));
    q->warteBisFertig();
    EXPECT_TRUE(q->fertig());
    EXPECT_EQ(kanal.neue(), (std::vector<std::string>{"uci position startpos", "say feature done=1",
                                                      "error bad parameters|level 40 5",
                                                      "error internal|none", "uci go depth 1"}));
}

TEST_F(XBoardQueue, LongEntriesUseTheLargeSlotsAndTooLongOnesAreRefused)
{
    blockieren();
    const std::string mittel(1500, 'm'), gross(74998, 'g'), zuGross(74999, 'x');
    EXPECT_FALSE(q->einreihen(zuGross.c_str(), Q::UCI));
    EXPECT_FALSE(q->einreihen(gross.c_str(), Q::FEHLER, "d"));
    // The blocked command holds one small slot, short entries take the
    // other 57; medium ones then fill the 2,000-byte slots, and only then
    // does anything reach the large ones.
    for (int i = 0; i < 57; ++i) ASSERT_TRUE(q->einreihen("x", Q::UCI));
    EXPECT_TRUE(q->platzFuer(mittel.size() + 1, mittel.size() + 1));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(q->einreihen(mittel.c_str(), Q::UCI));
    EXPECT_TRUE(q->platzFuer(gross.size() + 1, gross.size() + 1));
    ASSERT_TRUE(q->einreihen(gross.c_str(), Q::UCI));
    ASSERT_TRUE(q->einreihen("y", Q::UCI)); // into a large slot
    EXPECT_TRUE(q->platzFuer(10));
    EXPECT_FALSE(q->platzFuer(10, 10));
    ASSERT_TRUE(q->einreihen("z", Q::UCI));
    // Full: without a lock to leave, no waiting.
    EXPECT_FALSE(q->platzFuer(2));
    EXPECT_FALSE(q->einreihen("voll", Q::UCI));
    ziel.halten = false;
    q->warteBisFertig();
    const auto alle = kanal.neue();
    ASSERT_EQ(alle.size(), std::size_t(Q::SLOTS));
    EXPECT_EQ(alle[58], "uci " + mittel);
    EXPECT_EQ(alle[61], "uci " + gross);
    EXPECT_EQ(alle.back(), "uci z");
}

TEST_F(XBoardQueue, AFullQueueWaitsWithoutHoldingTheCallersLock)
{
    blockieren();
    for (int i = 0; i < Q::SLOTS - 1; ++i) ASSERT_TRUE(q->einreihen("x", Q::UCI));
    Sperre_t sperre;
    std::atomic<bool> fertig{false};
    std::thread t([&] {
        sperre.betreten();
        EXPECT_TRUE(q->einreihen("danach", Q::UCI, nullptr, &sperre));
        sperre.verlassen();
        fertig = true;
    });
    // The waiting caller has left its lock: another thread (the search
    // reporting its move) can take it meanwhile.
    while (!q->wartetAufPlatz()) schlafeMs(1);
    ASSERT_TRUE(sperre.versuchen());
    sperre.verlassen();
    EXPECT_FALSE(fertig.load());
    ziel.halten = false;
    t.join();
    q->warteBisFertig();
    EXPECT_FALSE(q->wartetAufPlatz());
    const auto alle = kanal.neue();
    EXPECT_EQ(alle.back(), "uci danach");
    EXPECT_EQ(alle.size(), std::size_t(Q::SLOTS + 1));
}

TEST_F(XBoardQueue, DestructionExecutesWhatIsLeft)
{
    ziel.halten = true;
    q->einreihen("block", Q::UCI);
    for (int i = 0; i < 10; ++i) q->einreihen(std::to_string(i).c_str(), Q::ZEILE);
    ziel.halten = false;
    q.reset();
    const auto alle = kanal.neue();
    EXPECT_EQ(alle.size(), 11u);
    EXPECT_EQ(alle.back(), "say 9");
}
