#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Training records for the time network, collected during one search and
// appended to the TimeLogfile when the search ends (never during it).
//
// A record is an iteration's feature line followed by the network output of
// that iteration and 1 or 0 for whether the next iteration changed the best
// move, so a line is finished only when the next iteration completes; the
// line of the last completed iteration is dropped.
class Zeitprotokoll_t {
public:
    static constexpr uint64_t MIN_KNOTEN = 30000; // nodes the search must have used for a line
    static constexpr const char* AUS = "nul:";   // the file name that disables the log

    // Start of a search: forgets everything and remembers the file name.
    void beginnen(std::string_view datei);
    bool aktiv() const { return aktiv_; }

    // After every completed iteration, in order. gewechselt: this iteration
    // changed the best move (finishes the previous iteration's line).
    // merkmale: this iteration's feature text, nullptr when none was built;
    // y: the network output of this iteration (before the opening bonus and
    // the floor); knoten: nodes the search has used so far.
    void iteration(bool gewechselt, const std::string* merkmale, double y, uint64_t knoten);

    // End of a search: appends the finished lines to the file (opened for
    // appending) and forgets them. False when there were lines and they
    // could not be written (no regular file, or a write failed).
    bool beenden();
    const std::string& datei() const { return datei_; }

    const std::vector<std::string>& fertigeZeilen() const { return fertig_; }

private:
    bool aktiv_ = false;
    std::string datei_;
    std::string offen_; // the line waiting for the next iteration
    bool hatOffen_ = false;
    std::vector<std::string> fertig_;
};
