#include "files/eingabedatei.h"

#include "platform/dateisystem.h"

Eingabedatei_t::Eingabedatei_t(const std::string& name, bool binaer)
    : datei_(dateiOeffnen(name, binaer ? Dateimodus::LESEN_BINAER : Dateimodus::LESEN))
{
}

Eingabedatei_t::~Eingabedatei_t()
{
    if (datei_) std::fclose(datei_);
}

// Reads the file in large pieces; no seeking, no putting back beyond the
// piece at hand, never an exception.
class Eingabestrom_t::Puffer : public std::streambuf {
public:
    explicit Puffer(std::FILE* f) : f_(f), daten_(f ? GROESSE : 0) {}

protected:
    int_type underflow() override
    {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        if (!f_) return traits_type::eof();
        const std::size_t n = std::fread(daten_.data(), 1, daten_.size(), f_);
        if (n == 0) return traits_type::eof();
        setg(daten_.data(), daten_.data(), daten_.data() + n);
        return traits_type::to_int_type(*gptr());
    }

private:
    static constexpr std::size_t GROESSE = 65536;
    std::FILE* f_;
    std::vector<char> daten_;
};

Eingabestrom_t::Eingabestrom_t(const std::string& name, bool binaer)
    : std::istream(nullptr), datei_(name, binaer), puffer_(std::make_unique<Puffer>(datei_.datei()))
{
    rdbuf(puffer_.get());
    if (!datei_.offen()) setstate(std::ios::failbit);
}

Eingabestrom_t::~Eingabestrom_t() = default;

bool dateiEinlesen(const std::string& name, std::vector<unsigned char>& daten)
{
    Eingabedatei_t ein(name, true);
    if (!ein.offen()) return false;
    daten.clear();
    unsigned char stueck[65536];
    for (std::size_t n; (n = std::fread(stueck, 1, sizeof stueck, ein.datei())) > 0;)
        daten.insert(daten.end(), stueck, stueck + n);
    return !ein.lesefehler();
}
