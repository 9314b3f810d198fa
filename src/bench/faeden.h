#pragma once
#include <functional>

// Runs f(0) .. f(n-1) side by side, one thread each, and returns when all
// have ended. A thread the system refuses runs its part on the caller's
// thread instead.
void parallel(int faeden, const std::function<void(int)>& f);
