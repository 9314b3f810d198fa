#pragma once
#include <atomic>
#include <cstdint>

#include "chess/stellung.h"
#include "platform/lock.h"
#include "platform/semaphore.h"
#include "search/ply.h"

class Suche_t;

constexpr int SPLIT_PUNKTE = 20;
constexpr int MAX_TEILNEHMER = 24;

// A node of the tree whose remaining moves several threads search together.
// The master's ply record holds the shared move list; every field below is
// read and written under the point's lock, the flags also without it.
struct SplitPoint {
    Sperre_t sperre;
    Semaphor_t fertig{1, 100};         // held from set-up until the last worker leaves
    std::atomic<int> arbeiter{0};
    std::atomic<bool> frei{true};
    std::atomic<bool> annehmend{false}; // helpers may join
    std::atomic<bool> cutoff{false};   // everything below must stop

    Stellung_t stellung;               // the master's position at the node
    Ply_t* ply = nullptr;              // the master's ply record
    int plyIndex = 0;                  // its index in the master's stack
    Suche_t* meister = nullptr;
    SplitPoint* eltern = nullptr;

    int alpha = 0, beta = 0, best = 0, nullFenster = 0;
    int tiefe = 0, knotenTyp = 0, z = 0;
    // Node facts the joiners need from the master's record.
    int32_t statisch = 0;
    Bitboard drohFeld = 0;
    uint8_t drohung = 0;
    int32_t plyNummer = 0;

    // Read by threads choosing a point to join (under the pool lock only).
    std::atomic<int> tiefeA{0};
    std::atomic<int> prioritaet{0};
    std::atomic<int> maxArbeiter{0};
    std::atomic<int> restA{0}; // moves left in the shared list
    uint64_t knoten = 0;
    int selTiefe = 0;
    Suche_t* teilnehmer[MAX_TEILNEHMER] = {};
};

// The fixed pool of split points and the list of sleeping helpers.
class SplitPointPool {
public:
    Sperre_t sperre;
    SplitPoint punkte[SPLIT_PUNKTE];
    Suche_t* untaetig[MAX_TEILNEHMER] = {};
    int untaetigAnzahl = 0;

    // Chooses a free split point for a node of depth d, or none (under the
    // pool lock; the point comes back taken and cleared).
    SplitPoint* waehlen(int d);
    // The most promising point for an idle helper to join, or none.
    SplitPoint* bestenFinden();
    // Wakes every sleeping helper (under the pool lock).
    void alleWecken();
    // Enters a helper into the idle list (under the pool lock).
    void schlafenLegen(Suche_t* h);
    // Removes a helper from the idle list (under the pool lock).
    void entfernen(Suche_t* h);
};
