#include "gamefiles/zeilenleser.h"

bool zeileLesen(std::FILE* f, std::string& zeile, std::size_t grenze, bool& zuLang)
{
    zeile.clear();
    zuLang = false;
    int c = std::getc(f);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(f)) {
        if (zeile.size() < grenze) zeile.push_back(char(c));
        else zuLang = true;
    }
    if (!zuLang && !zeile.empty() && zeile.back() == '\r') zeile.pop_back();
    return true;
}

void rechtsTrimmen(std::string& text)
{
    while (!text.empty()) {
        const char c = text.back();
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\v' && c != '\f') break;
        text.pop_back();
    }
}
