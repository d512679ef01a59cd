#ifndef QV_FL_DIR_FIND_H
#define QV_FL_DIR_FIND_H

// Folder listing for the directory lister: first, next, close give the names
// of a folder's entries; describe tells, for one of them, whether it is a
// folder, hidden or a system entry, and the high word of its size. Naming and
// describing are apart so that a large folder is described only for the
// entries kept. Links are followed; a name beginning with "." is hidden (the
// lister knows "." and ".." first); anything that is neither a regular file
// nor a folder (a FIFO, a device, a dangling link) is a system entry.

#include <dirent.h>

struct Fl_Dir_Find_Data {
    char name[256];
    bool folder = false;
    bool hidden = false;
    bool system = false;
    unsigned long sizeHigh = 0;  // the size's bits above the low 32
};

class Fl_Dir_Find {
    DIR* dir_ = nullptr;

public:
    Fl_Dir_Find() = default;
    Fl_Dir_Find(const Fl_Dir_Find&) = delete;
    Fl_Dir_Find& operator=(const Fl_Dir_Find&) = delete;
    ~Fl_Dir_Find() { close(); }

    // Opens `folder` ("" for the working folder) and gives its first entry's
    // name; false when the folder cannot be listed.
    bool first(const char* folder, Fl_Dir_Find_Data& out);
    // The next entry's name; false at the end.
    bool next(Fl_Dir_Find_Data& out);
    // Fills the kind and size of the entry `out.name` of the open folder.
    void describe(Fl_Dir_Find_Data& out) const;
    // Describes the entry `name` (no separator in it) of `folder` (ending
    // with one, "" for the working folder) without listing the folder; false
    // when no such entry exists.
    static bool lookup(const char* folder, const char* name, Fl_Dir_Find_Data& out);
    void close();
};

#endif
