#include "search/tt.h"

#include <memory>
#include <new>

#include "platform/speicher.h"

namespace {

void* heapZuteilen(size_t bytes)
{
    return ::operator new(bytes, std::align_val_t{64}, std::nothrow);
}

void heapFreigeben(void* p)
{
    ::operator delete(p, std::align_val_t{64});
}

} // namespace

Transpositionstabelle_t::Transpositionstabelle_t() : zuteilen_(heapZuteilen), freigeben_(heapFreigeben) {}

Transpositionstabelle_t::~Transpositionstabelle_t()
{
    freigeben();
}

void Transpositionstabelle_t::freigeben()
{
    if (eintraege_) {
        std::destroy_n(eintraege_, n_ + BUCKET);
        freigeben_(eintraege_);
    }
    eintraege_ = nullptr;
    n_ = 0;
}

void Transpositionstabelle_t::zuteilerSetzen(Zuteiler_t zuteilen, Freigeber_t freigeben)
{
    this->freigeben();
    angefordert_ = 0;
    zuteilen_ = zuteilen ? zuteilen : heapZuteilen;
    freigeben_ = freigeben ? freigeben : heapFreigeben;
}

void Transpositionstabelle_t::groesseSetzen(uint64_t bytes)
{
    if (bytes == angefordert_ && eintraege_) return;
    freigeben();
    angefordert_ = bytes;

    uint64_t groesse = bytes < MIN_BYTES ? MIN_BYTES : bytes > MAX_BYTES ? MAX_BYTES : bytes;
    if (groesse > groessteTabelle()) groesse = groessteTabelle();
    for (;;) {
        const uint64_t anzahl = groesse / sizeof(TTEintrag_t); // n + 4 entries
        void* p = zuteilen_(size_t(anzahl * sizeof(TTEintrag_t)));
        if (p) {
            eintraege_ = static_cast<TTEintrag_t*>(p);
            n_ = anzahl - BUCKET;
            std::uninitialized_value_construct_n(eintraege_, anzahl); // all zero
            alter_.store(1, std::memory_order_relaxed);
            return;
        }
        groesse -= groesse / 16;
        if (groesse < AUFGEBEN_UNTER) return;
    }
}

void Transpositionstabelle_t::leeren()
{
    alter_.store(1, std::memory_order_relaxed);
    if (!eintraege_) return;
    for (uint64_t i = 0; i < n_ + BUCKET; ++i) {
        eintraege_[i].schluessel.store(0, std::memory_order_relaxed);
        eintraege_[i].daten.store(0, std::memory_order_relaxed);
    }
}

void Transpositionstabelle_t::neueSuche()
{
    // Ages run 1..15: an age of 0 would make every empty entry look as if
    // the current search had written it.
    uint32_t a = (alter_.load(std::memory_order_relaxed) + 1) & 15;
    alter_.store(a == 0 ? 1 : a, std::memory_order_relaxed);
}

int Transpositionstabelle_t::hashfull() const
{
    if (!eintraege_ || n_ == 0) return 0;
    const uint32_t alter = alter_.load(std::memory_order_relaxed);
    uint64_t von = 0, bis = n_;
    if (n_ >= 2201) {
        von = 4;
        bis = 2004;
    }
    uint64_t zaehler = 0;
    for (uint64_t i = von; i < bis; ++i)
        if (tt::alterVon(eintraege_[i].daten.load(std::memory_order_relaxed)) == alter) ++zaehler;
    return int(zaehler * 1000 / (bis - von));
}
