#pragma once
#include <atomic>

// Set by the UCI "quit" command; the console loop ends after the line that
// set it.
extern std::atomic<bool> programmBeenden;
