#include "widgets/FluSimpleString.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

char* duplicate(const char* s, size_t n) {
    char* out = static_cast<char*>(std::malloc(n + 1));
    if (n) std::memcpy(out, s, n);
    out[n] = '\0';
    return out;
}

char* duplicate(const char* s) { return s ? duplicate(s, std::strlen(s)) : duplicate("", 0); }

}  // namespace

FluSimpleString::FluSimpleString() : str(duplicate("", 0)) {}

FluSimpleString::FluSimpleString(unsigned n) : str(static_cast<char*>(std::malloc(n + 1))) { str[0] = '\0'; }

FluSimpleString::FluSimpleString(const char* s) : str(duplicate(s)) {}

FluSimpleString::FluSimpleString(const FluSimpleString& s) : str(duplicate(s.str)) {}

FluSimpleString::~FluSimpleString() { std::free(str); }

FluSimpleString& FluSimpleString::operator=(const char* s) {
    // Copy first: s may be this string's own text.
    char* copied = duplicate(s);
    std::free(str);
    str = copied;
    return *this;
}

FluSimpleString& FluSimpleString::operator+=(const char* s) {
    if (!s) return *this;
    size_t a = std::strlen(str), b = std::strlen(s);
    char* joined = static_cast<char*>(std::malloc(a + b + 1));
    std::memcpy(joined, str, a);
    std::memcpy(joined + a, s, b + 1);
    std::free(str);
    str = joined;
    return *this;
}

int FluSimpleString::size() const { return int(std::strlen(str)); }

void FluSimpleString::copy(const char* s, unsigned offset, unsigned count) {
    if (!s || count == 0) return;
    size_t len = std::strlen(s);
    // Written so that offset + count cannot wrap round.
    if (offset > len || count > len - offset) return;
    char* part = duplicate(s + offset, count);
    std::free(str);
    str = part;
}

int FluSimpleString::compare(const FluSimpleString& s) const { return std::strcmp(str, s.str); }

int FluSimpleString::casecompare(const FluSimpleString& s) const {
    FluSimpleString a(*this), b(s);
    a.upcase();
    b.upcase();
    return a.compare(b);
}

void FluSimpleString::upcase() {
    for (char* p = str; *p; ++p) *p = char(std::toupper(static_cast<unsigned char>(*p)));
}

void FluSimpleString::downcase() {
    for (char* p = str; *p; ++p) *p = char(std::tolower(static_cast<unsigned char>(*p)));
}

int FluSimpleString::find(char c) const {
    const char* p = std::strchr(str, c);
    return (p && c) ? int(p - str) : -1;
}

int FluSimpleString::rfind(char c) const {
    const char* p = std::strrchr(str, c);
    return (p && c) ? int(p - str) : -1;
}

FluSimpleString FluSimpleString::substr(int offset, int count) const {
    FluSimpleString out;
    int len = size();
    if (offset < 0 || count <= 0 || count > len - offset) return out;
    out.copy(str, unsigned(offset), unsigned(count));
    return out;
}
