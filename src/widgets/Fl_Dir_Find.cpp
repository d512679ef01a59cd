#include "widgets/Fl_Dir_Find.h"

#include <sys/stat.h>

#include <cstring>
#include <string>

namespace {

void copyName(Fl_Dir_Find_Data& out, const char* name) {
    const size_t n = strnlen(name, sizeof out.name - 1);
    std::memcpy(out.name, name, n);
    out.name[n] = '\0';
}

// `known`: the entry could be followed to a file or folder and `st` holds it.
void fill(Fl_Dir_Find_Data& out, bool known, const struct stat& st) {
    out.folder = known && S_ISDIR(st.st_mode);
    out.system = !known || (!out.folder && !S_ISREG(st.st_mode));
    out.hidden = out.name[0] == '.';
    out.sizeHigh = known ? static_cast<unsigned long>(static_cast<unsigned long long>(st.st_size) >> 32) : 0;
}

}  // namespace

bool Fl_Dir_Find::first(const char* folder, Fl_Dir_Find_Data& out) {
    close();
    dir_ = opendir(folder && *folder ? folder : ".");
    return dir_ && next(out);
}

bool Fl_Dir_Find::next(Fl_Dir_Find_Data& out) {
    if (!dir_) return false;
    const dirent* d = readdir(dir_);
    if (!d) return false;
    copyName(out, d->d_name);
    return true;
}

void Fl_Dir_Find::describe(Fl_Dir_Find_Data& out) const {
    struct stat st = {};
    fill(out, dir_ && fstatat(dirfd(dir_), out.name, &st, 0) == 0, st);
}

bool Fl_Dir_Find::lookup(const char* folder, const char* name, Fl_Dir_Find_Data& out) {
    const std::string path = std::string(folder) + name;
    struct stat st = {};
    if (lstat(path.c_str(), &st) != 0) return false;
    copyName(out, name);
    fill(out, stat(path.c_str(), &st) == 0, st);
    return true;
}

void Fl_Dir_Find::close() {
    if (dir_) closedir(dir_);
    dir_ = nullptr;
}
