#include "widgets/Fl_File_Dialog.h"

#include "widgets/Fl_Input_File.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Multi_Browser.H>
#include <FL/Fl_Pixmap.H>
#include <FL/Fl_Return_Button.H>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <set>

Fl_Menu_Item Fl_File_Dialog::menuSort[] = {
    fl_menu_entry("Alpha", 'a'),
    fl_menu_entry("Alpha NoCase"),
    fl_menu_entry("Alpha Reverse"),
    fl_menu_entry("Numeric"),
    fl_menu_entry("Time"),
    fl_menu_entry("Size"),
    fl_menu_entry("None"),
    fl_menu_entry("Directories"),
    fl_menu_entry(nullptr),
};

Fl_Menu_Item Fl_File_Dialog::menuFilter[] = {
    fl_menu_entry("Directories", 'd', FL_MENU_TOGGLE),
    fl_menu_entry("Files", 'f', FL_MENU_TOGGLE),
    fl_menu_entry("Hidden (Dot Files)", 'h', FL_MENU_TOGGLE),
    fl_menu_entry("Executables", 'e', FL_MENU_TOGGLE),
    fl_menu_entry("Symbolic Link Files", 's', FL_MENU_TOGGLE | FL_MENU_DIVIDER),
    fl_menu_entry("Parent Directory", 'p', FL_MENU_TOGGLE),
    fl_menu_entry(nullptr),
};

Fl_Menu_Item Fl_File_Dialog::menuPattern[] = {
    fl_menu_entry("*", '1'),
    fl_menu_entry("*.*", '2'),
    fl_menu_entry("*.txt", '3'),
    fl_menu_entry("*.sgi", '4'),
    fl_menu_entry("*.bmp", '5'),
    fl_menu_entry("*.aiff", '6'),
    fl_menu_entry("*.wav", '7'),
    fl_menu_entry("*.html", '8'),
    fl_menu_entry("*.C*", FL_ALT + 'c'),
    fl_menu_entry("*.H*", FL_ALT + 'h', FL_MENU_DIVIDER),
    fl_menu_entry("*"),
    fl_menu_entry(nullptr),
};

namespace {

bool isEnter() { return Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter; }

// Enter answers the dialog: a multi list would otherwise take it and keep
// only its focused line. A release over the list's own scrollbar goes to the
// scrollbar, and the toolkit's list then calls nobody back although the press
// moved the highlight: after each release the owner is told.
class FileList : public Fl_Multi_Browser {
public:
    FileList(int x, int y, int w, int h) : Fl_Multi_Browser(x, y, w, h) {}
    void onRelease(void (*cb)(void*), void* data) { onRelease_ = cb; data_ = data; }
    int handle(int event) override {
        if (event == FL_KEYBOARD && isEnter()) return 0;
        // A double click counts on a line: on the frame or below the last
        // line it would open the folder highlighted before.
        if ((event == FL_PUSH || event == FL_RELEASE) && Fl::event_clicks() && !onLine()) Fl::event_clicks(0);
        Fl_Widget_Tracker alive(this);
        const int handled = Fl_Multi_Browser::handle(event);
        if (event == FL_RELEASE && alive.exists() && onRelease_) onRelease_(data_);
        return handled;
    }

private:
    bool onLine() {
        int X, Y, W, H;
        bbox(X, Y, W, H);
        return Fl::event_inside(X, Y, W, H) && find_item(Fl::event_y());
    }
    void (*onRelease_)(void*) = nullptr;
    void* data_ = nullptr;
};

const int kFilterBits[] = {FL_DIR_FOLDER, FL_DIR_FILE, FL_DIR_HIDDEN, FL_DIR_EXECUTABLE, FL_DIR_LINK, FL_DIR_PARENT};
const int kOwnPattern = 10;  // the pattern entry that shows the given path's pattern

bool isFileLine(int type) {
    return type == 0 || type == FL_DIR_FILE || type == FL_DIR_HIDDEN || type == FL_DIR_EXECUTABLE ||
           type == FL_DIR_LINK;
}

// The list line of an entry, in the browser's format codes; "@." ends the
// codes, so that a name beginning with "@" is shown as it stands.
std::string lineOf(const Fl_Dir_File& f) {
    // A control character would break or garble the line.
    std::string name = f.name;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    switch (f.type) {
    case FL_DIR_PARENT: return "@C35@b@." + name + "/";
    case FL_DIR_FOLDER: return "@C32@b@." + name + "/";
    case FL_DIR_LINK: return "@C98@." + name + " ";
    case FL_DIR_HIDDEN_FOLDER: return "@C97@b@." + name + "/";
    case FL_DIR_HIDDEN: return "@C33@i@." + name;
    case FL_DIR_EXECUTABLE: return "@C34@." + name + "*";
    case FL_DIR_SYSTEM: return "";
    default: return "@C00@." + name;
    }
}

// 0 when `path` names an entry (a link followed), else why not.
int lookUp(const std::string& path) {
    struct stat st;
    if (path.empty()) return ENOENT;
    return stat(path.c_str(), &st) == 0 ? 0 : errno;
}

// 0 when `text` names an existing entry or, in a multi list, a folder
// followed by existing names parted by ","; else why not.
int lookUpAnswer(const std::string& text, bool multi) {
    const int whole = lookUp(text);
    const size_t folder = text.find_last_of("/\\") + 1;  // 0 without a separator
    if (whole == 0 || !multi || text.find(',', folder) == std::string::npos) return whole;
    const std::string names = text.substr(folder) + ",";
    for (size_t at = 0, comma; (comma = names.find(',', at)) != std::string::npos; at = comma + 1) {
        const std::string name = names.substr(at, comma - at);
        const int e = name.empty() ? ENOENT : lookUp(text.substr(0, folder) + name);
        if (e) return e;
    }
    return 0;
}

const char* modeText(int mode) {
    static const char* const texts[] = {"Please select File to Open", "Please select Files to Open",
                                        "Please select File to Save", "Please select Files to Save"};
    return texts[mode & 3];
}

static const char* onePicture[] = {
    "32 32 4 1",
    ". c None",
    "# c #202020",
    "  c #FFFFFF",
    "+ c #4060C0",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".......#################........",
    ".......#               #........",
    ".......#               #........",
    ".......#               #........",
    ".......#               #........",
    ".......#  +++++++++++  #........",
    ".......#               #........",
    ".......#               #........",
    ".......#  +++++++++++  #........",
    ".......#               #........",
    ".......#               #........",
    ".......#  +++++++++++  #........",
    ".......#               #........",
    ".......#               #........",
    ".......#  +++++++++++  #........",
    ".......#               #........",
    ".......#               #........",
    ".......#  +++++++++++  #........",
    ".......#               #........",
    ".......#               #........",
    ".......#               #........",
    ".......#################........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................"
};

static const char* manyPicture[] = {
    "32 32 4 1",
    ". c None",
    "# c #202020",
    "  c #FFFFFF",
    "+ c #4060C0",
    "................................",
    "................................",
    "...#################............",
    "...#               #............",
    "...#               #............",
    "...#               #............",
    "...#    #################.......",
    "...#  ++#               #.......",
    "...#    #               #.......",
    "...#    #               #.......",
    "...#  ++#    #################..",
    "...#    #  ++#               #..",
    "...#    #    #               #..",
    "...#  ++#    #               #..",
    "...#    #  ++#               #..",
    "...#    #    #  +++++++++++  #..",
    "...#  ++#    #               #..",
    "...#    #  ++#               #..",
    "...#    #    #  +++++++++++  #..",
    "...#  ++#    #               #..",
    "...#    #  ++#               #..",
    "...#    #    #  +++++++++++  #..",
    "...#    #    #               #..",
    "...######  ++#               #..",
    "........#    #  +++++++++++  #..",
    "........#    #               #..",
    "........#    #               #..",
    "........######  +++++++++++  #..",
    ".............#               #..",
    ".............#               #..",
    ".............#               #..",
    ".............#################.."
};

}  // namespace

Fl_File_Dialog::Fl_File_Dialog(int x, int y, const char* label, const char* path, int mode, int sort, int filter)
    : Fl_Group(x, y, 461, 299, label), mode_(mode) {
    box(FL_THIN_DOWN_FRAME);

    list_ = new FileList(x + 7, y + 35, 448, 196);
    if (!(mode & FL_FILE_DIALOG_MULTI)) list_->type(FL_HOLD_BROWSER);
    list_->textsize(12);
    list_->color(52);
    list_->callback(listCb, this);
    static_cast<FileList*>(list_)->onRelease(releaseCb, this);

    input_ = new Fl_Input_File(x + 6, y + 232, 449, 40, "", path, sort, filter);
    input_->color(52);
    input_->callback(inputCb, this);
    input_->errorHook(errorHook, this);

    sort_ = new Fl_Choice(x + 34, y + 6, 108, 25, "Sort");
    sort_->copy(menuSort);
    sort_->labelfont(FL_BOLD);
    sort_->labelsize(12);
    sort_->textsize(12);
    sort_->value(sort >= 0 && sort <= FL_DIR_SORT_FOLDERS ? sort : 0);
    sort_->callback(sortCb, this);

    filter_ = new Fl_Choice(x + 182, y + 6, 108, 25, "Filter");
    filter_->copy(menuFilter);
    filter_->labelfont(FL_BOLD);
    filter_->labelsize(12);
    filter_->textsize(12);
    filter_->when(FL_WHEN_RELEASE_ALWAYS);
    filter_->callback(filterCb, this);

    pattern_ = new Fl_Choice(x + 342, y + 5, 108, 25, "Pattern");
    pattern_->copy(menuPattern);
    pattern_->labelfont(FL_BOLD);
    pattern_->labelsize(12);
    pattern_->textsize(12);
    pattern_->when(FL_WHEN_RELEASE_ALWAYS);
    pattern_->callback(patternCb, this);
    // The menu is this widget's own copy; its label lives as long as the widget.
    patternLabel_ = input_->dirPath() + input_->dirFolderLength();
    if (!patternLabel_.empty()) {
        pattern_->replace(kOwnPattern, patternLabel_.c_str());
        pattern_->value(kOwnPattern);
    }

    status_ = new Fl_Box(x + 7, y + 274, 446, 20);
    status_->box(FL_THIN_DOWN_BOX);
    status_->color(48);
    status_->labelfont(FL_BOLD);
    status_->labelsize(12);
    end();
    resizable(list_);

    Fl_Menu_Item* filters = const_cast<Fl_Menu_Item*>(filter_->menu());
    for (int i = 0; filters[i].label(); ++i) filters[i].clear();
    filters[1].set();
    filter_->value(1);

    fill();
    status(modeText(mode));
}

int Fl_File_Dialog::handle(int event) {
    // A group takes an Enter that no child wants to move the focus; it would
    // never reach OK while the pointer rests on the dialog.
    if (event == FL_SHORTCUT && isEnter()) return 0;
    return Fl_Group::handle(event);
}

void Fl_File_Dialog::status(const char* text) {
    status_->label(text);
    status_->redraw();
}

void Fl_File_Dialog::fill() {
    // A refill of the folder listed (a new sort, a caller's refill) keeps
    // highlighted the files that the input names: the answer stays what the
    // user sees highlighted.
    const std::string folder(input_->dirPath(), input_->dirFolderLength());
    std::set<std::string> kept;
    if (!chosen_.empty() && chosen_ == input_->value() && folder == listed_)
        for (int i = 1; i <= list_->size(); ++i)
            if (list_->selected(i) && isFileLine(types_[i - 1])) kept.insert(names_[i - 1]);
    status("Please enter or select file");
    list_->clear();
    names_.clear();
    types_.clear();
    listed_ = folder;
    input_->fileListRewind();
    while (const Fl_Dir_File* f = input_->fileList()) {
        const std::string line = lineOf(*f);
        if (line.empty()) continue;
        list_->add(line.c_str());
        names_.push_back(f->name);
        types_.push_back(f->type);
        if (kept.count(f->name) && isFileLine(f->type)) list_->select(list_->size());
    }
    // Files the refill no longer lists leave the answer.
    if (!kept.empty() && !nameHighlighted(folder)) input_->value(input_->dirPath());
    followed_ = highlightKey();
}

bool Fl_File_Dialog::acceptAnswer(int pathSize) {
    const std::string text = input_->value();
    // A pattern hands back no name.
    if (text.find_first_of("*?[{") != std::string::npos) return true;
    int problem = text.size() >= static_cast<size_t>(pathSize) ? ENAMETOOLONG : 0;
    if (!problem && !(mode_ & FL_FILE_DIALOG_SAVE)) problem = lookUpAnswer(text, mode_ & FL_FILE_DIALOG_MULTI);
    if (!problem) return true;
    if (problem != ENAMETOOLONG) {
        // Lines of what is gone must not stay to be picked again. Unless the
        // files still highlighted are named instead, the input shows what the
        // lister holds: a typed name, a folder, "~" expanded.
        input_->dirReread(3);
        fill();
        if (text == input_->value()) input_->value(input_->dirPath());
    }
    // A folder on the way that may not be searched hides what it holds.
    status(fl_dir_messages[problem == ENAMETOOLONG ? FL_DIR_TOO_LONG
                           : problem == EACCES     ? FL_DIR_NO_FOLDER
                                                   : FL_DIR_NO_ENTRY_MATCH]);
    return false;
}

void Fl_File_Dialog::listCb(Fl_Widget*, void* self) { static_cast<Fl_File_Dialog*>(self)->select(); }

// The highlight as the input last followed it.
std::string Fl_File_Dialog::highlightKey() const {
    std::string key;
    for (int i = 1; i <= list_->size(); ++i)
        if (list_->selected(i)) key += std::to_string(i) + ",";
    return key;
}

void Fl_File_Dialog::releaseCb(void* self) {
    Fl_File_Dialog* d = static_cast<Fl_File_Dialog*>(self);
    if (d->highlightKey() != d->followed_) d->select();
}

void Fl_File_Dialog::inputCb(Fl_Widget*, void* self) { static_cast<Fl_File_Dialog*>(self)->fill(); }

void Fl_File_Dialog::errorHook(Fl_Dir* dir, void* self) {
    Fl_File_Dialog* d = static_cast<Fl_File_Dialog*>(self);
    const int s = dir->dirStatus();
    d->status(s == FL_DIR_NO_ENTRY_MATCH && (d->mode_ & FL_FILE_DIALOG_SAVE) ? "Entering a new file"
                                                                               : fl_dir_messages[s]);
}

void Fl_File_Dialog::sortCb(Fl_Widget* w, void* self) {
    Fl_File_Dialog* d = static_cast<Fl_File_Dialog*>(self);
    d->input_->dirSort(static_cast<Fl_Choice*>(w)->value());
    d->fill();
}

void Fl_File_Dialog::filterCb(Fl_Widget* w, void* self) {
    const int i = static_cast<Fl_Choice*>(w)->value();
    if (i >= 0 && i < static_cast<int>(sizeof kFilterBits / sizeof kFilterBits[0]))
        static_cast<Fl_File_Dialog*>(self)->input_->dirToggelFilter(kFilterBits[i]);
}

void Fl_File_Dialog::patternCb(Fl_Widget* w, void* self) {
    Fl_File_Dialog* d = static_cast<Fl_File_Dialog*>(self);
    const Fl_Menu_Item* item = static_cast<Fl_Choice*>(w)->mvalue();
    if (!item || !item->label()) return;
    const std::string path = std::string(d->input_->dirPath(), d->input_->dirFolderLength()) + item->label();
    d->input_->cd(path.c_str(), 0);
    d->input_->value(d->input_->dirPath());
}

void Fl_File_Dialog::showChosen(const std::string& text, const char* message) {
    input_->value(text.c_str());
    chosen_ = text;
    status(message);
}

// The highlighted files in list order, joined with ",", and their number.
int Fl_File_Dialog::highlighted(std::string& names) const {
    int files = 0;
    for (int i = 1; i <= list_->size(); ++i) {
        if (!list_->selected(i) || !isFileLine(types_[i - 1])) continue;
        names += (files++ ? "," : "") + names_[i - 1];
    }
    return files;
}

// Puts the highlighted files into the input; false when there is none.
bool Fl_File_Dialog::nameHighlighted(const std::string& folder) {
    std::string names;
    const int files = highlighted(names);
    if (files) showChosen(folder + names, files > 1 ? "Multi Files Selected..." : "Single File Selected...");
    return files != 0;
}

// The input names the files that are highlighted: a click that deselects
// (Ctrl+click in a multi list) or moves the highlight to a folder takes its
// file out of the answer.
void Fl_File_Dialog::select() {
    followed_ = highlightKey();
    const int lines = list_->size();
    const std::string folder(input_->dirPath(), input_->dirFolderLength());
    const bool twice = Fl::event_clicks() != 0;
    std::string names;
    const int files = highlighted(names);
    if (files > 1) {  // a multi list only
        showChosen(folder + names, "Multi Files Selected...");
        return;
    }

    const int line = list_->value();
    const bool clicked = line >= 1 && line <= lines && list_->selected(line);
    if (clicked && isFileLine(types_[line - 1])) {
        showChosen(folder + names_[line - 1], "Single File Selected...");
        if (twice && end_) end_(this, endData_);
        return;
    }
    if (!clicked || !twice) {
        if (files == 1) {
            showChosen(folder + names, "Single File Selected...");
        } else if (!chosen_.empty() && chosen_ == input_->value()) {
            // No file left highlighted: back to what the lister holds.
            input_->value(input_->dirPath());
            status("Please enter or select file");
        }
        return;
    }
    const std::string name = names_[line - 1];
    if (types_[line - 1] == FL_DIR_PARENT) {
        status("Changing to Parent Driectory...");
        input_->cdUp();
    } else {
        status("Changing to Directory...");
        input_->cd((folder + name + "/").c_str(), 0);
    }
    Fl_Input_File::updateUserDir(input_->dirPath());
}

namespace {

struct DialogAnswer {
    Fl_File_Dialog* dialog;
    int pathSize;
    int answer = 0;  // 1 accepted
};

// Records the answer in the window's user data and closes the window, which
// also wakes the wait loop.
void answer(Fl_Window* win, int value) {
    static_cast<DialogAnswer*>(win->user_data())->answer = value;
    win->hide();
}

}  // namespace

int fl_file_dialog(const char* title, char* path, int mode, int sort, int filter, bool, int pathSize) {
    static Fl_Pixmap one(onePicture), many(manyPicture);
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    Fl_Double_Window win(472, 343, title);
    Fl_File_Dialog dialog(5, 5, nullptr, path, mode, sort, filter);
    DialogAnswer state{&dialog, pathSize};
    win.user_data(&state);
    Fl_Box picture(208, 306, 56, 34);
    picture.image(mode & FL_FILE_DIALOG_MULTI ? &many : &one);
    Fl_Button cancel(267, 311, 197, 25, "Cancel");
    Fl_Return_Button ok(8, 311, 196, 25, "Ok");
    win.end();
    Fl_Group::current(saved);
    win.resizable(&dialog);
    win.set_modal();

    cancel.callback([](Fl_Widget* w, void*) { answer(w->window(), 0); });
    ok.callback([](Fl_Widget* w, void*) {
        const DialogAnswer* a = static_cast<DialogAnswer*>(w->window()->user_data());
        if (a->dialog->acceptAnswer(a->pathSize)) answer(w->window(), 1);
    });
    win.callback([](Fl_Widget* w, void*) { answer(w->as_window(), 0); });
    dialog.endCallback([](Fl_Widget*, void* okButton) { static_cast<Fl_Widget*>(okButton)->do_callback(); }, &ok);

    win.show();
    while (win.shown()) Fl::wait();
    return state.answer == 1 ? dialog.input()->getFilename(path, pathSize) : 0;
}
