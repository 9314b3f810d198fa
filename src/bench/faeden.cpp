#include "bench/faeden.h"

#include <memory>
#include <vector>

#include "platform/thread.h"

namespace {

// The tools search deeper than the engine's helpers ever need: a stack
// like a Linux program's main thread.
constexpr std::size_t STAPEL_BYTES = std::size_t(8) << 20;

struct Auftrag_t {
    const std::function<void(int)>* f;
    int nummer;
};

} // namespace

void parallel(int faeden, const std::function<void(int)>& f)
{
    std::vector<Auftrag_t> auftraege;
    for (int i = 0; i < faeden; ++i) auftraege.push_back({&f, i});
    auto t = std::make_unique<Faden_t[]>(std::size_t(faeden > 0 ? faeden : 1));
    for (int i = 0; i < faeden; ++i)
        if (!t[i].starten([](void* a) { (*static_cast<Auftrag_t*>(a)->f)(static_cast<Auftrag_t*>(a)->nummer); },
                          &auftraege[std::size_t(i)], STAPEL_BYTES))
            f(i);
    for (int i = 0; i < faeden; ++i) t[i].warten();
}
