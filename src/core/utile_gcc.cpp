#include "core/utile_gcc.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
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

int ouvrirFichierLecture(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) return -1;
    struct stat st;
    int erreur = 0;
    if (::fstat(fd, &st) != 0) erreur = errno;
    else if (!S_ISREG(st.st_mode)) erreur = EINVAL;
    else if (st.st_size > TAILLE_FICHIER_MAX) erreur = EFBIG;
    if (erreur == 0) return fd;
    ::close(fd);
    errno = erreur;
    return -1;
}

bool lireFichierBorne(const std::string& path, std::string& content) {
    content.clear();
    const int fd = ouvrirFichierLecture(path);
    if (fd == -1) return false;
    // The size was checked at open; a file growing meanwhile is cut at the limit + 1
    // and refused, so the memory taken stays bounded.
    char buf[65536];
    bool ok = true;
    for (ssize_t n; ok && (n = ::read(fd, buf, sizeof buf)) != 0;) {  // a regular file: no EINTR
        if (n == -1) {
            ok = false;
        } else if (static_cast<long>(content.size()) + n > TAILLE_FICHIER_MAX) {
            ok = false;
            errno = EFBIG;
        } else {
            content.append(buf, static_cast<size_t>(n));
        }
    }
    const int erreur = errno;
    ::close(fd);
    errno = erreur;
    if (!ok) content.clear();
    return ok;
}

const char BOM_UTF8[] = "\357\273\277";

size_t longueurBom(const std::string& texte) {
    const size_t n = sizeof BOM_UTF8 - 1;
    return texte.compare(0, n, BOM_UTF8) == 0 ? n : 0;
}

namespace {

// Creates the temporary exclusively, so that no other writer can be filling
// it too: the "~" name when free, else a unique name beside it (the same
// folder, so that the rename stays atomic). false when none can be created.
bool creerTemporaire(const std::string& path, std::string& tmp, int& fd) {
    tmp = path;
    if (tmp.back() == '~') tmp += '~';
    else tmp.back() = '~';
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    fd = ::open(tmp.c_str(), flags, 0666);
    if (fd != -1 || errno != EEXIST) return fd != -1;
    // Taken by another writer, or left by a crash: either way not ours to touch.
    static unsigned compteur = 0;
    const std::string base = tmp;
    for (int essai = 0; essai < 100; ++essai) {
        tmp = base + std::to_string(::getpid()) + "." + std::to_string(++compteur);
        fd = ::open(tmp.c_str(), flags, 0666);
        if (fd != -1 || errno != EEXIST) return fd != -1;
    }
    return false;
}

bool ecrireTout(int fd, const std::string& content) {
    const char* p = content.data();
    size_t reste = content.size();
    while (reste > 0) {
        const ssize_t n = ::write(fd, p, reste);  // a regular file: no EINTR
        if (n == -1) return false;
        p += n;
        reste -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool ecrireFichierAtomique(const std::string& path, const std::string& content) {
    if (path.empty()) return false;
    std::string tmp;
    int fd;
    if (!creerTemporaire(path, tmp, fd)) return false;
    bool ok = ecrireTout(fd, content);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}
