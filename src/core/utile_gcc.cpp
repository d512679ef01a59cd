#include "core/utile_gcc.h"

#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

std::string JourHeureNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%2d/%2d/%4d %2d:%2d:%2d", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    std::string s(buf);
    for (char& c : s)
        if (c == ' ') c = '0';
    s[10] = ' ';  // the blank between date and time stays
    return s;
}

bool estFichierRegulier(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ecrireFichierAtomique(const std::string& path, const std::string& content) {
    if (path.empty()) return false;
    std::string tmp = path;
    if (tmp.back() == '~') tmp += '~';
    else tmp.back() = '~';
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}
