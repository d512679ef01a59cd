#ifndef QV_FL_DIR_H
#define QV_FL_DIR_H

// A directory lister with no user interface: it reads one folder, types and
// sorts its entries, decides which are shown from a type filter and the
// wildcard pattern typed after the folder, completes a partly typed name and
// moves between folders. It reports to its owner through three callbacks
// and a status code whose text is in fl_dir_messages.

#include <cstddef>
#include <string>

enum {
    FL_DIR_MAX_FILES = 3000,  // entries kept from one folder
    FL_DIR_PATH = 2048,       // path buffer, terminator included
    FL_DIR_NAME = 256         // entry name, terminator included
};

// Entry types; the filter bits hide the kinds of the same value.
enum {
    FL_DIR_PARENT = 1,
    FL_DIR_FOLDER = 2,
    FL_DIR_FILE = 4,
    FL_DIR_LINK = 8,            // known to the filter, never read
    FL_DIR_HIDDEN_FOLDER = 0x10,  // known to the filter, never read
    FL_DIR_HIDDEN = 0x20,
    FL_DIR_EXECUTABLE = 0x40,
    FL_DIR_SYSTEM = 0x80
};

// Sort modes.
enum {
    FL_DIR_SORT_ALPHA = 0,
    FL_DIR_SORT_NOCASE = 1,
    FL_DIR_SORT_REVERSE = 2,
    FL_DIR_SORT_NUMERIC = 3,  // these three leave the order as it is
    FL_DIR_SORT_TIME = 4,
    FL_DIR_SORT_SIZE = 5,
    FL_DIR_SORT_NONE = 6,     // reading order
    FL_DIR_SORT_FOLDERS = 7   // parent, folders, then the rest, each by name
};

// Status values, indexes into fl_dir_messages.
enum {
    FL_DIR_NO_FILTER_MATCH = 0,
    FL_DIR_INVALID_FOLDER = 1,
    FL_DIR_NO_FOLDER = 2,
    FL_DIR_NO_PATTERN_MATCH = 3,
    FL_DIR_NO_HOME = 4,
    FL_DIR_NO_CURRENT = 5,
    FL_DIR_NO_COMPLETION = 6,
    FL_DIR_NO_ENTRY_MATCH = 7,
    FL_DIR_SELECT_FILES = 8,
    FL_DIR_OK = 9,
    FL_DIR_TOO_LONG = 10
};

extern const char* const fl_dir_messages[11];

// Folders are separated by "/" (a backslash is turned into one); any other
// character, ":" included, belongs to a name.
inline bool fl_dir_is_separator(char c) { return c == '/' || c == '\\'; }

struct Fl_Dir_File {
    char name[FL_DIR_NAME];
    int length;
    int type;
    int sizeHigh;
    int extra;
    int shown;
};

class Fl_Dir;
typedef void(Fl_Dir_Callback)(Fl_Dir*, void*);

class Fl_Dir {
public:
    Fl_Dir(const char* path, int sort, int filter);
    ~Fl_Dir();
    Fl_Dir(const Fl_Dir&) = delete;
    Fl_Dir& operator=(const Fl_Dir&) = delete;

    // Callbacks; a null function is never called.
    void dirCallback(Fl_Dir_Callback* cb, void* data) { listCb_ = cb; listData_ = data; }
    void dirCallback2(Fl_Dir_Callback* cb, void* data) { listCb2_ = cb; listData2_ = data; }
    void dirErrorCallback(Fl_Dir_Callback* cb, void* data) { errorCb_ = cb; errorData_ = data; }

    // Opens a path: folder part, then a pattern part. Returns the number of
    // shown entries that match, 0 on failure. `mode` 0 calls both list
    // callbacks, 1 the first, 2 the second, 3 neither.
    int cd(const char* path, int mode = 0);
    int cdUp();
    int cdRoot();
    int cdHome();
    int cdCurrent();
    int cdSub(const char* name);
    // Reads the current folder again, for entries come or gone since it was
    // read, and calls the list callbacks (per `mode`) even when nothing is
    // shown; a folder gone lists nothing. Returns the number of shown entries.
    int dirReread(int mode = 0);

    void dirSort(int mode);
    void dirSetFilter(int bits);
    void dirToggelFilter(int bits);
    void dirClearFilter();
    int dirSetDisplay();

    // The shown entries in display order, one a call; null at the end, after
    // which the next call starts again from the first.
    Fl_Dir_File* fileList();
    void fileListRewind() { listPos_ = 0; }
    // The first entry in display order whose name matches `pattern`.
    Fl_Dir_File* fileInList(const char* pattern, int shownOnly);

    // Completes the name typed after the folder part of `text` into `out`
    // (`outSize` bytes); returns the typed name's length.
    int tabComplete(const char* text, char* out, int outSize = FL_DIR_PATH);

    static bool simpleExp(const char* name, const char* pattern, int flag = 0);
    // Expands "$VAR" and "~" parts into `dst` (`dstSize` bytes).
    static void filename_expand(char* dst, const char* src, int dstSize = FL_DIR_PATH);
    static void convertSlash(char* text);

    // Reads a folder, keeping its first FL_DIR_MAX_FILES entries in name
    // order ("..", then byte order); returns the number kept.
    int dirRead(const char* folder);
    void dirAddFile(int index, const char* name, int length, int type, int extra, long sizeHigh);
    void dirReadType() { lastRead_ = nFiles_; }

    const char* dirPath() const { return path_; }
    int dirFolderLength() const { return folderLen_; }
    int dirStatus() const { return status_; }
    const char* dirMessage() const { return fl_dir_messages[status_]; }
    int dirFileCount() const { return nFiles_; }
    int dirFilter() const { return filter_; }
    int dirSortMode() const { return sort_; }
    // The entry at place `i` of the display order, shown or not.
    const Fl_Dir_File* dirDisplayed(int i) const;

protected:
    int dirError(int status);
    void dirNotify(int mode);

private:
    int dirShowOrFail(int mode, bool wildcard, bool newFolder);
    void dirRefilter();
    void setPath(const std::string& path, int folderLen);
    void storeEntry(int index, const char* name, int length, int type, int extra, long sizeHigh);
    void addTypedEntry();
    void dropTypedEntry();

    Fl_Dir_Callback* listCb_ = nullptr;
    void* listData_ = nullptr;
    Fl_Dir_Callback* listCb2_ = nullptr;
    void* listData2_ = nullptr;
    Fl_Dir_Callback* errorCb_ = nullptr;
    void* errorData_ = nullptr;

    // One slot beyond the kept entries holds a name typed in full that a
    // folder cut to its first names did not keep.
    Fl_Dir_File* files_[FL_DIR_MAX_FILES + 1] = {};
    int order_[FL_DIR_MAX_FILES + 1] = {};
    int nFiles_ = 0;
    char path_[FL_DIR_PATH] = {};
    int folderLen_ = 0;
    int status_ = FL_DIR_OK;
    int nAllocated_ = 0;
    int listPos_ = 0;
    int lastRead_ = 0;
    int filter_ = 0;
    int sort_ = 0;
    bool truncated_ = false;   // the folder held more entries than were kept
    bool typedEntry_ = false;  // the slot beyond the kept entries is in use
};

#endif
