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

#include <cstring>

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
// only its focused line.
class FileList : public Fl_Multi_Browser {
public:
    FileList(int x, int y, int w, int h) : Fl_Multi_Browser(x, y, w, h) {}
    int handle(int event) override {
        if (event == FL_KEYBOARD && isEnter()) return 0;
        return Fl_Multi_Browser::handle(event);
    }
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
    status("Please enter or select file");
    list_->clear();
    names_.clear();
    types_.clear();
    input_->fileListRewind();
    while (const Fl_Dir_File* f = input_->fileList()) {
        const std::string line = lineOf(*f);
        if (line.empty()) continue;
        list_->add(line.c_str());
        names_.push_back(f->name);
        types_.push_back(f->type);
    }
}

void Fl_File_Dialog::listCb(Fl_Widget*, void* self) { static_cast<Fl_File_Dialog*>(self)->select(); }

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

// The input names the files that are highlighted: a click that deselects
// (Ctrl+click in a multi list) or moves the highlight to a folder takes its
// file out of the answer.
void Fl_File_Dialog::select() {
    const int lines = list_->size();
    const std::string folder(input_->dirPath(), input_->dirFolderLength());
    const bool twice = Fl::event_clicks() != 0;
    std::string names;
    int files = 0;
    for (int i = 1; i <= lines; ++i) {
        if (!list_->selected(i) || !isFileLine(types_[i - 1])) continue;
        names += (files++ ? "," : "") + names_[i - 1];
    }
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
    DialogAnswer state;
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    Fl_Double_Window win(472, 343, title);
    win.user_data(&state);
    Fl_File_Dialog dialog(5, 5, nullptr, path, mode, sort, filter);
    Fl_Box picture(208, 306, 56, 34);
    picture.image(mode & FL_FILE_DIALOG_MULTI ? &many : &one);
    Fl_Button cancel(267, 311, 197, 25, "Cancel");
    Fl_Return_Button ok(8, 311, 196, 25, "Ok");
    win.end();
    Fl_Group::current(saved);
    win.resizable(&dialog);
    win.set_modal();

    cancel.callback([](Fl_Widget* w, void*) { answer(w->window(), 0); });
    ok.callback([](Fl_Widget* w, void*) { answer(w->window(), 1); });
    win.callback([](Fl_Widget* w, void*) { answer(w->as_window(), 0); });
    dialog.endCallback([](Fl_Widget*, void* okButton) { static_cast<Fl_Widget*>(okButton)->do_callback(); }, &ok);

    win.show();
    while (win.shown()) Fl::wait();
    return state.answer == 1 ? dialog.input()->getFilename(path, pathSize) : 0;
}
