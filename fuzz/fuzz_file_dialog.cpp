// fuzz-seconds: 60
// The second file dialog, its file-name input and its directory lister, in a
// window and behind the modal front end, under a user's hand on a folder of
// odd entries (sub-folders, a pipe, links, a dangling link, a newline, "&",
// "@", ":", "..", long names, a folder past the lister's cap, a path past its
// length). Nothing crashes, and what the user sees holds: the list shows only
// lines of the folder the lister is in, and no control character; when the
// input names files it did not get from the user's hand, they are exactly the
// highlighted ones and they exist; a typed character lands where the cursor
// is; a name typed in full that exists is listed; Enter answers; Up opens the
// parent of the folder shown (the system's, after a ".." that follows a
// link); recent folders are labelled as recorded; the answer of the modal
// dialog is what its input held; and every answer to open names entries that
// exist, though the program removes and renames files of a folder between
// steps, while the dialog shows it.
#include "widget_fuzz.h"

#include "support/WidgetEvents.h"
#include "widgets/Fl_File_Dialog.h"
#include "widgets/Fl_Input_File.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using qvfuzz::require;
using qvfuzz::WidgetFuzz;

// ---------------------------------------------------------------------------
// The folder the dialog works on, made once per process; only its "churn"
// folder changes: laid anew for every input, then the program removes and
// renames its entries between steps.

const int LONG_LEVELS = 9;  // nested folders of 240 characters: the deepest path passes 2,047

struct Fixture {
    std::string base;  // ends with "/"
    std::string longName;
    std::string deepPath;  // the deepest folder of the long chain, ending with "/"
};

std::string repeatChar(char c, size_t n) { return std::string(n, c); }

void touch(const std::string& path) { std::ofstream(path) << "x"; }

void removeFixture();

const char* const FIXTURE_PREFIX = "qv-dialog-fuzz.";

// A run that crashed left its folder: removed once its process is gone.
void removeStaleFixtures() {
    std::error_code ignored;
    for (const auto& e : std::filesystem::directory_iterator("/tmp", ignored)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(FIXTURE_PREFIX, 0) != 0) continue;
        const long pid = std::strtol(name.c_str() + std::strlen(FIXTURE_PREFIX), nullptr, 10);
        if (pid > 0 && kill(pid_t(pid), 0) != 0 && errno == ESRCH) std::filesystem::remove_all(e.path(), ignored);
    }
}

Fixture makeFixture() {
    namespace fs = std::filesystem;
    removeStaleFixtures();
    std::string tmpl = "/tmp/" + std::string(FIXTURE_PREFIX) + std::to_string(getpid()) + ".XXXXXX";
    if (!mkdtemp(&tmpl[0])) qvfuzz::fail("cannot make the fuzz folder");
    Fixture fx;
    fx.base = tmpl + "/";
    const std::string& b = fx.base;
    fx.longName = "L" + repeatChar('o', 245) + "ng.txt";  // 252 bytes
    for (const std::string& name :
         {std::string("a.txt"), std::string("b.txt"), std::string("B.TXT"), std::string("Mixed.Txt"),
          std::string("Readme"), std::string("run.exe"), std::string("tool.BAT"), std::string(".hidden"),
          std::string("new\nline.txt"), std::string("tab\there"), std::string("a&b"), std::string("@at"),
          std::string("@C12@bfake"), std::string("c:d.txt"), std::string("x..y"), std::string("..dots"),
          std::string("sp ace.txt"), std::string("trail "), std::string("[1].txt"), std::string("\351t\351.txt"),
          std::string("f30"), fx.longName, "M" + repeatChar('e', 178) + "d"})
        touch(b + name);
    for (const char* dir : {"sub/inner", "Zed", "fifo", "empty", "@sym", "a&b dir", "x:y", "dots..", ".hdir", "many",
                            "lng"})
        fs::create_directories(b + dir);
    for (const char* name : {"sub/deep.txt", "sub/Sub.txt", "sub/inner/x.txt", "Zed/z.txt", "Zed/y.txt", "@sym/s.txt",
                             "a&b dir/f", "x:y/in.txt", "dots../d.txt", ".hdir/h.txt"})
        touch(b + name);
    mkfifo((b + "pipe").c_str(), 0644);
    mkfifo((b + "fifo/p").c_str(), 0644);
    (void)symlink("nowhere", (b + "dangling").c_str());
    (void)symlink("a.txt", (b + "link.txt").c_str());
    (void)symlink("sub", (b + "subLink").c_str());
    (void)symlink("loop", (b + "loop").c_str());
    (void)symlink("sub/inner", (b + "innerLink").c_str());  // ".." after it leads to sub
    // Just past the lister's cap, made out of name order.
    for (int i = FL_DIR_MAX_FILES + 49; i >= 0; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d", i);
        touch(b + "many/" + name);
    }
    std::string deep = b + "lng/";
    for (int level = 0; level < LONG_LEVELS; ++level) {
        deep += std::to_string(level) + repeatChar('d', 239) + "/";
        fs::create_directory(deep);
    }
    touch(deep + "end.txt");
    fx.deepPath = deep;
    std::atexit(removeFixture);
    // "~" and the home folder are this folder: nothing depends on the machine's.
    setenv("HOME", std::string(b, 0, b.size() - 1).c_str(), 1);
    return fx;
}

const Fixture& fixture() {
    // Never destroyed: the folder is removed at exit, after the statics go.
    static const Fixture* fx = new Fixture(makeFixture());
    return *fx;
}

void removeFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(fixture().base, ignored);
}

// The churn folder's entries as laid for each input, and the names that
// renames give them.
const char* const CHURN_LAID[] = {"g1.txt", "g2.txt", "g3.txt", "gdir", "gdir/in.txt"};
const char* const CHURN_NAMES[] = {"g1.txt", "g2.txt", "g3.txt", "gdir", "h1.txt", "h2.txt", "h3.txt", "hdir"};
const int N_CHURN = sizeof CHURN_NAMES / sizeof CHURN_NAMES[0];

void layChurn() {
    const std::string churn = fixture().base + "churn/";
    std::error_code ignored;
    std::filesystem::remove_all(churn, ignored);
    std::filesystem::create_directory(churn);
    for (const char* name : CHURN_LAID) {
        if (std::strchr(name, '.')) touch(churn + name);
        else std::filesystem::create_directory(churn + name);
    }
}

bool isSep(char c) { return c == '/' || c == '\\'; }
bool hasWildcard(const std::string& s) { return s.find_first_of("*?[{") != std::string::npos; }

size_t folderLength(const std::string& s) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if (isSep(s[i])) n = i + 1;
    return n;
}

// "." and "name/.." taken out by their names, as the user reads a path.
std::string normalFolder(const std::string& folder) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < folder.size()) {
        size_t j = i;
        while (j < folder.size() && !isSep(folder[j])) ++j;
        const std::string name = folder.substr(i, j - i);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        i = j + 1;
    }
    std::string out = "/";
    for (const std::string& n : names) out += n + "/";
    return out;
}

bool inFixture(const std::string& folder) {
    return !folder.empty() && folder[0] == '/' && normalFolder(folder).rfind(fixture().base, 0) == 0;
}

std::string shown(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return s;
}

bool inChurn(const std::string& folder) {
    return inFixture(folder) && normalFolder(folder).rfind(fixture().base + "churn/", 0) == 0;
}

// The names of a fixture folder as the list may show them.
const std::set<std::string>& entriesOf(const std::string& folder) {
    static std::map<std::string, std::set<std::string>> cache;
    static const std::set<std::string> churnNames = [] {
        std::set<std::string> names{".", "..", "in.txt"};
        for (const char* n : CHURN_NAMES) names.insert(n);
        return names;
    }();
    // A line of the churn folder may name an entry gone since it was read.
    if (inChurn(folder)) return churnNames;
    // The folder the system opens: after a link, ".." is not the name before.
    char* real = realpath(folder.c_str(), nullptr);
    const std::string key = real ? std::string(real) : normalFolder(folder);
    std::free(real);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::set<std::string>& names = cache[key];
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d)) names.insert(shown(e->d_name));
        closedir(d);
    }
    return names;
}

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// An answer to open names what is there (a link followed): the whole text,
// or a folder followed by names parted by ",".
bool answerExists(const std::string& text) {
    struct stat st;
    if (stat(text.c_str(), &st) == 0) return true;
    const size_t folder = text.find_last_of("/\\") + 1;
    if (text.find(',', folder) == std::string::npos) return false;
    const std::string names = text.substr(folder) + ",";
    for (size_t at = 0, comma; (comma = names.find(',', at)) != std::string::npos; at = comma + 1)
        if (comma == at || stat((text.substr(0, folder) + names.substr(at, comma - at)).c_str(), &st) != 0) return false;
    return true;
}

// ---------------------------------------------------------------------------
// A line of the list: its name and whether it is a file the answer may hold.

struct Line {
    std::string name;
    bool file = false;
};

Line parseLine(const char* text) {
    Line l;
    std::string colour;
    const char* p = text;
    while (*p == '@') {
        if (p[1] == '.') {
            p += 2;
            break;
        }
        if (p[1] == 'C') {
            p += 2;
            while (*p >= '0' && *p <= '9') colour += *p++;
            continue;
        }
        if (!p[1]) break;
        p += 2;
    }
    l.name = p;
    const bool folder = colour == "35" || colour == "32" || colour == "97";
    l.file = !folder;
    // What the line adds after the name: "/" after a folder, " " after a
    // link, "*" after a program.
    if (!l.name.empty() && (folder || colour == "98" || colour == "34")) l.name.pop_back();
    return l;
}

std::string joined(const std::vector<std::string>& names) {
    std::string s;
    for (size_t i = 0; i < names.size(); ++i) s += (i ? "," : "") + names[i];
    return s;
}

// ---------------------------------------------------------------------------
// One input's run.

class Run;
Run* current = nullptr;  // for the event dispatcher, menu driver and callbacks

enum EndAction { END_NONE, END_OK, END_DELETE, END_DELETE_LATER, END_HIDE, END_HIDE_WINDOW, END_ACTIONS };

const char* const START_PATHS[] = {
    "",        "sub/",     "*.txt",   "Zed/",      "a",           "fifo/",     "empty/",     "@sym/",
    "a&b dir/", "x:y/",    "sub/../", "nope/",     "many/",       "~/",        "~/sub/",     "$HOME/Zed/",
    "sub/inner/", "c:d.txt", "new",   "*.C*",      "[ab]*",       "{a,B}*",    "Zed/*.exe",  "dots../",
    "subLink/", ".hdir/",  "many/f30", "a.txt",    "f",           "lng/",      "churn/",     "churn/g",
    "innerLink/../", "churn/gdir/",
};
const char* const RECENT[] = {"", "sub/", "churn/", "innerLink/../", "Zed/", "@sym/", "a&b dir/", "x:y/", "sub/../", "many/", "dots../",
                              "fifo/", "lng/"};
const char* const FRAGMENTS[] = {
    "a",      "b.txt",  "sub/",   "Zed/",  "../",    "..",     "~/",     "~",      "*.txt",  "*",
    "?",      "[ab]*",  "{a,B}*", "f30",   "f3049",  "many/",  "new",    "c:",     "@",      "&",
    "x:y/",   "@sym/",  "a&b dir/", "Readme", "run.exe", "B.TXT", "Mixed.Txt", ".hidden", "/", "$HOME/",
    "lng/",   "nope/",  "dots../", "fifo/", "empty/", "link.txt", "dangling", "pipe", "\303\251", "sp ace.txt",
    "x..y",   "subLink/", "[1].txt", "trail ", "inner/", ".", "./", "//",     "churn/", "g1.txt", "h2.txt",
    "gdir/",  "innerLink/", "../../",
};
const int N_FRAGMENTS = sizeof FRAGMENTS / sizeof FRAGMENTS[0];

// What a step did to the input's text: a hand's text is the user's own.
struct Snapshot {
    std::string text, folder, path;
    std::vector<std::string> highlighted;
    bool hand = false;
};

class Run {
public:
    Run(WidgetFuzz& f, bool modal) : f_(f), modal_(modal) {}

    WidgetFuzz& f() { return f_; }
    bool modal() const { return modal_; }
    Fl_Window* target() const { return target_; }

    Fl_File_Dialog* dialog() const { return alive_ && alive_->exists() ? dialog_ : nullptr; }
    Fl_Input_File* input() const { return dialog() ? dialog_->input() : nullptr; }

    void adopt(Fl_File_Dialog* d, Fl_Window* target) {
        dialog_ = d;
        alive_ = std::make_unique<Fl_Widget_Tracker>(d);
        target_ = target;
        text_ = d->input()->value();
        hand_ = true;  // the caller's path
        handTexts_.insert(text_);
    }

    // Recorded after every event: who last changed the input's text.
    void noteText(bool hand) {
        Fl_Input_File* in = input();
        if (!in) return;
        const std::string now = in->value();
        if (now == text_) return;
        text_ = now;
        hand_ = hand;
        if (hand) handTexts_.insert(now);
    }

    Snapshot look() const {
        Snapshot s;
        Fl_Input_File* in = input();
        if (!in) return s;
        s.text = in->value();
        s.folder.assign(in->dirPath(), in->dirFolderLength());
        s.path = in->dirPath();
        s.hand = hand_ || handTexts_.count(s.text) > 0;
        Fl_Multi_Browser* list = dialog_->fileBrowser();
        for (int i = 1; i <= list->size(); ++i)
            if (list->selected(i)) {
                const Line l = parseLine(list->text(i));
                if (l.file) s.highlighted.push_back(l.name);
            }
        return s;
    }

    // The input names the files the user highlighted, or what the user typed,
    // or a folder or pattern of the lister's own; never a file of another folder.
    void checkAnswer(const Snapshot& s, const char* when) const {
        if (s.hand || s.text.empty() || isSep(s.text.back()) || s.text == s.path || hasWildcard(s.text)) return;
        // The lines show a control character as "?".
        require(!s.highlighted.empty() && shown(s.text) == shown(s.folder) + joined(s.highlighted),
                "%s: the input names \"%s\", the files highlighted are \"%s\"", when, s.text.c_str(),
                joined(s.highlighted).c_str());
        // The churn folder's files may go between two steps: their answer is
        // checked when it is given.
        if (!inFixture(s.folder) || inChurn(s.folder) || s.text.compare(0, s.folder.size(), s.folder) != 0) return;
        // No name here holds a ",": in a multi list it parts the names.
        std::string names = s.text.substr(s.folder.size()) + ",";
        for (size_t at = 0, comma; (comma = names.find(',', at)) != std::string::npos; at = comma + 1) {
            const std::string name = names.substr(at, comma - at);
            require(exists(s.folder + name), "%s: the answer names \"%s%s\", which does not exist", when,
                    s.folder.c_str(), name.c_str());
        }
    }

    void checkLines() const {
        Fl_File_Dialog* d = dialog();
        if (!d) return;
        const std::string folder(d->input()->dirPath(), d->input()->dirFolderLength());
        const bool known = inFixture(folder);
        const std::set<std::string>* names = known ? &entriesOf(folder) : nullptr;
        Fl_Multi_Browser* list = d->fileBrowser();
        for (int i = 1; i <= list->size(); ++i) {
            const char* text = list->text(i);
            for (const char* c = text; *c; ++c)
                require(static_cast<unsigned char>(*c) >= 0x20 && *c != 0x7f, "line %d holds a control character", i);
            if (!known) continue;
            const Line l = parseLine(text);
            require(names->count(l.name) > 0, "line %d \"%s\" is no entry of %s, the folder the lister is in", i,
                    l.name.c_str(), folder.c_str());
        }
    }

    // A recent folder's entry shows the folder as recorded: "&&" and "@@"
    // draw one character, a lone "&" or "@" would underline or draw a symbol.
    static void checkRecent() {
        for (int i = 0; i < FL_INPUT_FILE_USERS; ++i) {
            const Fl_Menu_Item& item = Fl_Input_File::pulldown[FL_INPUT_FILE_FIRST_USER + i];
            if (!item.visible()) continue;
            const char* label = item.label();
            std::string seen;
            for (const char* c = label; c && *c; ++c) {
                if (*c == '&' || *c == '@') {
                    require(c[1] == *c, "recent folder %d is labelled \"%s\": a lone \"%c\"", i, label, *c);
                    ++c;
                }
                seen += *c;
            }
            require(seen == shown(Fl_Input_File::Fl_Dir_User_Array[i]), "recent folder %d \"%s\" is labelled \"%s\"",
                    i, Fl_Input_File::Fl_Dir_User_Array[i], label);
        }
    }

    // While a button is held the list has not called back yet (the input
    // follows the highlight at the release): checked once it is released.
    void check(const char* when) const {
        if (!dialog()) return;
        WidgetFuzz::note("  input \"%s\"%s, lister \"%s\", %d lines, status \"%s\"", input()->value(),
                         hand_ ? " (hand)" : "", input()->dirPath(), dialog_->fileBrowser()->size(),
                         dialog_->statusLine()->label());
        static const bool lines = std::getenv("QV_FUZZ_LINES") != nullptr;
        for (int i = 1; lines && i <= dialog_->fileBrowser()->size(); ++i)
            WidgetFuzz::note("    %d%s %s", i, dialog_->fileBrowser()->selected(i) ? "*" : "",
                             dialog_->fileBrowser()->text(i));
        checkLines();
        if (!f_.heldButton()) checkAnswer(look(), when);
        checkRecent();
    }

    // Given answers to open name what exists; saving may name what is gone.
    void checkGiven(const std::string& text, const char* how) const {
        if ((mode & FL_FILE_DIALOG_SAVE) || hasWildcard(text)) return;
        require(answerExists(text), "%s answered \"%s\", which names nothing", how, text.c_str());
    }

    int mode = 0;           // of the dialog the run works on
    int oks = 0;            // answers given by Ok (or Enter, or a double click on a file)
    bool accepted = false;  // modal: the last answer
    Snapshot answer;        // modal: what the input held when Ok was pressed
    EndAction endAction = END_NONE;
    Fl_Widget* ok = nullptr;
    bool callerText = false;
    bool pressInText = false;  // the button went down in the input's text
    bool deleteLater = false;  // a deletion the toolkit runs at its next wait

private:
    WidgetFuzz& f_;
    bool modal_;
    Fl_File_Dialog* dialog_ = nullptr;
    std::unique_ptr<Fl_Widget_Tracker> alive_;
    Fl_Window* target_ = nullptr;
    std::string text_;
    bool hand_ = true;
    std::set<std::string> handTexts_;
};

// ---------------------------------------------------------------------------
// Menus and the event loop.

void wake(void*) {}

// A pulled-down menu (a choice, the input's right-button menu) runs its own
// event loop until a key or release that no synthetic event would bring: a
// timeout armed before each push or key drives it from the input instead.
void driveMenu(void*) {
    Run* r = current;
    if (!r || !Fl::grab()) return;
    WidgetFuzz& f = r->f();
    const int downs = f.pick(14);
    const bool pick = !f.chance(5);
    WidgetFuzz::note("menu: %d down, then %s", downs, pick ? "Enter" : "Escape");
    for (int i = 0; i < downs && Fl::grab(); ++i) qvtest::key(Fl::grab(), FL_Down);
    if (Fl::grab()) qvtest::key(Fl::grab(), pick ? FL_Enter : FL_Escape, 0, pick ? "\r" : "\033");
    if (Fl::grab()) qvtest::key(Fl::grab(), FL_Escape, 0, "\033");
    // The menu's loop waits for an event: a timeout ends its wait at once.
    Fl::add_timeout(0.001, wake);
}

bool isEnterKey() { return Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter; }

// Every event the steps send passes here: menus get their driver, and a
// change of the input's text is recorded as the user's hand or the dialog's.
int dispatch(int event, Fl_Window* w) {
    Run* r = current;
    if (!r || Fl::grab()) return Fl::handle_(event, w);
    Fl_Input_File* in = r->input();
    bool hand = false;
    if (in) {
        if (event == FL_KEYBOARD) {
            hand = Fl::focus() == in;
        } else if (event == FL_PUSH) {
            // The text below the path strip, under the left or middle button:
            // the cursor, a selection, a paste.
            const int b = Fl::event_button();
            hand = (b == 1 || b == 2) && Fl::event_inside(in) && Fl::event_y() >= in->y() + FL_INPUT_FILE_STRIP;
            r->pressInText = hand;
        } else if (event == FL_DRAG || event == FL_RELEASE) {
            // The input follows a press in its text wherever the pointer goes:
            // the middle button pastes at the release, off the input too.
            hand = r->pressInText;
            if (event == FL_RELEASE) r->pressInText = false;
        }
    }
    const bool arm = event == FL_PUSH || event == FL_KEYBOARD || event == FL_SHORTCUT;
    const bool enter = event == FL_KEYBOARD && isEnterKey();
    const int oks = r->oks;
    if (arm) Fl::add_timeout(0.0, driveMenu);
    const int handled = Fl::handle_(event, w);
    if (arm) Fl::remove_timeout(driveMenu);
    r->noteText(hand);
    if (hand) r->callerText = false;
    if (enter) require(r->oks > oks, "Enter left the dialog unanswered");
    return handled;
}

// ---------------------------------------------------------------------------
// Building.

void forgetRecentFolders() {
    Fl_Input_File::Fl_Dir_User_Index = FL_INPUT_FILE_FIRST_USER;
    for (int i = 0; i < FL_INPUT_FILE_USERS; ++i) {
        Fl_Input_File::Fl_Dir_User_Array[i][0] = '\0';
        Fl_Input_File::pulldown[FL_INPUT_FILE_FIRST_USER + i].label("");
        Fl_Input_File::pulldown[FL_INPUT_FILE_FIRST_USER + i].hide();
    }
}

std::string startPath(WidgetFuzz& f) {
    const int n = sizeof START_PATHS / sizeof START_PATHS[0];
    const int i = f.pick(n + 2);
    if (i == n) return fixture().deepPath;
    if (i == n + 1) return fixture().deepPath.substr(0, fixture().deepPath.size() - 250);
    const std::string p = START_PATHS[i];
    return p[0] == '~' || p[0] == '$' ? p : fixture().base + p;
}

void endCallback(Fl_Widget* w, void*) {
    Run* r = current;
    if (!r) return;
    Fl_File_Dialog* d = static_cast<Fl_File_Dialog*>(w);
    WidgetFuzz::note("end callback: action %d", int(r->endAction));
    switch (r->endAction) {
    case END_OK: r->ok->do_callback(); break;
    case END_DELETE: delete d; break;
    case END_DELETE_LATER:
        Fl::delete_widget(d);
        r->deleteLater = true;
        break;
    case END_HIDE: d->hide(); break;
    case END_HIDE_WINDOW: d->window()->hide(); break;
    default: break;
    }
}

// The program's own Ok, as the modal front end's: the dialog says whether
// the text may be handed back, then the caller reads it.
void okCallback(Fl_Widget*, void*) {
    Run* r = current;
    if (!r) return;  // the release of a held button once the input is done
    ++r->oks;
    WidgetFuzz::note("Ok");
    r->check("Ok");
    Fl_File_Dialog* d = r->dialog();
    if (d && !d->acceptAnswer(FL_DIR_PATH)) {
        const std::string status = d->statusLine()->label();
        WidgetFuzz::note("  refused: %s", status.c_str());
        require(status == fl_dir_messages[FL_DIR_NO_ENTRY_MATCH] || status == fl_dir_messages[FL_DIR_TOO_LONG],
                "a refused answer says \"%s\"", status.c_str());
        r->check("a refused Ok");
        return;
    }
    if (Fl_Input_File* in = r->input()) {  // the answer a caller reads
        r->checkGiven(in->value(), "Ok");
        char out[FL_DIR_PATH];
        const int folder = in->getFilename(out, sizeof out);
        const std::string text = in->value();
        if (hasWildcard(text) || text.size() >= sizeof out) {
            require(folder == 0 && !*out, "\"%s\" answered as \"%s\"", text.c_str(), out);
        } else {
            require(text == out && size_t(folder) == folderLength(text), "\"%s\" answered as \"%s\", folder %d",
                    text.c_str(), out, folder);
        }
    }
}

Fl_File_Dialog* buildDialog(Run& r, const std::string& start, int mode, int sort, int filter) {
    WidgetFuzz::note("dialog on \"%s\", mode %d, sort %d, filter %#x, end action %d", start.c_str(), mode, sort,
                     filter, int(r.endAction));
    Fl_File_Dialog* d = new Fl_File_Dialog(5, 5, nullptr, start.c_str(), mode, sort, filter);
    d->endCallback(endCallback, nullptr);
    r.mode = mode;
    return d;
}

// ---------------------------------------------------------------------------
// Steps.

int lineHeight(Fl_Multi_Browser* list) {
    fl_font(list->textfont(), list->textsize());
    return fl_height();
}

// The middle of line n as the list draws it now.
qvfuzz::Point linePoint(Fl_Multi_Browser* list, int n, int x) {
    const int h = lineHeight(list);
    return {list->x() + Fl::box_dx(list->box()) + x,
            list->y() + Fl::box_dy(list->box()) + (n - 1) * h - list->position() + h / 2};
}

std::string folderOf(Fl_Input_File* in) { return std::string(in->dirPath(), in->dirFolderLength()); }

// Up opens the parent of the folder the lister was in, as its names say.
void checkUp(Run& r, const std::string& before) {
    Fl_Input_File* in = r.input();
    if (!in || before.empty() || before[0] != '/') return;
    const std::string was = normalFolder(before);
    if (was == "/") return;
    const std::string now = normalFolder(folderOf(in));
    if (now == was) return;  // refused
    const size_t dots = ("/" + before).rfind("/../");
    if (dots != std::string::npos) {
        // Where a ".." leads only the system knows (after a link, not to the
        // name before it); the names after the last one are taken as named.
        const std::string through = before.substr(0, dots + 3), rest = before.substr(dots + 3);
        std::string expected;
        if (rest.empty()) {
            expected = through + "..";
        } else if (char* real = realpath(through.c_str(), nullptr)) {
            const std::string named = normalFolder(std::string(real) + "/" + rest);
            std::free(real);
            expected = named.size() > 1 ? named.substr(0, named.rfind('/', named.size() - 2) + 1) : named;
        }
        char* up = realpath(expected.c_str(), nullptr);
        char* opened = realpath(folderOf(in).c_str(), nullptr);
        const bool same = up && opened && std::strcmp(up, opened) == 0;
        std::free(up);
        std::free(opened);
        require(same, "Up from %s opened %s, not the parent of the folder shown", before.c_str(), folderOf(in).c_str());
        return;
    }
    const std::string parent = was.substr(0, was.rfind('/', was.size() - 2) + 1);
    require(now == parent, "Up from %s opened %s, not %s", before.c_str(), folderOf(in).c_str(), parent.c_str());
}

// A new gesture of the hand releases the button it held.
void releaseHeld(WidgetFuzz& f) {
    if (f.heldButton()) f.release(f.pointer());
}

void clickLine(Run& r) {
    releaseHeld(r.f());
    if (!r.dialog() || !r.target()->shown()) return;
    Fl_File_Dialog* d = r.dialog();
    Fl_Multi_Browser* list = d->fileBrowser();
    WidgetFuzz& f = r.f();
    if (list->size() == 0) return;
    const int h = lineHeight(list);
    const int top = list->position() / (h > 0 ? h : 1) + 1;
    const int line = top + f.pick(list->h() / (h > 0 ? h : 1) + 1);
    const qvfuzz::Point p = linePoint(list, line, 4 + f.pick(200));
    const int kind = f.pick(8);
    const bool parent = line <= list->size() && parseLine(list->text(line)).name == ".." &&
                        std::string(list->text(line)).rfind("@C35", 0) == 0;
    const std::string before = folderOf(d->input());
    static const int mods[] = {0, FL_CTRL, FL_SHIFT, FL_CTRL | FL_SHIFT};
    f.moveTo(p);
    if (kind < 4) {
        f.push(p, 1, mods[kind]);
        f.release(p);
        return;
    }
    const bool onList = Fl::belowmouse() == list;
    const int m = kind == 4 ? 0 : mods[kind - 4];
    WidgetFuzz::note("double click line %d at %d,%d mods %#x", line, p.x, p.y, m);
    qvtest::EventSpec s;
    s.x = p.x;
    s.y = p.y;
    s.button = 1;
    s.modifiers = m;
    Fl_Window* w = r.target();
    const int oks = r.oks;
    bool gone = false;
    for (int clicks = 0; clicks < 2 && !gone; ++clicks) {
        s.clicks = clicks;
        s.held = 1;
        qvtest::sendEvent(w, FL_PUSH, s);
        s.held = 0;
        qvtest::sendEvent(w, FL_RELEASE, s);
        gone = !w->shown() || !r.dialog();
    }
    // One gesture on the list, one answer: the list and the dialog's own
    // look at the release must not both act on it. (Two clicks on an Ok
    // button lying over the list of a window made small are two answers.)
    require(!onList || r.oks - oks <= 1, "a double click answered %d times", r.oks - oks);
    if (gone) return;
    // The line may lie under another widget in a window made small.
    if (parent && m == 0 && onList) checkUp(r, before);
}

// The user puts the cursor somewhere in the input and types: each character
// lands at the cursor, which moves past it, unless the lister rewrites the
// path it opened ("~", "$HOME", a bare name joined to the folder).
void typeStep(Run& r) {
    WidgetFuzz& f = r.f();
    releaseHeld(f);
    if (!r.dialog() || !r.target()->shown()) return;
    Fl_Input_File* in = r.input();
    const qvfuzz::Point p{in->x() + f.pick(in->w()), in->y() + FL_INPUT_FILE_STRIP + 2 + f.pick(in->h() - 16)};
    switch (f.pick(4)) {
    case 0:
        f.moveTo(p);
        f.push(p, 1);
        f.release(p);
        break;
    case 1:
        Fl::focus(in);
        WidgetFuzz::note("key End");
        qvtest::key(r.target(), FL_End);
        break;
    case 2:
        Fl::focus(in);
        WidgetFuzz::note("key Home");
        qvtest::key(r.target(), FL_Home);
        break;
    default:
        if (Fl::focus() != in) {
            f.moveTo(p);
            f.push(p, 1);
            f.release(p);
        }
        break;
    }
    if (!r.input() || Fl::focus() != in) return;
    const std::string text = f.chance(3) ? f.pickText(6) : FRAGMENTS[f.pick(N_FRAGMENTS)];
    if (text.empty()) return;
    for (size_t i = 0; i < text.size();) {
        size_t len = 1;
        while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xc0) == 0x80) ++len;
        const std::string one = text.substr(i, len);
        i += len;
        if (!r.input() || Fl::focus() != in || !r.target()->shown()) return;
        const std::string before = in->value();
        const int a = std::min(in->position(), in->mark()), b = std::max(in->position(), in->mark());
        const std::string expected = before.substr(0, a) + one + before.substr(b);
        f.typeText(one);
        if (!r.input()) return;
        const std::string now = in->value();
        if (now == expected) {
            require(in->position() == a + int(len) && in->mark() == in->position(),
                    "typing \"%s\" at %d of \"%s\" left the cursor at %d", one.c_str(), a, before.c_str(), in->position());
            continue;
        }
        const bool rewritten = now == in->dirPath() && (expected.find('~') != std::string::npos ||
                                                       expected.find('$') != std::string::npos ||
                                                       folderLength(expected) == 0);
        require(rewritten, "typing \"%s\" at %d of \"%s\" gave \"%s\"", one.c_str(), a, before.c_str(), now.c_str());
    }
    // A name typed in full that exists is listed, whatever the folder holds.
    const std::string now = in->value();
    const size_t folder = folderLength(now);
    const std::string name = now.substr(folder), dir = now.substr(0, folder);
    if (in->dirFilter() != 0 || name.empty() || name == "." || name == ".." || hasWildcard(now) ||
        now.find(',') != std::string::npos || dir != folderOf(in) || !inFixture(dir) || inChurn(dir))
        return;
    struct stat st;
    if (stat((dir + name).c_str(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))) return;
    Fl_Multi_Browser* list = r.dialog()->fileBrowser();
    bool listed = false;
    for (int i = 1; i <= list->size() && !listed; ++i) listed = parseLine(list->text(i)).name == shown(name);
    require(listed && in->dirStatus() != FL_DIR_NO_ENTRY_MATCH, "\"%s\", typed in full, is not listed (status %d)",
            now.c_str(), in->dirStatus());
}

void keyStep(Run& r) {
    WidgetFuzz& f = r.f();
    static const int keys[] = {FL_Page_Up, FL_Page_Down, FL_Home, FL_End, FL_Up, FL_Down, FL_Left, FL_Right,
                               FL_Tab,     FL_BackSpace, FL_Delete, ' ', FL_Enter, FL_KP_Enter, FL_Escape, 'a'};
    const int key = keys[f.pick(sizeof keys / sizeof keys[0])];
    const int mods = f.pickModifiers();
    if (f.chance(2)) Fl::focus(f.chance(2) ? static_cast<Fl_Widget*>(r.input()) : r.dialog()->fileBrowser());
    const char* text = key == FL_Tab ? "\t" : key == FL_BackSpace ? "\b" : key == FL_Delete ? "\177"
                       : key == ' ' ? " " : key == 'a' ? "a" : key == FL_Escape ? "\033"
                       : (key == FL_Enter || key == FL_KP_Enter) ? "\r" : "";
    WidgetFuzz::note("key %#x mods %#x to %s", key, mods, Fl::focus() == r.input() ? "the input" : "the focus");
    qvtest::key(r.target(), key, mods, text);
}

// The three choices through their menus.
void choiceStep(Run& r) {
    WidgetFuzz& f = r.f();
    releaseHeld(f);
    if (!r.dialog() || !r.target()->shown()) return;
    Fl_File_Dialog* d = r.dialog();
    Fl_Choice* choices[] = {d->sortChoice(), d->filterChoice(), d->patternChoice()};
    Fl_Choice* c = choices[f.pick(3)];
    const qvfuzz::Point p{c->x() + f.pick(c->w()), c->y() + f.pick(c->h())};
    f.moveTo(p);
    f.push(p, 1);
    if (r.target()->shown()) f.release(p);
}

// Menu shortcuts: sort, filter and pattern entries, recent folders.
void shortcutStep(Run& r) {
    WidgetFuzz& f = r.f();
    static const char keys[] = "adfhesp1234567890ch";
    const int i = f.pick(sizeof keys - 1);
    const int mods = i >= 17 ? FL_ALT : 0;
    const char text[2] = {keys[i], 0};
    if (f.chance(2)) Fl::focus(r.dialog()->fileBrowser());
    WidgetFuzz::note("shortcut %s%c", mods ? "Alt+" : "", keys[i]);
    qvtest::key(r.target(), keys[i], mods, text);
}

// The right button's menu on the input: Up, root, home, current, recent.
void pulldownStep(Run& r) {
    WidgetFuzz& f = r.f();
    releaseHeld(f);
    if (!r.dialog() || !r.target()->shown()) return;
    Fl_Input_File* in = r.input();
    Fl_Menu_Button* b = in->pulldownButton();
    b->value(static_cast<const Fl_Menu_Item*>(nullptr));
    const std::string before = folderOf(in);
    const qvfuzz::Point p{in->x() + f.pick(in->w()), in->y() + f.pick(in->h())};
    f.moveTo(p);
    f.push(p, 3);
    if (r.target()->shown()) f.release(p);
    if (r.input() && b->mvalue() == b->menu()) checkUp(r, before);
}

// A press on the path strip, a drag along it, a release.
void stripStep(Run& r) {
    WidgetFuzz& f = r.f();
    releaseHeld(f);
    if (!r.dialog() || !r.target()->shown()) return;
    Fl_Input_File* in = r.input();
    const qvfuzz::Point p{in->x() + f.pick(in->w()), in->y() + f.pick(FL_INPUT_FILE_STRIP)};
    f.moveTo(p);
    f.push(p, 1);
    for (int n = f.pick(3); n > 0 && r.target()->shown(); --n)
        f.moveTo({in->x() + f.pick(in->w() + 20) - 10, in->y() + f.pick(FL_INPUT_FILE_STRIP + 10) - 5});
    if (r.target()->shown()) f.release(f.pointer());
}

void wheelStep(Run& r) {
    WidgetFuzz& f = r.f();
    Fl_Multi_Browser* list = r.dialog()->fileBrowser();
    const qvfuzz::Point p{list->x() + f.pick(list->w()), list->y() + f.pick(list->h())};
    const int dy = f.pick(11) - 5;
    f.moveTo(p);
    WidgetFuzz::note("wheel %d at %d,%d", dy, p.x, p.y);
    qvtest::wheel(r.target(), p.x, p.y, dy);
}

std::string anyPath(WidgetFuzz& f) {
    if (f.chance(4)) {
        // A folder, then a long run of letters: past the lister's path when long enough.
        const int n = f.pick(2200);
        return fixture().base + (f.chance(2) ? "Zed/" : "lng/") + std::string(size_t(n), 'x') + (f.chance(2) ? "/" : "");
    }
    if (f.chance(3)) return fixture().deepPath + (f.chance(2) ? "end.txt" : "");
    return startPath(f);
}

// What the program around the dialog may do between two events.
void callerStep(Run& r) {
    WidgetFuzz& f = r.f();
    Fl_Input_File* in = r.input();
    switch (f.pick(9)) {
    case 7:
    case 8: {
        // The program removes or renames an entry of the churn folder.
        const std::string churn = fixture().base + "churn/";
        const std::string from = churn + CHURN_NAMES[f.pick(N_CHURN)];
        if (f.chance(2)) {
            WidgetFuzz::note("remove %s", from.c_str());
            std::error_code ignored;
            std::filesystem::remove_all(from, ignored);
        } else {
            const std::string to = churn + CHURN_NAMES[f.pick(N_CHURN)];
            WidgetFuzz::note("rename %s to %s", from.c_str(), to.c_str());
            (void)std::rename(from.c_str(), to.c_str());
        }
        break;
    }
    case 0: {
        const std::string p = anyPath(f);
        WidgetFuzz::note("caller value(\"%s\")", p.c_str());
        in->value(p.c_str());
        r.noteText(true);
        r.callerText = true;
        break;
    }
    case 1: {
        const std::string p = anyPath(f);
        WidgetFuzz::note("caller setFilename(\"%s\")", p.c_str());
        in->setFilename(p.c_str());
        r.noteText(true);
        break;
    }
    case 2:
        WidgetFuzz::note("caller fill()");
        r.dialog()->fill();
        break;
    case 3: {
        const std::string p = fixture().base + RECENT[f.pick(sizeof RECENT / sizeof RECENT[0])];
        WidgetFuzz::note("caller updateUserDir(\"%s\")", p.c_str());
        Fl_Input_File::updateUserDir(p.c_str());
        break;
    }
    case 4: {
        WidgetFuzz::note("caller cdUp()");
        const std::string before = folderOf(in);
        in->cdUp();
        r.noteText(false);
        checkUp(r, before);
        break;
    }
    case 5: {
        const int w = 1 + f.pick(700), h = 1 + f.pick(500);
        WidgetFuzz::note("dialog resized to %dx%d", w, h);
        r.dialog()->resize(r.dialog()->x(), r.dialog()->y(), w, h);
        r.target()->redraw();
        break;
    }
    default: {
        Fl::focus(in);
        static const char* const texts[] = {"sub/", "a.txt", "\n", "@sym/x", "~/Zed/", "lng/"};
        const char* t = texts[f.pick(6)];
        WidgetFuzz::note("paste \"%s\"", t);
        qvtest::EventSpec s;
        s.text = t;
        qvtest::sendEvent(in, FL_PASTE, s);  // as the toolkit hands a paste to the focus
        r.noteText(true);
        break;
    }
    }
}

Fl_Widget* findLabel(Fl_Group* g, const char* label) {
    for (int i = 0; i < g->children(); ++i) {
        Fl_Widget* c = g->child(i);
        if (c->label() && std::strcmp(c->label(), label) == 0) return c;
        if (Fl_Group* sub = c->as_group())
            if (Fl_Widget* found = findLabel(sub, label)) return found;
    }
    return nullptr;
}

void clickWidget(Run& r, Fl_Widget* w) {
    WidgetFuzz& f = r.f();
    releaseHeld(f);
    if (!r.dialog() || !r.target()->shown()) return;
    const qvfuzz::Point p{w->x() + f.pick(w->w()), w->y() + f.pick(w->h())};
    f.moveTo(p);
    f.push(p, 1, f.pickModifiers());
    if (r.target()->shown()) f.release(p);
}

// One step; false when the dialog is gone for good (the modal window closed).
void step(Run& r, Fl_Widget* cancel) {
    WidgetFuzz& f = r.f();
    Fl_File_Dialog* d = r.dialog();
    switch (f.pick(20)) {
    case 0:
    case 1:
    case 2: {
        Fl_Widget* near[] = {d->fileBrowser(), d->input(), d->sortChoice(), d->filterChoice(), d->patternChoice(),
                             d, nullptr};
        f.userEvent(near[f.pick(7)]);
        break;
    }
    case 3:
    case 4:
    case 5: clickLine(r); break;
    case 6:
    case 7:
    case 8: typeStep(r); break;
    case 9: keyStep(r); break;
    case 10: choiceStep(r); break;
    case 11: pulldownStep(r); break;
    case 12: stripStep(r); break;
    case 13: shortcutStep(r); break;
    case 14: wheelStep(r); break;
    case 15: callerStep(r); break;
    case 16: {  // Enter, the pointer resting on the dialog or elsewhere
        f.moveTo(f.pointNear(f.chance(3) ? nullptr : d));
        const int key = f.chance(4) ? FL_KP_Enter : FL_Enter;
        WidgetFuzz::note("Enter (%#x)", key);
        qvtest::key(r.target(), key, 0, "\r");
        break;
    }
    case 17: clickWidget(r, f.chance(2) ? r.ok : cancel); break;
    case 18:
        if (!r.modal() && f.chance(2)) {
            const int what = f.pick(3);
            WidgetFuzz::note("%s the dialog", what == 0 ? "delete" : what == 1 ? "hide" : "delete later");
            if (what == 0) delete d;
            else if (what == 1) d->hide();
            else Fl::delete_widget(d);
            Fl::check();
            break;
        }
        f.userEvent(nullptr);
        break;
    default:
        f.userEvent(d->fileBrowser());
        break;
    }
}

// ---------------------------------------------------------------------------
// The modal front end: its wait loop runs the steps from a timeout.

struct ModalRun {
    Run* run;
    Fl_Callback* okCb = nullptr;
    void* okData = nullptr;
    int polls = 0;
};

void modalOk(Fl_Widget* w, void* data) {
    ModalRun* m = static_cast<ModalRun*>(data);
    Run& r = *m->run;
    ++r.oks;
    const Snapshot asked = r.look();
    WidgetFuzz::note("Ok (modal)");
    r.check("Ok");
    Fl_Window* win = w->window();
    m->okCb(w, m->okData);
    if (win->shown()) {
        WidgetFuzz::note("  refused: %s", r.dialog()->statusLine()->label());
        r.check("a refused Ok");
        return;
    }
    r.accepted = true;
    r.answer = asked;
    r.checkGiven(asked.text, "the modal Ok");
}

void runModal(void* data) {
    ModalRun* m = static_cast<ModalRun*>(data);
    Run& r = *m->run;
    WidgetFuzz& f = r.f();
    Fl_Window* w = Fl::modal();
    if (!w || !w->shown()) {
        require(++m->polls < 200, "the modal dialog never showed");
        Fl::repeat_timeout(0.005, runModal, data);
        return;
    }
    w->wait_for_expose();
    Fl::flush();
    r.adopt(static_cast<Fl_File_Dialog*>(w->child(0)), w);
    Fl_Widget* ok = findLabel(w, "Ok");
    Fl_Widget* cancel = findLabel(w, "Cancel");
    require(ok && cancel, "no Ok or Cancel in the modal dialog");
    m->okCb = ok->callback();
    m->okData = ok->user_data();
    ok->callback(modalOk, m);
    r.ok = ok;
    f.routeTo(w);
    r.check("shown");
    while (w->shown() && f.next()) {
        step(r, cancel);
        if (w->shown()) r.check("a step");
    }
    if (w->shown()) {
        const int how = f.pick(5);
        WidgetFuzz::note("the dialog is closed by %s",
                         how == 0 ? "Cancel" : how == 1 ? "Ok" : how == 2 ? "Escape" : how == 3 ? "its close box" : "Enter");
        switch (how) {
        // The buttons may lie outside a window made small: pressed as by a click.
        case 0: cancel->do_callback(); break;
        case 1: ok->do_callback(); break;
        case 2: qvtest::key(w, FL_Escape, 0, "\033"); break;
        case 3: w->do_callback(); break;
        default: qvtest::key(w, FL_Enter, 0, "\r"); break;
        }
        if (w->shown() && (how == 1 || how == 4)) {
            WidgetFuzz::note("the answer refused, then Cancel");
            cancel->do_callback();
        }
        require(!w->shown(), "the dialog stays open after %d", how);
    }
    f.routeTo(nullptr);
    Fl::add_timeout(0.001, wake);
}

void runModalInput(WidgetFuzz& f, Run& r, const std::string& start, int mode, int sort, int filter) {
    f.show();
    // The caller's buffer: the whole path, or one too small for some answers.
    const int size = f.chance(3) ? 1 + int(start.size()) + f.pick(40) : FL_DIR_PATH;
    std::vector<char> path(size_t(std::max(size, int(FL_DIR_PATH))) + 1, '\0');
    std::snprintf(path.data(), path.size(), "%s", start.c_str());
    const std::string given = path.data();
    WidgetFuzz::note("modal dialog on \"%s\", mode %d, sort %d, filter %#x, buffer %d", given.c_str(), mode, sort,
                     filter, size);
    r.mode = mode;
    ModalRun m{&r};
    Fl::add_timeout(0.0, runModal, &m);
    const int result = fl_file_dialog("Choisir", path.data(), mode, sort, filter, false, size);
    Fl::remove_timeout(runModal, &m);
    const std::string got = path.data();
    if (!r.accepted) {
        require(result == 0 && got == given, "a refused dialog returned %d and \"%s\"", result, got.c_str());
        return;
    }
    const std::string& text = r.answer.text;
    if (hasWildcard(text)) {  // a pattern hands back no name
        require(result == 0 && got.empty(), "\"%s\" returned %d and \"%s\"", text.c_str(), result, got.c_str());
    } else {
        require(text.size() < size_t(size), "\"%s\" was taken for a buffer of %d", text.c_str(), size);
        require(got == text && size_t(result) == folderLength(text), "\"%s\" returned %d and \"%s\"", text.c_str(),
                result, got.c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fixture();
    layChurn();
    // Dragging selected text would start the toolkit's drag-and-drop loop,
    // which waits for a real button release.
    Fl::dnd_text_ops(0);
    forgetRecentFolders();
    WidgetFuzz f(data, size);
    f.onlyShownWindows(true);
    // A text selected in an earlier input would be pasted into this one.
    Fl::copy("", 0, 0);
    Fl::copy("", 0, 1);
    const bool modal = f.chance(4);
    const int mode = f.pick(4);
    const int sort = f.pick(10) - 1;
    const int filter = f.chance(3) ? f.pick(0x80) : 0;
    const std::string start = startPath(f);
    for (int n = f.pick(12); n > 0; --n)
        Fl_Input_File::updateUserDir((fixture().base + RECENT[f.pick(sizeof RECENT / sizeof RECENT[0])]).c_str());
    Run r(f, modal);
    current = &r;
    Fl::event_dispatch(dispatch);
    if (modal) {
        runModalInput(f, r, start, mode, sort, filter);
    } else {
        r.endAction = EndAction(f.pick(END_ACTIONS));
        r.adopt(buildDialog(r, start, mode, sort, filter), f.window());
        Fl_Return_Button* ok = new Fl_Return_Button(8, 311, 196, 25, "Ok");
        ok->callback(okCallback);
        r.ok = ok;
        Fl_Button* cancel = new Fl_Button(267, 311, 197, 25, "Cancel");
        new Fl_Input(470, 311, 120, 25);  // somewhere else for the focus
        f.show();
        r.check("shown");
        while (f.next()) {
            if (!f.window()->shown()) {
                WidgetFuzz::note("the window shown again");
                f.window()->show();
                f.window()->wait_for_expose();
            }
            if (!r.dialog()) {
                // Deleted by a step or a callback: the program makes another.
                f.window()->begin();
                r.adopt(buildDialog(r, startPath(f), f.pick(4), f.pick(10) - 1, 0), f.window());
                f.window()->end();
                f.window()->redraw();
            }
            if (!r.dialog()->visible() && f.chance(3)) {
                WidgetFuzz::note("the dialog shown again");
                r.dialog()->show();
            }
            step(r, cancel);
            if (r.deleteLater) {
                // The program's loop runs on: the deletion happens before
                // anything else touches the dialog.
                r.deleteLater = false;
                Fl::check();
            }
            r.check("a step");
        }
    }
    // A deletion the toolkit deferred runs before the window goes with
    // everything in it.
    Fl::check();
    Fl::event_dispatch(nullptr);
    current = nullptr;
    return 0;
}
