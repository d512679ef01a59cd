// fuzz-seconds: 60
// The file chooser (with its favourites window and its front end) and the
// font browser (and its front end) under a user's hand, on a small folder
// made afresh for each input: files and folders with mixed case, a newline,
// "&", "@", ":" and long names, a pipe, a dangling link, and paths longer
// than a chosen path may be. The modal front ends, and the toolkit's own
// dialogs that the widgets open (menus, alerts, the input dialog, the colour
// map), are driven from a timer that runs inside their loops. Files are
// removed and renamed between steps, as other programs do while a window
// shows them. Beside "no crash": a chooser's answer is a file that exists
// or a name typed by hand (or the beginning of a name of its folder that
// completion added to it, or a file since removed); a chosen one never holds
// more than 1,023 bytes, and exists when the chooser takes no new names; the
// font browser always has a style line selected, draws its sample in the
// family, the style and the size selected, and its front end returns the
// lines shown selected and the size the sample shows.
#include "widget_fuzz.h"

#include "widgets/Fl_File_Chooser2.h"
#include "widgets/fl_font_browser.h"

#include "display/Fl_Pix_Button2.h"

#include "support/WidgetEvents.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Input.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Tile.H>
#include <FL/Fl_Tooltip.H>
#include <FL/filename.H>

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using qvfuzz::require;
using qvfuzz::WidgetFuzz;

// ---- the folder -------------------------------------------------------------

struct World {
    std::string start;  // the working folder of the run, given back after each input
    std::string base;   // made once, removed at exit
    std::string root;   // made afresh for each input; the working folder and HOME meanwhile
    std::string deep;   // the deepest folder: a file's path there takes 1,023 bytes
    std::string just, tooLong;  // files of 1,023 and 1,024 bytes of path
    std::vector<std::string> names;    // what lies in root
    std::vector<std::string> folders;  // what a caller opens
    std::vector<std::string> files;    // what a caller presets
    std::vector<std::string> families; // the font browser's families
};
World world;

void writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0)
        qvfuzz::fail("cannot write %s", path.c_str());
}

std::string ppm(int w, int h) {
    return "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n" + std::string(size_t(w * h * 3), '@');
}

void removeTree(const std::string& path) {
    nftw(
        path.c_str(), [](const char* p, const struct stat*, int, FTW*) { return std::remove(p); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

// The same folder for every input: what an input creates (a new folder)
// never reaches the next one.
void makeFolder() {
    const std::string& r = world.root;
    removeTree(r);
    if (mkdir(r.c_str(), 0755) != 0) qvfuzz::fail("cannot make %s", r.c_str());
    const std::string files[][2] = {
        {"ABC.qv2", "partie\n"}, {"abd.txt", "ligne 1\n@bold\tfin\n"}, {"Zebra.qv2", "z"}, {"zeta.qv2", "z"},
        {"Zeta.qv2", "Z"}, {"notes.dat", std::string("abc\200def", 7)}, {"vide", ""}, {"image.ppm", ppm(8, 6)},
        {"large.ppm", ppm(300, 40)}, {"ligne\nnouvelle", "n"}, {"a&b@c.txt", "@@"}, {"c:x", "deux points"},
        {"\351t\351.txt", "\351t\351"}, {"espace dans le nom", " "}, {std::string(250, 'L') + ".txt", "long"},
        {"sub/dedans.txt", "d"}, {"sub/Dedans.TXT", "D"}, {"Sous Dossier/a", "a"}, {"x&y@z:/b", "b"}};
    mkdir((r + "/sub").c_str(), 0755);
    mkdir((r + "/Sous Dossier").c_str(), 0755);
    mkdir((r + "/x&y@z:").c_str(), 0755);
    for (const auto& f : files) writeFile(r + "/" + f[0], f[1]);
    mkfifo((r + "/tuyau").c_str(), 0644);
    symlink("nulle-part", (r + "/lien").c_str());
    symlink("ABC.qv2", (r + "/vers-abc").c_str());
    symlink("sub", (r + "/vers-sub").c_str());
    std::string d = r + "/profond";
    mkdir(d.c_str(), 0755);
    while (1023 - d.size() - 1 > 200) {
        d += "/" + std::string(150, 'd');
        mkdir(d.c_str(), 0755);
    }
    writeFile(world.just, "juste");
    writeFile(world.tooLong, "trop");
}

void setUpWorld() {
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) qvfuzz::fail("no working folder");
    world.start = cwd;
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qvfuzz-chooser-XXXXXX";
    if (!mkdtemp(&pattern[0])) qvfuzz::fail("cannot make %s", pattern.c_str());
    world.base = pattern;
    // Two levels below the folder made, so that "../" leaves the test's
    // folders only after three steps up.
    mkdir((world.base + "/a").c_str(), 0755);
    world.root = world.base + "/a/dossier";
    std::atexit([] { removeTree(world.base); });
    std::string d = world.root + "/profond";
    while (1023 - d.size() - 1 > 200) d += "/" + std::string(150, 'd');
    world.deep = d;
    const size_t n = 1023 - d.size() - 1;
    world.just = d + "/" + std::string(n, 'j');
    world.tooLong = d + "/" + std::string(n + 1, 'a');
    makeFolder();
    for (DIR* dir = opendir(world.root.c_str()); dir;) {
        const dirent* e = readdir(dir);
        if (!e) {
            closedir(dir);
            break;
        }
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) world.names.push_back(e->d_name);
    }
    std::sort(world.names.begin(), world.names.end());  // readdir's order is the file system's
    const std::string& r = world.root;
    world.folders = {r, r + "/sub", world.deep, "", ".", "/", "sub", r + "/sub/..", r + "/.", r + "/parti",
                     r + "/x&y@z:", r + "/Sous Dossier", r + "/vers-sub", r + "/ABC.qv2", r + "/sub/", "~"};
    world.files = {r + "/ABC.qv2", r + "/abc", world.just, world.tooLong, "relatif.txt", "sub/dedans.txt",
                   r + "/tuyau", r + "/lien", r + "/image.ppm", r + "/sub", r + "/ligne\nnouvelle",
                   world.deep + "/" + std::string(300, 'n'), "/", r + "/parti/x"};
}

// Once the display is open.
void listFamilies() {
    for (int i = 0, n = Fl::set_fonts(nullptr); i < n && world.families.size() < 12; ++i) {
        int attributes = 0;
        const char* name = Fl::get_font_name(Fl_Font(i), &attributes);
        if (name && !attributes) world.families.push_back(name);
    }
}

// ---- the input running --------------------------------------------------

struct Snapshot {  // what the font browser showed selected after the last step
    bool taken = false;
    std::string family, size, style;
    unsigned rgb = 0;
};

struct Run {
    WidgetFuzz* f = nullptr;
    std::vector<std::unique_ptr<Fl_Widget_Tracker>> driving;  // windows that running steps act on
    Fl_Window* routed = nullptr;       // where the harness sends events (null: its own window)
    std::unique_ptr<Fl_Widget_Tracker> routedAlive;
    bool frontEnd = false;             // the front end runs: only the user and timers act
    bool ending = false;               // the input is used up: the dialogs are closed
    int closing = 0;
    std::unique_ptr<Fl_Widget_Tracker> lastClosed;
    std::set<std::string> typed;       // the last parts of the names typed by hand
    std::set<std::string> gone;        // the last parts of the files removed or renamed meanwhile
    Fl_File_Chooser2* chooser = nullptr;  // the chooser the target built, while it lives
    Fl_Font_Browser* font = nullptr;      // the font browser the target built, while it lives
    bool programActed = false;  // the program hid the chooser or set its answer during the step
    int callbackDepth = 0;
    Snapshot shown;
};
Run* run = nullptr;

Fl_Callback* fileNameCallback = nullptr;  // the chooser's own, called by the recording one

Fl_File_Chooser2* liveChooser() { return run->chooser ? run->chooser : fileChooser2Partage(); }
Fl_Font_Browser* liveFont() { return run->font ? run->font : aff_form; }

bool ours(Fl_Window* w) {
    if (Fl_File_Chooser2* c = liveChooser())
        if (w == c->window || w == c->favWindow) return true;
    return w && w == liveFont();
}

// Where the user's hand acts: an open menu, the last modal window shown,
// else the widgets' own windows.
Fl_Window* topWindow() {
    if (Fl_Window* g = Fl::grab()) return g;
    if (Fl_Window* m = Fl::modal())
        if (m->shown()) return m;
    if (Fl_File_Chooser2* c = liveChooser()) {
        if (c->favWindow->shown()) return c->favWindow;
        if (c->window->shown()) return c->window;
    }
    Fl_Font_Browser* b = liveFont();
    return b && b->shown() ? b : nullptr;
}

// A window about to be deleted while the hand is on it.
void forget(Fl_Window* w) {
    if (w && run->routed == w) {
        run->f->forgetTarget();
        run->routed = nullptr;
        run->routedAlive.reset();
    }
}

void routeTo(Fl_Window* w) {
    Run& r = *run;
    if (r.routed && !r.routedAlive->exists()) forget(r.routed);  // deleted by the code under test
    if (r.routed == w) return;
    // The hand lets go first, where it is: the release may call back and
    // delete the window it is about to go to.
    Fl_Widget_Tracker alive(w);
    if (r.f->heldButton()) r.f->release(r.f->pointer());
    if (r.routed && !r.routedAlive->exists()) forget(r.routed);
    if (!alive.exists()) w = nullptr;
    r.f->routeTo(w);
    r.routed = w;
    r.routedAlive = std::make_unique<Fl_Widget_Tracker>(w);
}

void forgetChooser(Fl_File_Chooser2* c) {
    forget(c->window);
    forget(c->favWindow);
}

std::string shortened(const std::string& s) { return s.size() > 80 ? s.substr(0, 30) + "..." + s.substr(s.size() - 40) : s; }

std::string lastPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void recordTyped(const std::string& text) {
    run->typed.insert(lastPart(text));
    char expanded[4096];
    fl_filename_expand(expanded, sizeof expanded, text.c_str());
    run->typed.insert(lastPart(expanded));
}

// The chooser's input callback, with what the user typed noted first.
void recordingFileNameCallback(Fl_Widget* w, void* data) {
    recordTyped(static_cast<Fl_Input*>(w)->value());
    fileNameCallback(w, data);
}

void watch(Fl_File_Chooser2* c) {
    if (c->fileName->callback() == recordingFileNameCallback) return;
    fileNameCallback = c->fileName->callback();
    c->fileName->callback(recordingFileNameCallback);
}

bool beginsAName(const std::string& folder, const std::string& start) {
    DIR* d = opendir(folder.c_str());
    bool found = false;
    while (const dirent* e = d ? readdir(d) : nullptr)
        if (std::strncmp(e->d_name, start.c_str(), start.size()) == 0) found = true;
    if (d) closedir(d);
    return found;
}

// The path goes through (or ends with) a name removed or renamed meanwhile:
// a line read before, reported as the user clicked it.
bool throughGone(const std::string& path) {
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        if (run->gone.count(path.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

// A file that exists, a name typed by hand, one that completion lengthened
// with the beginning of a name of its folder, or one since removed.
bool namesSomething(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 || throughGone(path)) return true;
    const std::string last = lastPart(path);
    if (run->typed.count(last)) return true;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    for (const std::string& t : run->typed)
        if (last.compare(0, t.size(), t) == 0 && beginsAName(folder, last)) return true;
    return false;
}

// `mustExist`: chosen where no new name is taken.
void checkAnswer(const std::string& v, bool chosen, bool mustExist = false) {
    if (chosen) require(v.size() < 1024, "a chosen path of %zu bytes: %s", v.size(), shortened(v).c_str());
    if (mustExist) require(access(v.c_str(), F_OK) == 0, "the answer \"%s\" names no file", shortened(v).c_str());
    require(namesSomething(v), "the answer \"%s\" names no file and was not typed", shortened(v).c_str());
}

void checkAnswers(Fl_File_Chooser2* c, bool chosen) {
    const bool mustExist = chosen && !(c->type() & Fl_File_Chooser2::CREATE);
    if (c->type() & Fl_File_Chooser2::MULTI) {
        for (int i = 1; const char* v = c->value(i); ++i) checkAnswer(v, chosen, mustExist);
    } else if (const char* v = c->value()) {
        checkAnswer(v, chosen, mustExist);
    }
}

// Another program removes or renames a file of the folder shown (or of a
// folder below it), or removes an empty folder; often the one the chooser
// names, which the user is about to choose.
void changeFolder(Fl_File_Chooser2* c) {
    WidgetFuzz& f = *run->f;
    static const char* const below[] = {"sub/dedans.txt", "sub/Dedans.TXT", "Sous Dossier/a", "neuf"};
    const size_t n = world.names.size() + 4;
    const size_t i = size_t(f.pick(int(n)));
    std::string name = i < world.names.size() ? world.names[i] : below[i - world.names.size()];
    const std::string named = c->fileName->value();
    if (f.pick(2) && named.compare(0, world.root.size() + 1, world.root + "/") == 0)
        name = named.substr(world.root.size() + 1);
    while (!name.empty() && name.back() == '/') name.pop_back();
    const std::string path = world.root + "/" + name;
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
        WidgetFuzz::note("the folder \"%s\" is removed", name.c_str());
        if (rmdir(path.c_str()) == 0) run->gone.insert(lastPart(path));
        return;
    }
    if (f.pick(2)) {
        WidgetFuzz::note("\"%s\" is removed", shortened(name).c_str());
        if (std::remove(path.c_str()) == 0) run->gone.insert(lastPart(path));
    } else {
        const std::string to = path + (f.pick(2) ? "~" : ".old");
        WidgetFuzz::note("\"%s\" is renamed", shortened(name).c_str());
        if (std::rename(path.c_str(), to.c_str()) == 0) run->gone.insert(lastPart(path));
    }
}

// ---- what the hand types and presses --------------------------------------

std::string swapCase(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return s;
}

std::string pickName(WidgetFuzz& f) {
    const std::string& name = world.names[size_t(f.pick(int(world.names.size())))];
    switch (f.pick(8)) {
    case 0: return name;
    case 1: return name.substr(0, size_t(1 + f.pick(int(name.size()))));
    case 2: return swapCase(name.substr(0, size_t(1 + f.pick(int(name.size())))));
    case 3: {
        static const char* const paths[] = {"sub/", "../", "~/", "$HOME/", "/", ".", "..", "Sous Dossier/",
                                            "profond/", "c:", "a$b", "/nulle/part", "x&y@z:/", "vers-sub/"};
        return paths[f.pick(sizeof paths / sizeof paths[0])];
    }
    case 4: {
        static const std::string long_[] = {world.deep + "/", world.just, world.tooLong,
                                            world.deep.substr(world.root.size() + 1) + "/" + lastPart(world.tooLong)};
        return long_[f.pick(4)];
    }
    default: return f.pickText(8);
    }
}

// Each character a key press; a long text in pieces, as an input method
// hands them over.
void typeIn(const std::string& text) {
    WidgetFuzz& f = *run->f;
    if (text.size() <= 24) {
        f.typeText(text);
        return;
    }
    Fl_Window* target = run->routed ? run->routed : f.window();
    for (size_t i = 0; i < text.size() && target->shown(); i += 60) {
        const std::string piece = text.substr(i, 60);
        WidgetFuzz::note("type %zu bytes", piece.size());
        qvtest::key(target, static_cast<unsigned char>(piece[0]), 0, piece.c_str());
    }
}

// A click into an input (unless the hand is already there), then the text.
void typeInto(Fl_Widget* w, const std::string& text) {
    WidgetFuzz& f = *run->f;
    Fl_Widget_Tracker alive(w);
    if (f.heldButton()) f.release(f.pointer());  // the hand lets go before it clicks
    if (!alive.exists()) return;
    if (Fl::focus() != w || f.chance(3)) {
        const qvfuzz::Point p{w->x() + f.pick(w->w()), w->y() + f.pick(w->h())};
        f.moveTo(p);
        f.push(p, 1);
        f.release(p);
    }
    typeIn(text);
}

// The toolkit's own menus (libfltk 1.3) read past their state on a BackSpace
// or a Shift+Tab (the same move back) pressed while the pointer is off their
// items, a fault of the library that no caller can mend: neither reaches an
// open menu.
void sendKey(int key, int m) {
    WidgetFuzz& f = *run->f;
    const char text[2] = {key == FL_Tab ? '\t' : key == FL_Enter || key == FL_KP_Enter ? '\r'
                                             : key == FL_Escape ? '\033'
                                             : key == FL_BackSpace ? '\b'
                                             : key < 0x100 && !(m & (FL_ALT | FL_CTRL)) ? char(key) : '\0',
                          '\0'};
    if ((key == FL_BackSpace || (key == FL_Tab && (m & FL_SHIFT))) && Fl::grab()) {
        WidgetFuzz::note("(no BackSpace or Shift+Tab in an open menu)");
        return;
    }
    WidgetFuzz::note("key %#x mods %#x", key, m);
    Fl_Window* target = run->routed ? run->routed : f.window();
    if (target->shown()) qvtest::key(target, key, m, text);
}

void pressKey() {
    WidgetFuzz& f = *run->f;
    static const int keys[] = {FL_Tab, FL_Enter, FL_KP_Enter, FL_Page_Up, FL_Page_Down, FL_Home, FL_End, FL_Up,
                               FL_Down, FL_Left, FL_Right, FL_BackSpace, FL_Delete, FL_Escape, 'a', 'm', 'f', 'h',
                               '0', '1', 'p', 'z', 'u', 'x'};
    const int key = keys[f.pick(sizeof keys / sizeof keys[0])];
    static const int mods[] = {0, 0, FL_ALT, FL_SHIFT, FL_CTRL, FL_ALT | FL_SHIFT};
    const int m = key < 0x100 && f.pick(3) ? FL_ALT : mods[f.pick(6)];
    sendKey(key, m);
}

// ---- the toolkit's dialogs -------------------------------------------------

// A menu, an alert, the input dialog or the colour map: a click, a key or a name.
void popupStep() {
    WidgetFuzz& f = *run->f;
    switch (f.pick(6)) {
    case 0: {
        static const char* const answers[] = {"neuf", "sub", "ABC.qv2", "a/b", "Neuf", "*.txt", "*.QV2", "[",
                                              "x&y@z:", "/", "*"};
        const bool mine = f.pick(2);
        typeIn(mine ? std::string(answers[f.pick(sizeof answers / sizeof answers[0])]) : std::string(300, 'n'));
        break;
    }
    case 1: pressKey(); break;
    default:
        if (!Fl::grab()) {
            f.userEvent();
        } else if (f.pick(4) == 0) {  // the same bytes as userEvent's key, see sendKey
            const int key = f.pickKey();
            sendKey(key, f.pickModifiers());
        } else {
            f.mouseEvent();
        }
        break;
    }
}

// The input is used up: each dialog open is closed, as a user would, and at
// last hidden.
void closeTop(Fl_Window* top) {
    Run& r = *run;
    // A dialog hidden and shown again (the toolkit keeps its input dialog
    // for the next call) is open anew: a second press of a double click
    // asked again.
    if (r.lastClosed && r.lastClosed->widget() == top && (Fl::grab() == top || !top->shown())) {
        // Closed; its loop ends when it next looks.
        require(++r.closing < 100, "a dialog does not close (%s)", top->label() ? top->label() : "untitled");
        return;
    }
    r.lastClosed = std::make_unique<Fl_Widget_Tracker>(top);
    r.closing = 0;
    routeTo(top);
    WidgetFuzz::note("closing %s", top->label() ? top->label() : "a window");
    Fl_Widget_Tracker alive(top);
    qvtest::key(top, FL_Escape, 0, "\033");
    if (alive.exists() && top->shown() && !Fl::grab()) top->do_callback();
    if (alive.exists() && top->shown() && !Fl::grab()) top->hide();
}

void ownStep(Fl_Window* top);

// Back to the window of the step that a dialog's loop runs inside, while
// the dialog that ends its loop still exists: the rest of that step's
// gesture (a double click's second press) goes there, never to a menu
// window gone with its loop.
void backToStep() {
    Run& r = *run;
    if (r.driving.empty()) return;
    if (r.driving.back()->exists())
        routeTo(static_cast<Fl_Window*>(r.driving.back()->widget()));
    else
        forget(r.routed);
}

// One step on a window; false once the input is used up.
bool stepOn(Fl_Window* top) {
    Run& r = *run;
    WidgetFuzz& f = *r.f;
    r.driving.push_back(std::make_unique<Fl_Widget_Tracker>(top));
    bool more;
    if (ours(top)) {
        if (top->shown()) top->wait_for_expose();
        routeTo(top);
        more = f.next();
        if (more) ownStep(top);
    } else {
        routeTo(top);
        more = f.in().remaining_bytes() > 0;
        if (more) popupStep();
    }
    r.driving.pop_back();
    backToStep();
    return more;
}

// Every call of Fl::wait, nested ones included, counts one pass.
int passes = 0;
void countPass(void*) { ++passes; }
int pumpPass = -1;

// Runs inside every modal loop: the front ends' and those of the dialogs
// that a step opens. One step a pass on the window found there, so that the
// loop sees between two steps whether it is over; the timer is armed again
// before the step, for a loop that the step opens in turn.
void pump(void*) {
    Run& r = *run;
    // A timer armed in this pass would come due in it again.
    const double soon = 1e-5;
    Fl_Window* top = topWindow();
    if (!top) {
        // Nothing open yet (Fl::check while a dialog is built) or any more
        // (the loop that waited for it ends now).
        Fl::add_timeout(0.01, pump);
        return;
    }
    if (passes == pumpPass) {
        Fl::add_timeout(soon, pump);
        return;
    }
    for (const auto& d : r.driving)
        if (d->widget() == top) {
            // Fl::check within the step on that window: later, once the step is over.
            Fl::add_timeout(soon, pump);
            return;
        }
    pumpPass = passes;
    if (r.ending) {
        closeTop(top);
        backToStep();
        Fl::add_timeout(soon, pump);
        return;
    }
    Fl::add_timeout(0.0, pump);
    if (!stepOn(top)) r.ending = true;
    Fl::remove_timeout(pump);
    Fl::add_timeout(soon, pump);
}

// The input used up, the hand lets go of a button it still holds: the
// release may open a dialog (the colour map), which the pump closes.
void letGo() {
    Fl::add_timeout(0.0, pump);
    routeTo(nullptr);
    Fl::remove_timeout(pump);
}

// ---- the chooser ------------------------------------------------------------

const char* pickFolder(WidgetFuzz& f) {
    const std::string& d = world.folders[size_t(f.pick(int(world.folders.size())))];
    return d.c_str();
}

const char* pickPattern(WidgetFuzz& f) {
    static const char* const patterns[] = {"*",          nullptr,        "*.qv2\t*.txt", "R (*.qv2)\tTout (*)",
                                           "Bad (*.qv2", "a/b & c@d",    "*.{qv2,txt}",  "[a-z]*",
                                           "*.QV2",      "",             "*\t*.ppm",     "Texte (*.txt)"};
    return patterns[f.pick(sizeof patterns / sizeof patterns[0])];
}

const char* pickFile(WidgetFuzz& f) {
    const int i = f.pick(int(world.files.size()) + 2);
    if (i == int(world.files.size())) return nullptr;
    if (i > int(world.files.size())) return "";
    return world.files[size_t(i)].c_str();
}

std::string favouriteKey(int k) {
    char key[16];
    std::snprintf(key, sizeof key, "favorite%02d", k);
    return key;
}

void presetFavourites(WidgetFuzz& f) {
    for (int k = 0; k <= 100; ++k) {
        char buf[4];
        const std::string key = favouriteKey(k);
        Fl_File_Chooser2::prefs_.get(key.c_str(), buf, "", sizeof buf);
        if (buf[0]) Fl_File_Chooser2::prefs_.set(key.c_str(), "");
    }
    static const int counts[] = {0, 0, 1, 2, 3, 100};
    const int n = counts[f.pick(6)];
    for (int k = 0; k < n; ++k) {
        const char* d = k < 3 ? pickFolder(f) : "/";
        Fl_File_Chooser2::prefs_.set(favouriteKey(k).c_str(), *d ? d : "/");
    }
}

void chooserCallback(Fl_File_Chooser2* c, void*);

Fl_File_Chooser2* newChooser(WidgetFuzz& f) {
    const char* dir = pickFolder(f);
    const char* pattern = pickPattern(f);
    const int type = f.pick(8);
    const bool griser = f.chance(4), cacher = f.chance(4), called = f.pick(4);
    WidgetFuzz::note("chooser on \"%s\", pattern \"%s\", type %d, grey %d, hide %d, callback %d", dir,
                     pattern ? pattern : "(null)", type, griser, cacher, called);
    recordTyped(dir);  // the constructor presets it as a name
    Fl_File_Chooser2* c = new Fl_File_Chooser2(dir, pattern, type, f.chance(3) ? nullptr : "Choisir", griser, cacher);
    if (called) c->callback(chooserCallback);
    watch(c);
    return c;
}

// Reports are checked, then the callback does what a caller's may, deleting
// the chooser that raised it included.
void chooserCallback(Fl_File_Chooser2* c, void*) {
    checkAnswers(c, false);
    if (!run || run->callbackDepth > 2) return;
    WidgetFuzz& f = *run->f;
    ++run->callbackDepth;
    const int action = f.pick(14);
    // What the callback presets is the program's own answer, not the user's choice.
    if (action >= 1 && action <= 4) run->programActed = true;
    switch (action) {
    case 0:
        WidgetFuzz::note("the callback deletes the chooser");
        forgetChooser(c);
        run->chooser = nullptr;
        delete c;
        break;
    case 1:
        WidgetFuzz::note("the callback hides the chooser");
        run->programActed = true;
        c->hide();
        break;
    case 2: {
        const char* d = pickFolder(f);
        WidgetFuzz::note("the callback opens \"%s\"", d);
        c->directory(d);
        break;
    }
    case 3:
        WidgetFuzz::note("the callback rescans");
        c->rescan();
        break;
    case 4:
        if (const char* n = pickFile(f)) {
            WidgetFuzz::note("the callback presets \"%s\"", shortened(n).c_str());
            recordTyped(n);
            c->value(n);
        }
        break;
    default:
        break;
    }
    --run->callbackDepth;
}

// What the program does with its chooser between two gestures.
void callerCall(Fl_File_Chooser2* c, int what) {
    WidgetFuzz& f = *run->f;
    switch (what) {
    case 0: {
        const char* d = pickFolder(f);
        WidgetFuzz::note("directory(\"%s\")", d);
        c->directory(d);
        break;
    }
    case 1: {
        const char* n = pickFile(f);
        WidgetFuzz::note("value(\"%s\")", n ? shortened(n).c_str() : "(null)");
        if (n) recordTyped(n);
        c->value(n);
        break;
    }
    case 2: {
        const char* p = pickPattern(f);
        WidgetFuzz::note("filter(\"%s\")", p ? p : "(null)");
        c->filter(p);
        break;
    }
    case 3: {
        const int i = f.pick(6);
        WidgetFuzz::note("filter_value(%d)", i);
        c->filter_value(i);
        break;
    }
    case 4: {
        const int t = f.pick(8);
        WidgetFuzz::note("type(%d)", t);
        c->type(t);
        break;
    }
    case 5: {
        const int e = f.pick(2);
        WidgetFuzz::note("preview(%d)", e);
        c->preview(e);
        break;
    }
    case 6:
        WidgetFuzz::note("rescan()");
        c->rescan();
        break;
    case 7: {
        const int s = f.pick(40);
        WidgetFuzz::note("textsize(%d) iconsize", s);
        f.pick(2) ? c->textsize(s) : c->iconsize(uchar(s));
        break;
    }
    case 8: {
        const bool g = f.pick(2), h = f.pick(2);
        WidgetFuzz::note("griserChoix(%d) cacherChoix(%d)", g, h);
        c->griserChoix(g);
        c->cacherChoix(h);
        break;
    }
    case 9: {
        static int (*const sorts[])(dirent**, dirent**) = {fl_numericsort, fl_alphasort, fl_casealphasort,
                                                            fl_casenumericsort};
        const int s = f.pick(4);
        WidgetFuzz::note("sort %d", s);
        Fl_File_Chooser2::sort = sorts[s];
        c->rescan();
        break;
    }
    case 10: {
        static const char* const names[] = {"neuf", "sub", "ABC.qv2", "a/b", "", "/", "vers-sub"};
        const char* n = names[f.pick(sizeof names / sizeof names[0])];
        WidgetFuzz::note("newdir(\"%s\")", n);
        c->newdir(n);
        break;
    }
    case 11: {  // an entry of the favourites menu, as the user picks it
        const int n = c->favoritesButton->size() - 1;
        if (n > 0) {
            const int i = f.pick(n);
            const Fl_Menu_Item* item = &c->favoritesButton->menu()[i];
            WidgetFuzz::note("favourites entry %d", i);
            if (item->label() && item->active()) c->favoritesButton->picked(item);
        }
        break;
    }
    case 12:
        WidgetFuzz::note("update_preview()");
        c->update_preview();
        break;
    default:
        WidgetFuzz::note("value(i) and count()");
        checkAnswers(c, false);
        c->count();
        break;
    }
}
const int CALLER_CALLS = 14;

Fl_Widget* chooserWidget(WidgetFuzz& f, Fl_File_Chooser2* c) {
    Fl_Widget* const widgets[] = {c->fileList,  c->fileList,     c->fileName, c->fileName,
                                  c->showChoice, c->favoritesButton, c->newButton, c->previewButton,
                                  c->okButton,  c->cancelButton, c->tile,     c->previewBox, nullptr};
    return widgets[f.pick(sizeof widgets / sizeof widgets[0])];
}

// The program deletes the shared chooser while it is open (a timer that
// destroys the secondary windows).
void deleteSharedChooser() {
    if (Fl_File_Chooser2* c = fileChooser2Partage()) {
        WidgetFuzz::note("the program deletes the shared chooser");
        routeTo(nullptr);
        (void)c;
        detruireFileChooser2();
    }
}

void chooserStep(Fl_File_Chooser2* c) {
    Run& r = *run;
    WidgetFuzz& f = *r.f;
    watch(c);
    const bool shownBefore = c->window->shown();
    r.programActed = false;
    const int what = f.pick(16);
    if (!shownBefore) {  // a hidden chooser: only the program acts
        if (what < 4) {
            WidgetFuzz::note("show()");
            c->show();
            c->window->wait_for_expose();
        } else if (!r.frontEnd) {
            callerCall(c, f.pick(CALLER_CALLS));
        }
        return;
    }
    if (what < 8) {
        f.userEvent(chooserWidget(f, c));
    } else if (what < 10) {
        typeInto(c->fileName, pickName(f));
    } else if (what == 10) {
        pressKey();
    } else if (what < 14) {
        if (r.frontEnd)
            f.userEvent(chooserWidget(f, c));
        else
            callerCall(c, f.pick(CALLER_CALLS));
    } else if (what == 14) {
        if (f.pick(2)) {
            WidgetFuzz::note("the preview timer");
            WidgetFuzz::fireTimeout(Fl_File_Chooser2::cbApercu, c);
        } else {
            changeFolder(c);
        }
    } else if (f.chance(8)) {
        if (r.frontEnd) {
            deleteSharedChooser();
        } else {
            WidgetFuzz::note("the program deletes the chooser");
            // The hand lets go first: its release may call back, and the
            // callback delete the chooser itself.
            routeTo(nullptr);
            if (r.chooser == c) {
                r.chooser = nullptr;
                delete c;
            }
        }
        return;
    } else if (!r.frontEnd && f.pick(2)) {
        WidgetFuzz::note("hide()");
        r.programActed = true;
        c->hide();
    }
    if (liveChooser() != c) return;  // deleted by a callback
    // The timer comes due only when a step says so, whatever the clock.
    if (Fl::has_timeout(Fl_File_Chooser2::cbApercu, c)) {
        Fl::remove_timeout(Fl_File_Chooser2::cbApercu, c);
        Fl::add_timeout(1.0, Fl_File_Chooser2::cbApercu, c);
    }
    // Hidden by the user with a name in its input: a choice was made.
    checkAnswers(c, shownBefore && !c->window->shown() && !r.programActed && !r.frontEnd);
}

void favouritesStep(Fl_File_Chooser2* c) {
    WidgetFuzz& f = *run->f;
    const int what = f.pick(8);
    if (what < 6) {
        Fl_Widget* const widgets[] = {c->favList, c->favList, c->favUpButton, c->favDeleteButton, c->favDownButton,
                                      c->favOkButton, c->favCancelButton, nullptr};
        f.userEvent(widgets[f.pick(sizeof widgets / sizeof widgets[0])]);
    } else if (what == 6) {
        pressKey();
    } else if (run->frontEnd && f.chance(8)) {
        deleteSharedChooser();
    } else {
        f.keyEvent();
    }
}

// ---- the font browser -------------------------------------------------------

const char* const STYLES[] = {"Normal", "Bold", "Italic", "Bold Italic"};

std::string selected(Fl_Browser* b) { return b->value() > 0 ? b->text(b->value()) : std::string(); }

void checkFont(Fl_Font_Browser* b) {
    require(b->lst_Style->size() == 0 || b->lst_Style->value() > 0, "no style line selected among %d",
            b->lst_Style->size());
    if (b->lst_Style->value() > 0) {
        const std::string style = selected(b->lst_Style);
        int s = 0;
        while (s < 4 && style != STYLES[s]) ++s;
        require(s < 4, "a style line \"%s\"", style.c_str());
        require(b->pre_Box->GetFontStyle() == s, "\"%s\" selected, the sample drawn in style %d", style.c_str(),
                b->pre_Box->GetFontStyle());
        require(b->pre_Box->GetFontName() == b->GetFontNr(""), "the sample in font %d, the style selected is font %d",
                b->pre_Box->GetFontName(), b->GetFontNr(""));
    }
    if (b->lst_Size->value() > 0)
        require(atoi(selected(b->lst_Size).c_str()) == b->pre_Box->GetFontSize(), "size %s selected, the sample at %d",
                selected(b->lst_Size).c_str(), b->pre_Box->GetFontSize());
    const std::string family = selected(b->lst_Font);
    if (!family.empty() && b->lst_Size->size() > 0) {
        const char* face = Fl::get_font_name(Fl_Font(b->pre_Box->GetFontName()));
        const std::string f = face ? face : "";
        require(f == family || f == family + " bold" || f == family + " italic" || f == family + " bold italic",
                "\"%s\" selected, the sample drawn in \"%s\"", family.c_str(), f.c_str());
    }
}

void snapshot(Fl_Font_Browser* b) {
    Snapshot& s = run->shown;
    s.taken = true;
    s.family = selected(b->lst_Font);
    s.size = std::to_string(b->pre_Box->GetFontSize());
    s.style = b->lst_Style->value() > 0 ? selected(b->lst_Style) : "Normal";
    uchar red = 0, green = 0, blue = 0;
    Fl::get_color(b->btn_Color->color(), red, green, blue);
    s.rgb = unsigned(red) << 16 | unsigned(green) << 8 | blue;
}

std::string pickFamily(WidgetFuzz& f) {
    const std::string& name = world.families[size_t(f.pick(int(world.families.size())))];
    switch (f.pick(6)) {
    case 0: return swapCase(name);
    case 1: return name.substr(0, size_t(f.pick(int(name.size()) + 1)));
    case 2: return "pas une fonte";
    default: return name;
    }
}

std::string pickStyle(WidgetFuzz& f) {
    static const char* const styles[] = {"bold", "Bold", "italic", "bold italic", "rien", "", "BOLD", "Normal"};
    return styles[f.pick(sizeof styles / sizeof styles[0])];
}

std::string fontText(WidgetFuzz& f, Fl_Font_Browser* b, Fl_Widget* input) {
    if (input == b->txt_InputFont) return pickFamily(f);
    if (input == b->txt_InputSize) {
        static const char* const sizes[] = {"12", "0", "-3", "200", "abc", "73", "74", "1", "8", "9999999999"};
        return sizes[f.pick(sizeof sizes / sizeof sizes[0])];
    }
    return pickStyle(f);
}

void fontCallback(Fl_Widget* w, void*);

void forgetFont(Fl_Font_Browser* b) {
    forget(b);
    if (run->font == b) run->font = nullptr;
}

// Called by OK: the callback may hide or delete the window that raised it.
void fontCallback(Fl_Widget* w, void*) {
    Fl_Font_Browser* b = static_cast<Fl_Font_Browser*>(w);
    checkFont(b);
    WidgetFuzz& f = *run->f;
    switch (f.pick(8)) {
    case 0:
        WidgetFuzz::note("the font callback deletes its window");
        forgetFont(b);
        if (b == aff_form)
            detruire_fontbrowser_form();
        else
            delete b;
        break;
    case 1:
        WidgetFuzz::note("the font callback deletes its window later");
        forgetFont(b);
        Fl::delete_widget(b);
        break;
    case 2:
        WidgetFuzz::note("the font callback hides its window");
        b->hide();
        break;
    default:
        break;
    }
}

Fl_Widget* fontWidget(WidgetFuzz& f, Fl_Font_Browser* b) {
    Fl_Widget* const widgets[] = {b->lst_Font,   b->lst_Font,      b->lst_Style,   b->lst_Size,   b->txt_InputFont,
                                  b->txt_InputStyle, b->txt_InputSize, b->btn_Ok,  b->btn_Cancel, b->btn_Color,
                                  b->btn_Strikethrough, b->btn_Underline, b->pre_Box, nullptr};
    return widgets[f.pick(sizeof widgets / sizeof widgets[0])];
}

void fontStep(Fl_Font_Browser* b) {
    Run& r = *run;
    WidgetFuzz& f = *r.f;
    const int what = f.pick(16);
    Fl_Widget_Tracker alive(b);
    if (what < 8) {
        f.userEvent(fontWidget(f, b));
    } else if (what < 11) {
        Fl_Input* const inputs[] = {b->txt_InputFont, b->txt_InputStyle, b->txt_InputSize};
        Fl_Input* in = inputs[f.pick(3)];
        typeInto(in, fontText(f, b, in));
        if (alive.exists() && f.pick(3) && b->shown()) {
            WidgetFuzz::note("Enter");
            qvtest::key(b, FL_Enter, 0, "\r");
        }
    } else if (what == 11) {
        pressKey();
    } else if (what == 12) {
        WidgetFuzz::note("the program activates the check buttons");
        b->btn_Strikethrough->activate();
        b->btn_Underline->activate();
    } else if (what == 13) {
        const bool on = f.pick(3);
        WidgetFuzz::note("callback %d", on);
        b->callback(on ? fontCallback : nullptr, nullptr);
    } else if (what == 14 && f.chance(8)) {
        WidgetFuzz::note("the program deletes the font browser");
        routeTo(nullptr);  // the release may call back, and the callback delete it
        if (r.frontEnd) {
            // Hidden by the release (OK, or a callback that queued its
            // deletion), the window is the front end's to delete.
            if (alive.exists() && b->shown()) detruire_fontbrowser_form();
        } else if (r.font == b) {  // not yet deleted, nor queued for deletion
            r.font = nullptr;
            delete b;
        }
        return;
    } else {
        f.keyEvent();
    }
    if (alive.exists() && liveFont() == b) {
        // A list changes its selection at the press and calls back at the release.
        if (!f.heldButton()) checkFont(b);
        if (r.frontEnd) snapshot(b);
    }
}

void ownStep(Fl_Window* top) {
    if (Fl_File_Chooser2* c = liveChooser()) {
        if (top == c->window) return chooserStep(c);
        if (top == c->favWindow) return favouritesStep(c);
    }
    if (Fl_Font_Browser* b = liveFont())
        if (top == b) return fontStep(b);
}

// ---- the four ways in ---------------------------------------------------------

void chooserDirect(WidgetFuzz& f) {
    Run& r = *run;
    r.chooser = newChooser(f);
    r.chooser->show();
    r.chooser->window->wait_for_expose();
    for (;;) {
        if (!r.chooser) {  // deleted: the program builds another
            if (f.in().remaining_bytes() == 0) break;
            r.chooser = newChooser(f);
            r.chooser->show();
            r.chooser->window->wait_for_expose();
        }
        Fl_Window* top = topWindow();
        Fl::add_timeout(0.0, pump);  // for a dialog that the step opens
        const bool more = stepOn(top ? top : r.chooser->window);
        Fl::remove_timeout(pump);
        if (!more) break;
    }
    letGo();
    delete r.chooser;
    r.chooser = nullptr;
}

void frontCallback(const char* v) {
    checkAnswer(v, false);
    if (run->callbackDepth == 0 && run->f->chance(12)) {
        ++run->callbackDepth;
        WidgetFuzz::note("the front end's callback deletes the chooser");
        forgetChooser(fileChooser2Partage());
        detruireFileChooser2();
        --run->callbackDepth;
    }
}

void chooserFrontEnd(WidgetFuzz& f) {
    Run& r = *run;
    r.frontEnd = true;
    if (f.pick(2)) fl_file_chooser2_callback(frontCallback);
    for (int question = 0; question < 4 && !r.ending; ++question) {
        static const char* const messages[] = {"Sauver dans:", "Charger", nullptr};
        const char* message = messages[f.pick(3)];
        const char* pattern = pickPattern(f);
        const char* name = pickFile(f);
        const int relative = f.pick(2), preview = f.pick(2);
        WidgetFuzz::note("fl_file_chooser2(pattern \"%s\", name \"%s\", relative %d, preview %d)",
                         pattern ? pattern : "(null)", name ? shortened(name).c_str() : "(null)", relative, preview);
        if (name) recordTyped(name);
        Fl::add_timeout(0.0, pump);
        const char* answer = fl_file_chooser2(message, pattern, name, relative, preview);
        Fl::remove_timeout(pump);
        routeTo(nullptr);
        if (answer) {
            const std::string v = answer;
            WidgetFuzz::note("answer \"%s\"", shortened(v).c_str());
            require(!v.empty(), "an empty answer");
            checkAnswer(v[0] == '/' ? v : world.root + "/" + v, false);
            require(v.size() < 1024, "an answer of %zu bytes", v.size());
        }
        if (f.chance(4)) detruireFileChooser2();
    }
    routeTo(nullptr);
    detruireFileChooser2();
    fl_file_chooser2_callback(nullptr);
}

const char* pickColour(WidgetFuzz& f) {
    static const char* const colours[] = {"200,100,50", "", "300,-5,0", "a,b", "0,0,0", "255,255,255,9"};
    return colours[f.pick(sizeof colours / sizeof colours[0])];
}

Fl_Font_Browser* newFontBrowser(WidgetFuzz& f) {
    const std::string name = pickFamily(f);
    const int size = f.pick(90) - 5;
    const char* colour = pickColour(f);
    WidgetFuzz::note("font browser on \"%s\", %d, \"%s\"", name.c_str(), size, colour);
    Fl_Font_Browser* b = new Fl_Font_Browser(name, size, colour);
    if (f.pick(2)) b->callback(fontCallback, nullptr);
    return b;
}

void fontDirect(WidgetFuzz& f) {
    Run& r = *run;
    gs_chaine = pickStyle(f);
    r.font = newFontBrowser(f);
    r.font->show();
    r.font->wait_for_expose();
    for (;;) {
        if (!r.font) {
            if (f.in().remaining_bytes() == 0) break;
            r.font = newFontBrowser(f);
        }
        if (!r.font->shown()) {  // hidden by OK or Cancel: the program shows it again
            WidgetFuzz::note("show()");
            r.font->show();
            r.font->wait_for_expose();
        }
        Fl_Window* top = topWindow();
        Fl::add_timeout(0.0, pump);
        const bool more = stepOn(top ? top : r.font);
        Fl::remove_timeout(pump);
        if (!more) break;
    }
    letGo();
    delete r.font;
    r.font = nullptr;
}

void fontFrontEnd(WidgetFuzz& f) {
    Run& r = *run;
    r.frontEnd = true;
    for (int question = 0; question < 3 && !r.ending; ++question) {
        const std::string asked = pickFamily(f);
        std::string name = asked, colour = pickColour(f);
        const std::string colourAsked = colour;
        int size = f.pick(90) - 5;
        const int sizeAsked = size;
        const std::string style = pickStyle(f);
        WidgetFuzz::note("affFonteBrowser(\"%s\", %d, \"%s\", \"%s\")", name.c_str(), size, colour.c_str(),
                         style.c_str());
        r.shown = Snapshot();
        Fl::add_timeout(0.0, pump);
        const bool ok = affFonteBrowser(name, size, colour, style);
        Fl::remove_timeout(pump);
        routeTo(nullptr);
        require(aff_form == nullptr, "the front end left its window");
        if (!ok) {
            require(name == asked && size == sizeAsked && colour == colourAsked,
                    "cancelled, yet \"%s\" %d \"%s\" written back", name.c_str(), size, colour.c_str());
            continue;
        }
        const Snapshot& s = r.shown;
        require(s.taken, "OK before the window was shown");
        char rgb[32];
        std::snprintf(rgb, sizeof rgb, "%u,%u,%u|", s.rgb >> 16, s.rgb >> 8 & 255, s.rgb & 255);
        WidgetFuzz::note("answer \"%s\" %d \"%s\"", name.c_str(), size, colour.c_str());
        require(name == (s.family.empty() ? asked : s.family), "\"%s\" returned, \"%s\" selected", name.c_str(),
                s.family.c_str());
        require(std::to_string(size) == s.size, "size %d returned, the sample at %s", size, s.size.c_str());
        require(colour == rgb + s.style, "\"%s\" returned, \"%s%s\" shown", colour.c_str(), rgb, s.style.c_str());
    }
    detruire_fontbrowser_form();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setUpWorld();
    // Each input works in a folder of its own: crash reports go where the run started.
    static std::vector<char*> args(*argv, *argv + *argc);
    bool prefixed = false;
    for (const char* a : args) prefixed |= std::strncmp(a, "-artifact_prefix=", 17) == 0;
    static std::string prefix = "-artifact_prefix=" + world.start + "/";
    if (!prefixed && !args.empty()) args.insert(args.begin() + 1, &prefix[0]);
    *argc = int(args.size());
    args.push_back(nullptr);
    *argv = args.data();
    // The chooser's favourites menu offers the home folder, and "~" names it.
    setenv("HOME", world.root.c_str(), 1);
    // Tooltips come by the clock.
    Fl_Tooltip::disable();
    // Dragging selected text waits for the X server's own button release,
    // which no event sent here makes.
    Fl::dnd_text_ops(0);
    Fl::add_check(countPass);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    makeFolder();
    if (chdir(world.root.c_str()) != 0) qvfuzz::fail("cannot enter %s", world.root.c_str());
    {
        WidgetFuzz f(data, size);
        f.window()->end();
        f.onlyShownWindows(true);
        if (world.families.empty()) listFamilies();
        Run r;
        r.f = &f;
        run = &r;
        Fl_File_Chooser2::sort = fl_numericsort;
        fl_file_chooser2_callback(nullptr);
        gs_chaine.clear();
        presetFavourites(f);
        switch (f.pick(4)) {
        case 0: chooserDirect(f); break;
        case 1: chooserFrontEnd(f); break;
        case 2: fontDirect(f); break;
        default: fontFrontEnd(f); break;
        }
        Fl::remove_timeout(pump);
        routeTo(nullptr);
        run = nullptr;
    }
    if (chdir(world.start.c_str()) != 0) qvfuzz::fail("cannot go back to %s", world.start.c_str());
    return 0;
}
