#include "core/maChaine.h"

#include <FL/fl_utf8.h>

#include <algorithm>
#include <vector>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Latin-1 accented letters and their plain letters, from 0xC0 to 0xFF; a blank
// marks a character that has no plain letter of the same length.
const char kSansAccent[] =
    "AAAAAA CEEEEIIII"   // C0-CF (AE ligature kept)
    "DNOOOOO OUUUUY  "   // D0-DF (multiplication sign, thorn, sharp s kept)
    "aaaaaa ceeeeiiii"   // E0-EF
    "dnooooo ouuuuy y";  // F0-FF (division sign, thorn kept)

}  // namespace

std::string vchaine(const char* format, va_list args) {
    if (!format) return std::string();
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof small) return std::string(small, n);
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), format, args);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string chaine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string s = vchaine(format, args);
    va_end(args);
    return s;
}

std::string chaine2(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string s = vchaine(format, args);
    va_end(args);
    return s;
}

char QToUpper(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
    // à to þ, but not ÷ (0xF7); ß and ÿ have no upper case in Latin-1.
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);
    return c;
}

std::string chaineMajuscule(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = QToUpper(c);
    return out;
}

std::string chaineSansAccent(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0xC0) {
            char plain = kSansAccent[u - 0xC0];
            if (plain != ' ') c = plain;
        }
    }
    return out;
}

int replaceAllNb(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return 0;
    int count = 0;
    size_t pos = 0;
    std::string out;
    size_t found;
    while ((found = text.find(from, pos)) != std::string::npos) {
        out.append(text, pos, found - pos);
        out += to;
        pos = found + from.size();
        ++count;
    }
    if (count == 0) return 0;
    out.append(text, pos, std::string::npos);
    text.swap(out);
    return count;
}

int nbElem(const std::string& text, const std::string& sep) {
    if (sep.empty()) return 1;
    int n = 1;
    for (size_t pos = text.find(sep); pos != std::string::npos; pos = text.find(sep, pos + sep.size())) ++n;
    return n;
}

std::string champ(const std::string& text, int n, const std::string& sep) {
    if (n < 1) return std::string();
    if (sep.empty()) return n == 1 ? text : std::string();
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        size_t pos = text.find(sep, start);
        if (pos == std::string::npos) return std::string();
        start = pos + sep.size();
    }
    size_t end = text.find(sep, start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string lookup(const std::string& text, unsigned short n, const std::string& sep) {
    return champ(text, n, sep);
}

int lookupInt(const std::string& text, unsigned short n, const std::string& sep) {
    int last = nbElem(text, sep);
    return entierTolerant(champ(text, n > last ? last : n, sep));
}

int champInt(const std::string& text, int n, const std::string& sep) {
    return entierTolerant(champ(text, n, sep));
}

int entierTolerant(const std::string& text) {
    errno = 0;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

bool entierStrict(const std::string& text, long lo, long hi, long& out) {
    const char* s = text.c_str();
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s, &end, 10);
    if (end == s || errno == ERANGE) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || static_cast<size_t>(end - s) != text.size()) return false;
    if (v < lo || v > hi) return false;
    out = v;
    return true;
}

std::string formaterTexte(const std::string& modele, std::initializer_list<std::string> args) {
    std::string out;
    auto arg = args.begin();
    for (size_t i = 0; i < modele.size(); ++i) {
        char c = modele[i];
        if (c == '%' && i + 1 < modele.size()) {
            char f = modele[i + 1];
            if (f == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (f == 's' || f == 'd' || f == 'i') {
                if (arg != args.end()) out += *arg++;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string latin1VersUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string utf8VersLatin1(const std::string& texte) {
    if (texte.empty()) return texte;
    // Latin-1 never needs more bytes than the UTF-8 it comes from.
    std::vector<char> sortie(texte.size() + 1);
    unsigned n = fl_utf8toa(texte.data(), unsigned(texte.size()), sortie.data(), unsigned(sortie.size()));
    return std::string(sortie.data(), std::min<size_t>(n, texte.size()));
}
