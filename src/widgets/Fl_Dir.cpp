#include "widgets/Fl_Dir.h"

#include "widgets/Fl_Dir_Find.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <queue>
#include <sstream>
#include <string>
#include <vector>

const char* const fl_dir_messages[11] = {
    "Sorry - No files match with selected Filter",
    "Sorry - Invalid directory was entered",
    "Sorry - No such directory or permission denied",
    "Sorry - No files match the Pattern/Filter",
    "Sorry - No HOME directory found",
    "Sorry - No CURRENT DIRECTORY found",
    "Sorry - Tab-Complete found no match",
    "Sorry - No file matches entry",
    "Please Select Files",
    "",
    "Sorry - The path is too long",
};

namespace {

bool isSeparator(char c) { return fl_dir_is_separator(c); }
bool isWildcard(char c) { return c == '*' || c == '?' || c == '[' || c == '{'; }
bool isFolderType(int type) { return type == FL_DIR_FOLDER || type == FL_DIR_HIDDEN_FOLDER; }

// One pass over a path: its length, the folder part's length (after the last
// separator), the position after the last wildcard (0: none), the folder
// length when the first wildcard was met (-1: none) and the position after
// the last comma (0: none).
struct PathParts {
    int length = 0, folder = 0, afterWildcard = 0, folderAtWildcard = -1, afterComma = 0;
};

PathParts lenSlashPattern(const char* s) {
    PathParts p;
    for (; s[p.length]; ++p.length) {
        const char c = s[p.length];
        if (isSeparator(c)) p.folder = p.length + 1;
        if (isWildcard(c)) {
            p.afterWildcard = p.length + 1;
            if (p.folderAtWildcard < 0) p.folderAtWildcard = p.folder;
        }
        if (c == ',') p.afterComma = p.length + 1;
    }
    return p;
}

void copyBounded(char* dst, int size, const std::string& s) {
    if (size <= 0) return;
    const size_t n = std::min(s.size(), static_cast<size_t>(size - 1));
    std::memcpy(dst, s.data(), n);
    dst[n] = '\0';
}

bool hasEndsOfWildcardSet(const char* p) {
    // A set must be closed, a backslash must escape something, a brace group
    // must end; anything else would read past the end of the pattern.
    int braces = 0;
    while (*p) {
        if (*p == '\\') {
            if (!p[1]) return false;
            p += 2;
        } else if (*p == '[') {
            ++p;
            if (*p == '^' || *p == '!') ++p;
            if (*p == ']') ++p;
            while (*p && *p != ']') {
                if (*p == '\\' && !*++p) return false;
                ++p;
            }
            if (!*p) return false;
            ++p;
        } else {
            if (*p == '{') ++braces;
            if (*p == '}' && braces > 0) --braces;
            ++p;
        }
    }
    return braces == 0;
}

// Does the one-character token at p (no "*", no "{") match c? Sets its length.
bool tokenMatches(const char* p, unsigned char c, int& len) {
    if (*p == '?') {
        len = 1;
        return true;
    }
    if (*p == '\\') {
        len = 2;
        return static_cast<unsigned char>(p[1]) == c;
    }
    if (*p != '[') {
        len = 1;
        return static_cast<unsigned char>(*p) == c;
    }
    const char* q = p + 1;
    const bool negated = *q == '^' || *q == '!';
    if (negated) ++q;
    bool found = false;
    bool firstItem = true;
    while (*q != ']' || firstItem) {
        firstItem = false;
        if (*q == '\\') ++q;
        const unsigned char lo = static_cast<unsigned char>(*q);
        unsigned char hi = lo;
        if (q[1] == '-' && q[2] && q[2] != ']') {
            q += 2;
            if (*q == '\\') ++q;
            hi = static_cast<unsigned char>(*q);
        }
        if (c >= lo && c <= hi) found = true;
        ++q;
    }
    len = static_cast<int>(q + 1 - p);
    return found != negated;
}

// Matching of a validated pattern without braces: single-character tokens
// and "*", with one backtracking point, so that no pattern costs more than
// name length times pattern length.
bool matchPlain(const char* s, const char* p) {
    const char* starP = nullptr;
    const char* starS = nullptr;
    while (*s) {
        if (*p == '*') {
            while (*p == '*') ++p;
            if (!*p) return true;
            starP = p;
            starS = s;
            continue;
        }
        int len = 1;
        if (*p && tokenMatches(p, static_cast<unsigned char>(*s), len)) {
            p += len;
            ++s;
        } else if (starP) {
            p = starP;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (*p == '*') ++p;
    return !*p;
}

// The first brace group outside sets and escapes: its "{" and matching "}".
bool findBraces(const std::string& p, size_t& open, size_t& close) {
    int depth = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '\\') {
            ++i;
        } else if (c == '[') {
            size_t j = i + 1;
            if (j < p.size() && (p[j] == '^' || p[j] == '!')) ++j;
            if (j < p.size() && p[j] == ']') ++j;
            while (j < p.size() && p[j] != ']') j += p[j] == '\\' ? 2 : 1;
            i = j;
        } else if (c == '{') {
            if (depth++ == 0) open = i;
        } else if (c == '}' && depth > 0 && --depth == 0) {
            close = i;
            return true;
        }
    }
    return false;
}

// Tries each alternative of the first brace group in turn; `budget` bounds
// the alternatives tried, so that stacked groups cannot explode.
bool matchBraces(const char* name, const std::string& p, int& budget) {
    size_t open = 0, close = 0;
    if (!findBraces(p, open, close)) return matchPlain(name, p.c_str());
    const std::string head = p.substr(0, open), tail = p.substr(close + 1);
    size_t start = open + 1;
    int depth = 0;
    for (size_t i = open + 1; i <= close; ++i) {
        const char c = p[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '{') ++depth;
        if (c == '}' && depth > 0) {
            --depth;
            if (i != close) continue;
        }
        if ((depth == 0 && (c == ',' || c == '|')) || i == close) {
            if (--budget < 0) return false;
            if (matchBraces(name, head + p.substr(start, i - start) + tail, budget)) return true;
            start = i + 1;
        }
    }
    return false;
}

bool lessByName(const Fl_Dir_File* a, const Fl_Dir_File* b) { return std::strcmp(a->name, b->name) < 0; }

// The order in which a large folder's entries are kept: the parent, then
// the names in byte order.
bool keptBefore(const std::string& a, const std::string& b) {
    if (b == "..") return false;
    return a == ".." || a < b;
}

int typeOf(const Fl_Dir_Find_Data& d) {
    if (std::strcmp(d.name, "..") == 0) return FL_DIR_PARENT;
    if (d.folder) return FL_DIR_FOLDER;
    if (d.hidden) return FL_DIR_HIDDEN;
    if (d.system) return FL_DIR_SYSTEM;
    const char* ext = std::strrchr(d.name, '.');
    const bool program = ext && (!strcasecmp(ext, ".exe") || !strcasecmp(ext, ".com") || !strcasecmp(ext, ".bat"));
    return program ? FL_DIR_EXECUTABLE : FL_DIR_FILE;
}

std::string expandPath(const char* src) {
    std::string out;
    for (size_t i = 0; src[i];) {
        if (isSeparator(src[i])) {
            out += src[i++];
            continue;
        }
        size_t j = i;
        while (src[j] && !isSeparator(src[j])) ++j;
        const std::string part(src + i, j - i);
        const char* value = nullptr;
        if (part.size() > 1 && part[0] == '$') value = std::getenv(part.c_str() + 1);
        else if (part == "~") value = std::getenv("HOME");
        if (!value) {
            out += part;  // an unset variable stays as typed
        } else {
            // An absolute value starts the path afresh.
            if (isSeparator(value[0])) out.clear();
            out += value;
        }
        i = j;
    }
    return out;
}

std::string joinedFolder(bool absolute, const std::vector<std::string>& names) {
    std::string s = absolute ? "/" : "";
    for (const std::string& name : names) s += name + "/";
    return s;
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    std::istringstream parts(folder);
    for (std::string name; std::getline(parts, name, '/');)
        if (!name.empty()) names.push_back(name);
    return names;
}

// When `folder` (ending with "/") names a link, the parent of its target as
// the system finds it, absolute.
bool systemParent(const std::string& folder, std::string& parent) {
    struct stat st;
    const std::string link = folder.substr(0, folder.size() - 1);
    if (lstat(link.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    char* real = realpath((folder + "..").c_str(), nullptr);
    if (!real) return false;
    parent = real;
    std::free(real);
    return true;
}

int folderRank(const Fl_Dir_File* f) {
    return f->type == FL_DIR_PARENT ? 0 : isFolderType(f->type) ? 1 : 2;
}

}  // namespace

Fl_Dir::Fl_Dir(const char* path, int sort, int filter) : filter_(filter), sort_(sort) {
    // No callback is set yet: cd checks each before calling it.
    cd(path, 0);
}

Fl_Dir::~Fl_Dir() {
    for (int i = 0; i < nAllocated_; ++i) delete files_[i];
}

int Fl_Dir::dirError(int status) {
    status_ = status;
    if (errorCb_) errorCb_(this, errorData_);
    return 0;
}

void Fl_Dir::dirNotify(int mode) {
    if ((mode == 0 || mode == 1) && listCb_) listCb_(this, listData_);
    if ((mode == 0 || mode == 2) && listCb2_) listCb2_(this, listData2_);
}

void Fl_Dir::setPath(const std::string& path, int folderLen) {
    copyBounded(path_, sizeof path_, path);
    folderLen_ = std::min(folderLen, static_cast<int>(std::strlen(path_)));
}

// A new folder always reaches the list callbacks, even with nothing to show,
// so that no line of the previous folder stays to be picked; within the same
// folder a text that matches nothing leaves the list as it is.
int Fl_Dir::dirShowOrFail(int mode, bool wildcard, bool newFolder) {
    int shown = dirSetDisplay();
    if (shown == 0) {
        addTypedEntry();
        shown = dirSetDisplay();
    }
    if (shown > 0 || newFolder) dirNotify(mode);
    if (shown == 0) return dirError(wildcard ? FL_DIR_NO_PATTERN_MATCH : FL_DIR_NO_ENTRY_MATCH);
    return shown;
}

void Fl_Dir::addTypedEntry() {
    const char* name = path_ + folderLen_;
    if (!truncated_ || typedEntry_ || !*name || std::strcmp(name, ".") == 0) return;
    for (int i = 0; i < nFiles_; ++i)
        if (std::strcmp(files_[i]->name, name) == 0) return;
    Fl_Dir_Find_Data d;
    if (!Fl_Dir_Find::lookup(std::string(path_, folderLen_).c_str(), name, d)) return;
    storeEntry(nFiles_, d.name, static_cast<int>(std::strlen(d.name)), typeOf(d), 0, static_cast<long>(d.sizeHigh));
    typedEntry_ = true;
}

void Fl_Dir::dropTypedEntry() {
    if (!typedEntry_) return;
    typedEntry_ = false;
    // A sort may have moved it within the display order.
    std::remove(order_, order_ + nFiles_, nFiles_ - 1);
    --nFiles_;
}

int Fl_Dir::cd(const char* path, int mode) {
    status_ = FL_DIR_OK;
    const std::string expanded = expandPath(path ? path : "");
    const PathParts p = lenSlashPattern(expanded.c_str());
    const bool wildcard = p.afterWildcard > 0;
    // A path without folder part stays in the current folder.
    const size_t typedFolder = static_cast<size_t>(p.folder);
    std::string folder = typedFolder ? expanded.substr(0, typedFolder) : std::string(path_, folderLen_);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    const std::string full = folder + expanded.substr(typedFolder);
    // Cut to the buffer, a path would name another folder: refuse it whole.
    if (full.size() >= sizeof path_) return dirError(FL_DIR_TOO_LONG);

    if (nFiles_ > 0 && p.folder == folderLen_ && expanded.compare(0, typedFolder, path_, typedFolder) == 0) {
        dropTypedEntry();
        setPath(full, p.folder);
        return dirShowOrFail(mode, wildcard, false);
    }
    const bool wildcardInFolder = p.folderAtWildcard >= 0 && p.folder > p.folderAtWildcard;
    const bool commaInFolder = p.afterComma > 0 && p.afterComma <= p.folder;
    if (wildcardInFolder || commaInFolder) return dirError(FL_DIR_INVALID_FOLDER);

    // A bare name reads the folder on screen again: it is no new folder.
    const bool newFolder = folder.compare(0, std::string::npos, path_, static_cast<size_t>(folderLen_)) != 0;
    if (dirRead(folder.c_str()) == 0) return dirError(FL_DIR_NO_FOLDER);
    setPath(full, static_cast<int>(folder.size()));
    dirSort(sort_);
    return dirShowOrFail(mode, wildcard, newFolder);
}

int Fl_Dir::cdUp() {
    // The folder as the system resolves it: "." and "name/.." taken out, so
    // that "/data/sub/../" goes up to "/". A ".." after a link leads to the
    // parent of the link's target, which only the system knows: asked there.
    // The folder's separators are all "/": cd turned backslashes into them.
    const std::string folder(path_, folderLen_);
    bool absolute = !folder.empty() && folder[0] == '/';
    std::vector<std::string> names;
    std::istringstream parts(folder);
    for (std::string name; std::getline(parts, name, '/');) {
        if (name == "..") {
            if (!names.empty() && names.back() != "..") {
                std::string resolved;
                if (systemParent(joinedFolder(absolute, names), resolved)) {
                    names = folderNames(resolved);
                    absolute = true;
                } else {
                    names.pop_back();
                }
            } else if (!absolute) {
                names.push_back(name);  // above the root is the root
            }
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
    }
    if (names.empty()) return 0;  // the root, or the working folder
    if (names.back() == "..") names.push_back("..");
    else names.pop_back();
    if (names.empty() && !absolute) return 0;  // a single relative folder: its parent has no name
    std::string up = joinedFolder(absolute, names);
    const char* pattern = path_ + folderLen_;
    if (std::strpbrk(pattern, "*?[{")) up += pattern;
    return cd(up.c_str(), 0);
}

int Fl_Dir::dirReread(int mode) {
    status_ = FL_DIR_OK;
    // Never read (every path refused): no folder to read again, not even
    // the working one.
    if (lastRead_ == 0) return 0;
    const bool wildcard = std::strpbrk(path_ + folderLen_, "*?[{") != nullptr;
    if (dirRead(std::string(path_, folderLen_).c_str()) == 0) {
        // The folder is gone: none of its lines may stay to be picked.
        nFiles_ = 0;
        dirNotify(mode);
        return dirError(FL_DIR_NO_FOLDER);
    }
    dirSort(sort_);
    return dirShowOrFail(mode, wildcard, true);
}

int Fl_Dir::cdRoot() { return cd("/", 0); }

int Fl_Dir::cdHome() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return dirError(FL_DIR_NO_HOME);
    std::string path = home;
    if (!isSeparator(path.back())) path += '/';
    return cd(path.c_str(), 0);
}

int Fl_Dir::cdCurrent() {
    char cwd[FL_DIR_PATH];
    if (!getcwd(cwd, sizeof cwd)) return dirError(FL_DIR_NO_CURRENT);
    std::string path = cwd;
    if (!isSeparator(path.back())) path += '/';
    return cd(path.c_str(), 0);
}

int Fl_Dir::cdSub(const char* name) {
    if (!name) return 0;
    std::string path(path_, folderLen_);
    path += name;
    bool plain = true;
    for (const char* c = name; *c; ++c)
        if (isSeparator(*c) || isWildcard(*c)) plain = false;
    if (plain) path += '/';
    return cd(path.c_str(), 0);
}

void Fl_Dir::dirSort(int mode) {
    sort_ = mode;
    int* first = order_;
    int* last = order_ + nFiles_;
    Fl_Dir_File** f = files_;
    // A stable sort gives the same order as an insertion sort with the same
    // comparison, in n log n instead of n squared.
    switch (mode) {
    case FL_DIR_SORT_ALPHA:
        std::stable_sort(first, last, [f](int a, int b) { return lessByName(f[a], f[b]); });
        break;
    case FL_DIR_SORT_NOCASE:
        std::stable_sort(first, last, [f](int a, int b) { return strcasecmp(f[a]->name, f[b]->name) < 0; });
        break;
    case FL_DIR_SORT_REVERSE:
        std::stable_sort(first, last, [f](int a, int b) { return lessByName(f[b], f[a]); });
        break;
    case FL_DIR_SORT_NONE:
        std::iota(first, last, 0);
        break;
    case FL_DIR_SORT_FOLDERS:
        std::stable_sort(first, last, [f](int a, int b) {
            const int ra = folderRank(f[a]), rb = folderRank(f[b]);
            if (ra != rb) return ra < rb;
            return lessByName(f[a], f[b]);
        });
        break;
    default:
        break;
    }
    listPos_ = 0;
}

void Fl_Dir::dirRefilter() {
    const int shown = dirSetDisplay();
    dirNotify(0);
    if (shown == 0) dirError(FL_DIR_NO_FILTER_MATCH);
}

void Fl_Dir::dirSetFilter(int bits) {
    filter_ |= bits;
    dirRefilter();
}

void Fl_Dir::dirToggelFilter(int bits) {
    filter_ ^= bits;
    dirRefilter();
}

void Fl_Dir::dirClearFilter() {
    filter_ = 0;
    dirSetDisplay();
    dirNotify(0);
}

int Fl_Dir::dirSetDisplay() {
    listPos_ = 0;
    // Typing a beginning shows the names that begin with it.
    const std::string pattern = std::string(path_ + folderLen_) + "*";
    int count = 0;
    for (int i = 0; i < nFiles_; ++i) {
        Fl_Dir_File* f = files_[i];
        bool shown, counted;
        if (f->type == FL_DIR_PARENT) {
            shown = !(filter_ & FL_DIR_PARENT);
            counted = shown && nFiles_ == 1;
        } else if (isFolderType(f->type)) {
            shown = !(filter_ & FL_DIR_FOLDER);
            counted = shown && simpleExp(f->name, pattern.c_str());
        } else if (f->type == FL_DIR_SYSTEM) {
            shown = counted = false;  // nothing can open it: never listed
        } else {
            shown = counted = !(filter_ & f->type) && simpleExp(f->name, pattern.c_str());
        }
        f->shown = shown;
        count += counted;
    }
    return count;
}

Fl_Dir_File* Fl_Dir::fileList() {
    while (listPos_ < nFiles_) {
        Fl_Dir_File* f = files_[order_[listPos_++]];
        if (f->shown) return f;
    }
    listPos_ = 0;
    return nullptr;
}

Fl_Dir_File* Fl_Dir::fileInList(const char* pattern, int shownOnly) {
    for (int i = 0; i < nFiles_; ++i) {
        Fl_Dir_File* f = files_[order_[i]];
        if ((f->shown || !shownOnly) && simpleExp(f->name, pattern)) return f;
    }
    return nullptr;
}

const Fl_Dir_File* Fl_Dir::dirDisplayed(int i) const {
    return i >= 0 && i < nFiles_ ? files_[order_[i]] : nullptr;
}

int Fl_Dir::tabComplete(const char* text, char* out, int outSize) {
    if (!text) text = "";
    const PathParts p = lenSlashPattern(text);
    const char* typed = text + p.folder;
    const int typedLen = p.length - p.folder;
    copyBounded(out, outSize, text);
    if (typedLen == 0 || nFiles_ < 2 || std::strpbrk(typed, "*?[{")) return typedLen;

    // The longest beginning that every match shares.
    std::string candidate;
    int matches = 0;
    bool folder = false;
    for (int i = 0; i < nFiles_; ++i) {
        const Fl_Dir_File* f = files_[order_[i]];
        if (!f->shown || f->type == FL_DIR_PARENT || std::strncmp(f->name, typed, typedLen) != 0) continue;
        if (matches++ == 0) {
            candidate = f->name;
        } else {
            size_t n = 0;
            while (n < candidate.size() && candidate[n] == f->name[n]) ++n;
            candidate.resize(n);
        }
        folder = isFolderType(f->type);
    }
    if (matches == 0) {
        dirError(FL_DIR_NO_COMPLETION);
        return typedLen;
    }
    std::string result = std::string(text, p.folder) + candidate;
    if (matches == 1 && folder) result += '/';
    std::replace(result.begin(), result.end(), '\\', '/');
    copyBounded(out, outSize, result);
    return typedLen;
}

bool Fl_Dir::simpleExp(const char* name, const char* pattern, int /*flag: case always counts*/) {
    if (!name || !pattern || !hasEndsOfWildcardSet(pattern)) return false;
    int budget = 4096;
    return matchBraces(name, pattern, budget);
}

void Fl_Dir::filename_expand(char* dst, const char* src, int dstSize) {
    copyBounded(dst, dstSize, expandPath(src ? src : ""));
}

void Fl_Dir::convertSlash(char* text) {
    for (; text && *text; ++text)
        if (*text == '\\') *text = '/';
}

int Fl_Dir::dirRead(const char* folder) {
    Fl_Dir_Find find;
    Fl_Dir_Find_Data d;
    if (!find.first(folder, d)) return 0;
    // The system gives the names in no particular order: a queue whose top
    // is the last name kept so far keeps the first ones, each with its place
    // in the reading, and only those are described.
    struct Named {
        std::string name;
        int read;
    };
    const auto before = [](const Named& a, const Named& b) { return keptBefore(a.name, b.name); };
    std::priority_queue<Named, std::vector<Named>, decltype(before)> first(before);
    int read = 0;
    bool cut = false;
    do {
        if (std::strcmp(d.name, ".") == 0) continue;
        Named n{d.name, read++};
        if (first.size() < FL_DIR_MAX_FILES) {
            first.push(std::move(n));
        } else {
            cut = true;
            if (!before(n, first.top())) continue;
            first.pop();
            first.push(std::move(n));
        }
    } while (find.next(d));
    std::vector<Named> kept;
    for (; !first.empty(); first.pop()) kept.push_back(first.top());
    std::sort(kept.begin(), kept.end(), [](const Named& a, const Named& b) { return a.read < b.read; });

    typedEntry_ = false;
    truncated_ = cut;
    for (size_t i = 0; i < kept.size(); ++i) {
        copyBounded(d.name, sizeof d.name, kept[i].name);
        find.describe(d);
        dirAddFile(static_cast<int>(i), d.name, static_cast<int>(std::strlen(d.name)), typeOf(d), 0,
                   static_cast<long>(d.sizeHigh));
    }
    nFiles_ = static_cast<int>(kept.size());
    dirReadType();
    return static_cast<int>(kept.size());
}

void Fl_Dir::dirAddFile(int index, const char* name, int length, int type, int extra, long sizeHigh) {
    if (index >= FL_DIR_MAX_FILES) return;
    storeEntry(index, name, length, type, extra, sizeHigh);
}

void Fl_Dir::storeEntry(int index, const char* name, int length, int type, int extra, long sizeHigh) {
    if (index < 0 || index > nAllocated_ || index > FL_DIR_MAX_FILES || !name) return;
    if (index == nAllocated_) files_[nAllocated_++] = new Fl_Dir_File();
    Fl_Dir_File* f = files_[index];
    length = std::max(0, std::min(length, FL_DIR_NAME - 1));
    length = static_cast<int>(strnlen(name, static_cast<size_t>(length)));
    std::memcpy(f->name, name, static_cast<size_t>(length));
    f->name[length] = '\0';
    f->length = length;
    f->type = type;
    f->sizeHigh = static_cast<int>(sizeHigh);
    f->extra = extra;
    f->shown = 1;
    order_[index] = index;
    nFiles_ = std::max(nFiles_, index + 1);
}
