#include "../test_hilfen.h"
#include "protocol/xboard_queue.h"
#include "shell/eingabe.h"

namespace {
// One log for everything the worker does, in the order it happens. The
// first command that starts with "block" holds the worker until released.
struct Protokoll {
    std::mutex m;
    std::vector<std::string> eintraege;
    std::atomic<bool> halten{false};
    void add(const std::string& s)
    {
        std::lock_guard<std::mutex> g(m);
        eintraege.push_back(s);
    }
    std::vector<std::string> alle()
    {
        std::lock_guard<std::mutex> g(m);
        return eintraege;
    }
};

struct Ziel : Eingabe_t {
    Protokoll& p;
    explicit Ziel(Protokoll& p) : p(p) {}
    void Zeile(const char* z) override
    {
        p.add(std::string("uci ") + z);
        if (!std::strncmp(z, "block", 5))
            while (p.halten.load()) schlafeMs(1);
    }
};

struct Kanal : StummeAusgabe {
    Protokoll& p;
    explicit Kanal(Protokoll& p) : p(p) {}
    void Zeile(const char* z) override { p.add(std::string("say ") + z); }
    void Fehler(const char* t, const char* d) override { p.add(std::string("error ") + t + "|" + (d ? d : "none")); }
};

class XBoardQueue : public ::testing::Test {
protected:
    Protokoll p;
    Ziel ziel{p};
    Kanal kanal{p};
    XboardUciQueue_t q{ziel, kanal};

    // Holds the worker in a command until freigeben().
    void blockieren()
    {
        p.halten = true;
        ASSERT_TRUE(q.einreihen("block", XboardUciQueue_t::UCI));
        while (p.alle().empty()) schlafeMs(1);
    }
    void freigeben() { p.halten = false; }
};
} // namespace

TEST_F(XBoardQueue, ExecutesEveryKindInOrder)
{
    ASSERT_TRUE(q.einreihen("position startpos", XboardUciQueue_t::UCI));
    ASSERT_TRUE(q.einreihen("feature done=1", XboardUciQueue_t::ZEILE));
    ASSERT_TRUE(q.einreihen("bad parameters", XboardUciQueue_t::FEHLER, "level 40 5"));
    ASSERT_TRUE(q.einreihen("internal", XboardUciQueue_t::FEHLER, ""));
    ASSERT_TRUE(q.einreihen("go depth 1", XboardUciQueue_t::UCI));
    q.warteBisFertig();
    EXPECT_TRUE(q.fertig());
    EXPECT_EQ(p.alle(), (std::vector<std::string>{"uci position startpos", "say feature done=1",
                                                  "error bad parameters|level 40 5", "error internal|none",
                                                  "uci go depth 1"}));
}

TEST_F(XBoardQueue, LongEntriesUseTheLargeSlotsAndTooLongOnesAreRefused)
{
    blockieren();
    const std::string mittel(1500, 'm'), gross(74998, 'g'), zuGross(74999, 'x');
    EXPECT_FALSE(q.einreihen(zuGross.c_str(), XboardUciQueue_t::UCI));
    EXPECT_FALSE(q.einreihen(gross.c_str(), XboardUciQueue_t::FEHLER, "d"));
    // The blocked command holds one small slot, short entries take the
    // other 57; medium ones then fill the 2,000-byte slots, and only then
    // does anything reach the large ones.
    for (int i = 0; i < 57; ++i) ASSERT_TRUE(q.einreihen("x", XboardUciQueue_t::UCI));
    EXPECT_TRUE(q.platzFuer(mittel.size() + 1, mittel.size() + 1));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(q.einreihen(mittel.c_str(), XboardUciQueue_t::UCI));
    EXPECT_TRUE(q.platzFuer(gross.size() + 1, gross.size() + 1));
    ASSERT_TRUE(q.einreihen(gross.c_str(), XboardUciQueue_t::UCI));
    ASSERT_TRUE(q.einreihen("y", XboardUciQueue_t::UCI)); // into a large slot
    EXPECT_TRUE(q.platzFuer(10));
    EXPECT_FALSE(q.platzFuer(10, 10));
    ASSERT_TRUE(q.einreihen("z", XboardUciQueue_t::UCI));
    // Full: without a lock to leave, no waiting.
    EXPECT_FALSE(q.platzFuer(2));
    EXPECT_FALSE(q.einreihen("voll", XboardUciQueue_t::UCI));
    freigeben();
    q.warteBisFertig();
    const auto alle = p.alle();
    ASSERT_EQ(alle.size(), std::size_t(XboardUciQueue_t::SLOTS));
    EXPECT_EQ(alle[58], "uci " + mittel);
    EXPECT_EQ(alle[61], "uci " + gross);
    EXPECT_EQ(alle.back(), "uci z");
}

TEST_F(XBoardQueue, AFullQueueWaitsWithoutHoldingTheCallersLock)
{
    blockieren();
    for (int i = 0; i < XboardUciQueue_t::SLOTS - 1; ++i) ASSERT_TRUE(q.einreihen("x", XboardUciQueue_t::UCI));
    Sperre_t sperre;
    std::atomic<bool> fertig{false};
    std::thread t([&] {
        sperre.betreten();
        EXPECT_TRUE(q.einreihen("danach", XboardUciQueue_t::UCI, nullptr, &sperre));
        sperre.verlassen();
        fertig = true;
    });
    // The waiting caller has left its lock: another thread (the search
    // reporting its move) can take it meanwhile.
    while (!q.wartetAufPlatz()) schlafeMs(1);
    ASSERT_TRUE(sperre.versuchen());
    sperre.verlassen();
    EXPECT_FALSE(fertig.load());
    freigeben();
    t.join();
    q.warteBisFertig();
    EXPECT_FALSE(q.wartetAufPlatz());
    EXPECT_EQ(p.alle().back(), "uci danach");
    EXPECT_EQ(p.alle().size(), std::size_t(XboardUciQueue_t::SLOTS + 1));
}

TEST(XBoardQueueEnde, DestructionExecutesWhatIsLeft)
{
    Protokoll p;
    Ziel ziel{p};
    Kanal kanal{p};
    {
        XboardUciQueue_t q{ziel, kanal};
        p.halten = true;
        q.einreihen("block", XboardUciQueue_t::UCI);
        for (int i = 0; i < 10; ++i) q.einreihen(std::to_string(i).c_str(), XboardUciQueue_t::ZEILE);
        p.halten = false;
    }
    EXPECT_EQ(p.alle().size(), 11u);
    EXPECT_EQ(p.alle().back(), "say 9");
}
