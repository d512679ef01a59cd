#include "widgets/Fl_Dir_Find.h"

#include <sys/stat.h>

#include <cstring>

bool Fl_Dir_Find::first(const char* folder, Fl_Dir_Find_Data& out) {
    close();
    dir_ = opendir(folder && *folder ? folder : ".");
    return dir_ && next(out);
}

bool Fl_Dir_Find::next(Fl_Dir_Find_Data& out) {
    if (!dir_) return false;
    const dirent* d = readdir(dir_);
    if (!d) return false;
    const size_t n = strnlen(d->d_name, sizeof out.name - 1);
    std::memcpy(out.name, d->d_name, n);
    out.name[n] = '\0';

    struct stat st;
    const bool known = fstatat(dirfd(dir_), d->d_name, &st, 0) == 0;
    out.folder = known && S_ISDIR(st.st_mode);
    out.system = !known || (!out.folder && !S_ISREG(st.st_mode));
    out.hidden = out.name[0] == '.' && std::strcmp(out.name, ".") != 0 && std::strcmp(out.name, "..") != 0;
    out.sizeHigh = known ? static_cast<unsigned long>(static_cast<unsigned long long>(st.st_size) >> 32) : 0;
    return true;
}

void Fl_Dir_Find::close() {
    if (dir_) closedir(dir_);
    dir_ = nullptr;
}
