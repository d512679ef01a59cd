#include "widgets/Fl_Input_File.h"

#include <FL/Fl_Menu_Button.H>
#include <FL/fl_draw.H>
#include <FL/fl_utf8.h>

#include <algorithm>
#include <cstring>
#include <string>

char Fl_Input_File::Fl_Dir_User_Array[FL_INPUT_FILE_USERS][FL_INPUT_FILE_USER_TEXT];
int Fl_Input_File::Fl_Dir_User_Index = FL_INPUT_FILE_FIRST_USER;

// Recent-folder entries stay hidden until a folder fills them.
Fl_Menu_Item Fl_Input_File::pulldown[] = {
    fl_menu_entry("Up directory"),
    fl_menu_entry("Root directory"),
    fl_menu_entry("Home directory"),
    fl_menu_entry("Current directory", 0, FL_MENU_DIVIDER),
    fl_menu_entry("", '1', FL_MENU_INVISIBLE),
    fl_menu_entry("", '2', FL_MENU_INVISIBLE),
    fl_menu_entry("", '3', FL_MENU_INVISIBLE),
    fl_menu_entry("", '4', FL_MENU_INVISIBLE),
    fl_menu_entry("", '5', FL_MENU_INVISIBLE),
    fl_menu_entry("", '6', FL_MENU_INVISIBLE),
    fl_menu_entry("", '7', FL_MENU_INVISIBLE),
    fl_menu_entry("", '8', FL_MENU_INVISIBLE),
    fl_menu_entry("", '9', FL_MENU_INVISIBLE),
    fl_menu_entry("", '0', FL_MENU_INVISIBLE),
    fl_menu_entry(nullptr),
};

namespace {

bool isSeparator(char c) { return fl_dir_is_separator(c); }

// The recent folders as the pull-down shows them.
std::string userLabels[FL_INPUT_FILE_USERS];

// A menu label that shows `path` as it is: the toolkit takes "&" for a
// shortcut mark and "@" for a symbol, unless doubled; a control character
// would break the line.
std::string menuLabelOf(const char* path) {
    std::string label;
    for (const char* c = path; *c; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        if (*c == '&' || *c == '@') label += *c;
        label += u < 0x20 || u == 0x7f ? '?' : *c;
    }
    return label;
}

// Length of the folder part: up to and including the last separator.
int folderLength(const char* text) {
    int folder = 0;
    for (int i = 0; text[i]; ++i)
        if (isSeparator(text[i])) folder = i + 1;
    return folder;
}

}  // namespace

Fl_Input_File::Fl_Input_File(int x, int y, int w, int h, const char* label, const char* path, int sort,
                             int filter)
    : Fl_Input(x, y, w, h, label), Fl_Dir(path, sort, filter) {
    dirCallback(listCb, this);
    dirErrorCallback(errorCb, this);
    // No box: the button opens on the right mouse button only and leaves the
    // others to the input below it.
    pulldown_ = new Fl_Menu_Button(x, y, w, h, "Quick Fix");
    pulldown_->box(FL_NO_BOX);
    pulldown_->menu(pulldown);
    pulldown_->callback(pulldownCb, this);
    pulldownAlive_ = new Fl_Widget_Tracker(pulldown_);
    if (path && *path) Fl_Input::value(path);
    setTextState(true);
    when(FL_WHEN_NEVER);
}

Fl_Input_File::~Fl_Input_File() {
    // The pull-down lives in the parent group, which may have deleted it.
    const bool alive = !pulldownAlive_->deleted();
    delete pulldownAlive_;
    if (alive) delete pulldown_;
}

void Fl_Input_File::setTextState(bool normal) {
    textState_ = normal;
    textcolor(normal ? FL_BLACK : FL_RED);
    redraw();
}

void Fl_Input_File::value(const char* text) {
    if (text && *text) Fl_Input::value(text);
}

bool Fl_Input_File::refreshValue(const char* text) {
    setTextState(true);
    // The same text is left as it stands: setting it again would move the
    // cursor away from where the user types.
    if (std::strcmp(text, value()) != 0) Fl_Input::value(text);
    return true;
}

void Fl_Input_File::listCb(Fl_Dir*, void* self) {
    Fl_Input_File* in = static_cast<Fl_Input_File*>(self);
    in->refreshValue(in->dirPath());
    in->do_callback();
    if (in->callback() != Fl_Widget::default_callback) in->clear_changed();
}

void Fl_Input_File::errorCb(Fl_Dir*, void* self) {
    Fl_Input_File* in = static_cast<Fl_Input_File*>(self);
    in->setTextState(false);
    if (in->hook_) in->hook_(in, in->hookData_);
}

void Fl_Input_File::pulldownCb(Fl_Widget* w, void* self) {
    Fl_Input_File* in = static_cast<Fl_Input_File*>(self);
    const Fl_Menu_Button* b = static_cast<Fl_Menu_Button*>(w);
    const Fl_Menu_Item* item = b->mvalue();
    if (!item) return;
    int result;
    switch (item - b->menu()) {
    case 0: result = in->cdUp(); break;
    case 1: result = in->cdRoot(); break;
    case 2: result = in->cdHome(); break;
    case 3: result = in->cdCurrent(); break;
    default: {
        // The label may be escaped for display: open the folder as recorded.
        const char* folder = Fl_Dir_User_Array[item - b->menu() - FL_INPUT_FILE_FIRST_USER];
        if (*folder) in->cd(folder, 0);
        return;
    }
    }
    in->setTextState(result != 0);
}

int Fl_Input_File::getFilename(char* out, int outSize) {
    if (!out || outSize <= 0) return 0;
    out[0] = '\0';
    const char* text = value();
    const size_t len = std::strlen(text);
    if (std::strpbrk(text, "*?[{") || len >= static_cast<size_t>(outSize)) return 0;
    std::memcpy(out, text, len + 1);
    const int folder = folderLength(text);
    if (folder) updateUserDir(text);
    return folder;
}

bool Fl_Input_File::setFilename(const char* path) {
    if (!path) return false;
    cd(path, 0);
    return true;
}

void Fl_Input_File::updateUserDir(const char* path) {
    const int folder = path ? folderLength(path) : 0;
    if (!folder) return;
    const int slot = Fl_Dir_User_Index - FL_INPUT_FILE_FIRST_USER;
    char* text = Fl_Dir_User_Array[slot];
    const int n = std::min(folder, FL_INPUT_FILE_USER_TEXT - 1);
    std::memcpy(text, path, static_cast<size_t>(n));
    text[n] = '\0';
    userLabels[slot] = menuLabelOf(text);
    pulldown[Fl_Dir_User_Index].label(userLabels[slot].c_str());
    pulldown[Fl_Dir_User_Index].show();
    Fl_Dir_User_Index = Fl_Dir_User_Index == FL_INPUT_FILE_FIRST_USER + FL_INPUT_FILE_USERS - 1
                            ? FL_INPUT_FILE_FIRST_USER
                            : Fl_Dir_User_Index + 1;
}

std::vector<int> Fl_Input_File::buttonEdges() {
    // One button per run of separators: it ends where the character after
    // the run is drawn.
    std::vector<int> edges;
    const char* text = value();
    fl_font(textfont(), textsize());
    const int scroll = textScroll();
    for (int i = 0; text[i];) {
        if (!isSeparator(text[i])) {
            ++i;
            continue;
        }
        while (isSeparator(text[i])) ++i;
        const int edge = static_cast<int>(fl_width(text, i)) - scroll + 6;
        edges.push_back(std::min(edge, w()));
    }
    return edges;
}

int Fl_Input_File::buttonAt(int ex) {
    if (Fl::event_y() < y() || Fl::event_y() >= y() + FL_INPUT_FILE_STRIP) return 0;
    const std::vector<int> edges = buttonEdges();
    int left = 0;
    for (size_t k = 0; k < edges.size(); ++k) {
        if (ex >= left && ex < edges[k]) return static_cast<int>(k) + 1;
        left = edges[k];
    }
    return 0;
}

void Fl_Input_File::stripTopBtn(int n) {
    const std::string text = value();
    const int mouse = Fl::event_x() - x();
    const std::vector<int> edges = buttonEdges();
    size_t cut = 0;
    int run = 0;
    for (size_t i = 0; i < text.size() && run < n;) {
        if (!isSeparator(text[i])) {
            ++i;
            continue;
        }
        while (i < text.size() && isSeparator(text[i])) ++i;
        cut = i;
        if (edges[static_cast<size_t>(run++)] > mouse) break;
    }
    if (!cut) return;
    const std::string folder = text.substr(0, cut);
    Fl_Input::value(folder.c_str());
    setTextState(cd(folder.c_str(), 0) != 0);
}

void Fl_Input_File::drawTopBtn() {
    const std::vector<int> edges = buttonEdges();
    int left = 0;
    int k = 1;
    for (int right : edges) {
        if (right > left)
            fl_draw_box(k == highlighted_ ? FL_DOWN_BOX : FL_UP_BOX, x() + left, y(), right - left,
                        FL_INPUT_FILE_STRIP, static_cast<Fl_Color>(47 + k));
        left = std::max(left, right);
        ++k;
    }
    if (w() > left)
        fl_draw_box(FL_UP_BOX, x() + left, y(), w() - left, FL_INPUT_FILE_STRIP,
                    static_cast<Fl_Color>(47 + k));
}

void Fl_Input_File::followText() {
    // An emptied text stays empty for the user to type a new path: opened,
    // it would be filled with the folder again.
    if (size() > 0) cd(value(), 0);
}

void Fl_Input_File::lowerInput(int by) {
    Fl_Widget::y(y() + by);
    Fl_Widget::h(h() - by);
}

bool Fl_Input_File::longText() const {
    // Control characters are laid out as two ("^X"), tabs as up to eight.
    int laidOut = 0;
    for (const char* c = value(); *c; ++c)
        laidOut += *c == '\t' ? 8 : static_cast<unsigned char>(*c) < 0x20 || *c == 0x7f ? 2 : 1;
    return laidOut > FL_INPUT_FILE_TOOLKIT_LINE;
}

// Pixels of the text left of the input's edge; the font must be set.
int Fl_Input_File::textScroll() {
    if (!longText()) return xscroll();
    firstInView_ = std::min(firstInView_, size());
    return static_cast<int>(fl_width(value(), firstInView_));
}

void Fl_Input_File::keepCursorInView(int width) {
    const char* text = value();
    const int cursor = position();
    firstInView_ = std::min(firstInView_, size());
    const int margin = std::min(20, width / 4);
    if (cursor < firstInView_) {
        // Moved left past the edge: the cursor a margin inside it.
        firstInView_ = cursor;
        while (firstInView_ > 0 && fl_width(text + firstInView_, cursor - firstInView_) < margin) --firstInView_;
    }
    while (firstInView_ < cursor && fl_width(text + firstInView_, cursor - firstInView_) > width - margin)
        firstInView_ += fl_utf8len1(text[firstInView_]);
}

// The place in a long text nearest to `ex` pixels from the text's left edge.
int Fl_Input_File::positionAt(int ex) {
    const char* text = value();
    int at = firstInView_;
    for (double left = 0; at < size();) {
        const int n = fl_utf8len1(text[at]);
        const double w = fl_width(text + at, n);
        if (left + w / 2 > ex) break;
        left += w;
        at += n;
    }
    return at;
}

void Fl_Input_File::drawLongText() {
    const Fl_Boxtype b = box();
    const int X = x() + Fl::box_dx(b) + 2, Y = y() + Fl::box_dy(b), W = w() - Fl::box_dw(b) - 4,
              H = h() - Fl::box_dh(b);
    draw_box(b, color());
    fl_push_clip(x() + Fl::box_dx(b), Y, w() - Fl::box_dw(b), H);
    fl_font(textfont(), textsize());
    keepCursorInView(W);
    const char* text = value() + firstInView_;
    int shown = 0;  // bytes drawn: up to the right edge
    while (firstInView_ + shown < size() && fl_width(text, shown) < W) shown += fl_utf8len1(text[shown]);
    shown = std::min(shown, size() - firstInView_);
    const int baseline = Y + (H - fl_height()) / 2 + fl_height() - fl_descent();
    const auto xOf = [&](int at) { return X + static_cast<int>(fl_width(text, std::max(0, at - firstInView_))); };
    const int from = std::min(position(), mark()), to = std::max(position(), mark());
    const Fl_Color ink = active_r() ? textcolor() : fl_inactive(textcolor());
    fl_color(ink);
    fl_draw(text, shown, X, baseline);
    if (from != to && to > firstInView_) {
        const int left = xOf(from), right = xOf(to);
        fl_push_clip(left, Y, right - left, H);
        fl_color(selection_color());
        fl_rectf(left, Y + 1, right - left, H - 2);
        fl_color(fl_contrast(ink, selection_color()));
        fl_draw(text, shown, X, baseline);
        fl_pop_clip();
    } else if (from == to && Fl::focus() == this && active_r()) {
        fl_color(cursor_color());
        const int cx = xOf(position());
        fl_rectf(cx, baseline - fl_height() + fl_descent(), 2, fl_height());
    }
    fl_pop_clip();
}

void Fl_Input_File::draw() {
    lowerInput(FL_INPUT_FILE_STRIP);
    if (longText()) drawLongText();
    else Fl_Input::draw();
    lowerInput(-FL_INPUT_FILE_STRIP);
    drawTopBtn();
}

int Fl_Input_File::handle(int event) {
    // The toolkit input sees the widget less the strip.
    lowerInput(FL_INPUT_FILE_STRIP);
    const int handled = Fl_Input::handle(event);
    lowerInput(-FL_INPUT_FILE_STRIP);
    // The toolkit places the cursor by the part of a long text it lays out.
    if ((event == FL_DRAG || (event == FL_PUSH && Fl::event_inside(this))) && Fl::event_button() == 1 &&
        !Fl::event_clicks() && longText() && Fl::focus() == this) {
        fl_font(textfont(), textsize());
        const int at = positionAt(Fl::event_x() - x() - Fl::box_dx(box()) - 2);
        position(at, event == FL_DRAG || Fl::event_state(FL_SHIFT) ? mark() : at);
    }
    switch (event) {
    case FL_PUSH:
        if (Fl::event_y() >= y() + FL_INPUT_FILE_STRIP || !Fl::event_inside(this)) return handled;
        pressed_ = true;
        redraw();
        /* fall through */
    case FL_DRAG:
        if (!pressed_) return handled;
        if (const int over = buttonAt(Fl::event_x() - x()); over != highlighted_) {
            highlighted_ = over;
            redraw();
        }
        return 1;
    case FL_RELEASE:
        if (!pressed_) return handled;
        pressed_ = false;
        if (highlighted_) {
            const int n = highlighted_;
            highlighted_ = 0;
            stripTopBtn(n);
            redraw();
        }
        return 1;
    case FL_KEYBOARD: {
        setTextState(true);
        const int key = Fl::event_key();
        if (key == FL_Tab) {
            // Room for the whole text and a name: a long text is refused by
            // the lister, never cut here.
            std::vector<char> completed(static_cast<size_t>(size()) + FL_DIR_NAME + 2);
            tabComplete(value(), completed.data(), static_cast<int>(completed.size()));
            Fl_Input::value(completed.data());
            cd(completed.data(), 0);
            return 1;
        }
        // Navigation, function and modifier keys leave the text as it is.
        if (key > 0xff12 && key <= 0xffea) return handled;
        followText();
        return handled;
    }
    case FL_PASTE:
        followText();
        return handled;
    default:
        return handled;
    }
}
