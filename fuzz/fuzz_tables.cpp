// fuzz-seconds: 60
// The table and the row table, the scroll groups and the tile under a user's
// hand and their callers' calls, with callbacks that change or delete the
// table that raised them: nothing crashes, a table asks its subclass to draw
// only cells, headers and callbacks it holds, and its selection and cursor
// are cells of the table (or none); a row table's selected rows follow its mode.
// After a key, a cursor that moved is in view and a view whose cursor did not
// move stays where it was (no group's own scrollbar takes a key); a page key
// scrolls one view at most, towards where it pages, unless the cursor was out
// of sight; a Shift-click selects from the clicked row to a row still in the
// table since it was clicked.
#include "widget_fuzz.h"

#include "widgets/Fl_MyScroll.h"
#include "widgets/Fl_MyTile.h"
#include "widgets/Fl_Table.h"
#include "widgets/Fl_Table_Row.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

using qv::Fl_Table;
using qv::Fl_Table_Row;
using qvfuzz::require;

qvfuzz::WidgetFuzz* fuzz = nullptr;  // the input running, for the callbacks

bool inRange(int i, int n) { return i >= 0 && i < n; }

// Callbacks that did something (changed or deleted a table): checks that
// compare before and after an event stand aside when one ran.
int callbackActions = 0;

// A span of `size` pixels at `pos` shows in the span of `extent` at `from`;
// an empty one where it lies within.
bool shows(int pos, int size, int from, int extent) {
    return size > 0 ? pos < from + extent && pos + size > from : pos >= from && pos <= from + extent;
}

double valueOf(Fl_Valuator* v) { return v->value(); }

// The cursor, the scroll offsets, whether the cursor's row shows (row 0
// when there is no cursor: keys move from there) and the view's height.
struct View {
    int row, col;
    double vscroll, hscroll;
    bool cursorShown;
    int height;
};

// What every table of the target offers the steps and the callback.
class Probe {
public:
    virtual ~Probe() = default;
    virtual Fl_Table& table() = 0;
    virtual void check() = 0;
    virtual void fireAutoDrag() = 0;
    virtual View view() = 0;
    // After a key that no acting callback answered.
    virtual void checkAfterKey(const View& before) = 0;
};

template <class Base>
class FuzzTable : public Base, public Probe {
public:
    using Context = Fl_Table::TableContext;
    Fl_Input* editor = nullptr;  // a cell widget that follows the cursor, as an entry table's

    FuzzTable(int X, int Y, int W, int H, bool withEditor) : Base(X, Y, W, H) {
        if (withEditor) editor = new Fl_Input(X, Y, 10, 10);
        Base::end();
    }

    Fl_Table& table() override { return *this; }
    void fireAutoDrag() override { qvfuzz::WidgetFuzz::fireTimeout(Base::_auto_drag_cb2, this); }

    View view() override {
        View v{this->Fl_Table::select_row, this->Fl_Table::select_col, valueOf(this->vscrollbar),
               valueOf(this->hscrollbar), false, this->tih};
        int X, Y, W, H;
        v.cursorShown = this->tih > 0 &&
                        this->find_cell(Fl_Table::CONTEXT_CELL, std::max(v.row, 0), std::max(v.col, 0), X, Y, W, H) == 0 &&
                        shows(Y, H, this->tiy, this->tih);
        return v;
    }
    void checkAfterKey(const View& before) override {
        const View now = view();
        // A cursor the user scrolled out of sight is brought back wherever it is.
        const int key = Fl::event_key();
        if ((key == FL_Page_Down || key == FL_Page_Up) && before.cursorShown) {
            const double moved = (key == FL_Page_Down ? 1 : -1) * (now.vscroll - before.vscroll);
            require(moved >= 0 && moved <= before.height, "Page %s scrolled the view from %g to %g, a view being %d high",
                    key == FL_Page_Down ? "Down" : "Up", before.vscroll, now.vscroll, before.height);
        }
        if (now.row == before.row && now.col == before.col) {
            require(now.vscroll == before.vscroll && now.hscroll == before.hscroll,
                    "a key left the cursor at %d,%d but scrolled the view from %g,%g to %g,%g", now.row, now.col,
                    before.vscroll, before.hscroll, now.vscroll, now.hscroll);
            return;
        }
        int X, Y, W, H;
        if (now.row < 0 || this->tiw <= 0 || this->tih <= 0 ||
            this->find_cell(Fl_Table::CONTEXT_CELL, now.row, now.col, X, Y, W, H) != 0)
            return;
        require(shows(X, W, this->tix, this->tiw) && shows(Y, H, this->tiy, this->tih),
                "a key moved the cursor to %d,%d, out of view: the cell at %d,%d %dx%d, the view at %d,%d %dx%d", now.row,
                now.col, X, Y, W, H, this->tix, this->tiy, this->tiw, this->tih);
    }

    using Base::rows;
    void rows(int n) override {
        Base::rows(n);
        fewestRows = std::min(fewestRows, this->rows());
        if (lastClicked >= this->rows()) lastClicked = -1;
    }

    int handle(int event) override {
        const bool button1 = event == FL_PUSH && Fl::event_button() == 1;
        const bool shiftClick = button1 && (Fl::event_state() & (FL_SHIFT | FL_CTRL)) == FL_SHIFT;
        const std::vector<char> before = shiftClick ? selectedRows(this) : std::vector<char>();
        const int actions = callbackActions;
        Fl_Widget_Tracker alive(this);
        const int ret = Base::handle(event);
        if (!alive.exists()) return ret;
        if (shiftClick && actions == callbackActions) checkShiftClick(this, before);
        int R, C;
        Fl_Table::ResizeFlag flag;
        if (button1 && this->cursor2rowcol(R, C, flag) == Fl_Table::CONTEXT_CELL) {
            lastClicked = R;
            clickedKnown = true;
            fewestRows = INT_MAX;
        }
        // A drag step moves the last row clicked, to a row this target does
        // not work out (the auto-scroll timer drags too).
        if (event == FL_DRAG) {
            clickedKnown = false;
            fewestRows = INT_MAX;
        }
        return ret;
    }

    static bool cellOrNone(const Fl_Table& t, int r, int c) {
        return (r == -1 && c == -1) || (inRange(r, t.rows()) && inRange(c, t.cols()));
    }
    void check() override {
        require(cellOrNone(*this, this->current_row, this->current_col),
                "the selection's anchor %d,%d is no cell of the %dx%d table", this->current_row,
                this->current_col, this->rows(), this->cols());
        require(cellOrNone(*this, this->Fl_Table::select_row, this->Fl_Table::select_col),
                "the cursor %d,%d is no cell of the %dx%d table", this->Fl_Table::select_row,
                this->Fl_Table::select_col, this->rows(), this->cols());
        require((this->current_row == -1) == (this->Fl_Table::select_row == -1),
                "a selection from %d,%d to %d,%d", this->current_row, this->current_col,
                this->Fl_Table::select_row, this->Fl_Table::select_col);
        checkRows(this);
    }

    void draw_cell(Context context, int R, int C, int X, int Y, int W, int H) override {
        switch (context) {
        case Fl_Table::CONTEXT_CELL:
            require(inRange(R, this->rows()) && inRange(C, this->cols()), "cell %d,%d drawn in a %dx%d table", R, C,
                    this->rows(), this->cols());
            fl_color(selectedCell(this, R, C) ? FL_SELECTION_COLOR : FL_WHITE);
            fl_rectf(X, Y, W, H);
            break;
        case Fl_Table::CONTEXT_ROW_HEADER:
            require(inRange(R, this->rows()), "header of row %d drawn, of %d rows", R, this->rows());
            fl_color(FL_GRAY);
            fl_rectf(X, Y, W, H);
            break;
        case Fl_Table::CONTEXT_COL_HEADER:
            require(inRange(C, this->cols()), "header of column %d drawn, of %d columns", C, this->cols());
            fl_color(FL_GRAY);
            fl_rectf(X, Y, W, H);
            break;
        case Fl_Table::CONTEXT_RC_RESIZE:
            placeEditor();
            break;
        default:
            break;
        }
    }

private:
    void placeEditor() {
        if (!editor) return;
        int X, Y, W, H;
        if (this->Fl_Table::select_row >= 0 &&
            this->find_cell(Fl_Table::CONTEXT_CELL, this->Fl_Table::select_row, this->Fl_Table::select_col, X, Y, W, H) == 0) {
            editor->resize(X, Y, W, H);
            editor->show();
        } else {
            editor->hide();
        }
    }
    // The last row clicked, as a row table keeps it for Shift-clicks, while
    // known: -1 when none or gone from the table. After a drag, only that it
    // lies below the fewest rows the table held since.
    int lastClicked = -1;
    bool clickedKnown = true;
    int fewestRows = INT_MAX;

    static std::vector<char> selectedRows(Fl_Table*) { return {}; }
    static std::vector<char> selectedRows(Fl_Table_Row* t) {
        std::vector<char> out(t->rows());
        for (int r = 0; r < t->rows(); ++r) out[r] = t->row_selected(r) == 1;
        return out;
    }
    void checkShiftClick(Fl_Table*, const std::vector<char>&) {}
    // The rows a Shift-click selects run from the clicked row to the last row
    // clicked, or are the clicked row alone when that one is gone.
    void checkShiftClick(Fl_Table_Row* t, const std::vector<char>& before) {
        int R, C;
        Fl_Table::ResizeFlag flag;
        if (t->cursor2rowcol(R, C, flag) != Fl_Table::CONTEXT_CELL) return;
        int low = R, high = R;
        for (int r = 0; r < t->rows(); ++r) {
            if (t->row_selected(r) != 1 || (r < (int)before.size() && before[r])) continue;
            low = std::min(low, r);
            high = std::max(high, r);
        }
        if (clickedKnown) {
            const int from = lastClicked >= 0 ? lastClicked : R;
            require(low >= std::min(from, R) && high <= std::max(from, R),
                    "a Shift-click on row %d selected rows %d to %d, the last row clicked being %d", R, low, high,
                    lastClicked);
            return;
        }
        require(low == R || high == R, "a Shift-click on row %d selected rows %d to %d, on both sides", R, low, high);
        const int far = low < R ? low : high;
        require(far == R || far < fewestRows,
                "a Shift-click on row %d selected up to row %d, gone since (%d rows left at the fewest)", R, far, fewestRows);
    }
    static bool selectedCell(Fl_Table* t, int R, int C) { return t->is_selected(R, C); }
    static bool selectedCell(Fl_Table_Row* t, int R, int) { return t->row_selected(R) == 1; }
    static void checkRows(Fl_Table*) {}
    static void checkRows(Fl_Table_Row* t) {
        int selected = 0;
        for (int r = 0; r < t->rows(); ++r) {
            const int flag = t->row_selected(r);
            require(flag == 0 || flag == 1, "row %d selected as %d", r, flag);
            selected += flag;
        }
        require(t->row_selected(t->rows()) == -1, "a row selected past the last row");
        if (t->type() == Fl_Table_Row::SELECT_SINGLE) require(selected <= 1, "%d rows selected in single mode", selected);
        if (t->type() == Fl_Table_Row::SELECT_NONE) require(selected == 0, "%d rows selected where none may be", selected);
    }
};

Probe* probeOf(Fl_Widget* w) {
    if (auto* t = dynamic_cast<FuzzTable<Fl_Table_Row>*>(w)) return t;
    return dynamic_cast<FuzzTable<Fl_Table>*>(w);
}

// A caller's own use of a table: counts, sizes, selection, scrolling.
void tableCall(qvfuzz::WidgetFuzz& f, Fl_Table& t, int what) {
    using qvfuzz::WidgetFuzz;
    const int rows = t.rows(), cols = t.cols();
    const char* name = dynamic_cast<Fl_Table_Row*>(&t) ? "row table" : "table";
    switch (what) {
    case 0: {
        const int n = f.pick(4) ? f.pick(40) : f.pick(2000);
        WidgetFuzz::note("%s rows(%d)", name, n);
        t.rows(n);
        break;
    }
    case 1: {
        const int n = f.pick(16);
        WidgetFuzz::note("%s cols(%d)", name, n);
        t.cols(n);
        break;
    }
    case 2: {
        const int r = f.pick(rows + 3) - 1, h = f.pick(120);
        WidgetFuzz::note("%s row_height(%d, %d)", name, r, h);
        t.row_height(r, h);
        break;
    }
    case 3: {
        const int c = f.pick(cols + 3) - 1, w = f.pick(300);
        WidgetFuzz::note("%s col_width(%d, %d)", name, c, w);
        t.col_width(c, w);
        break;
    }
    case 4: {
        const int h = f.pick(80);
        WidgetFuzz::note("%s row_height_all(%d)", name, h);
        t.row_height_all(h);
        break;
    }
    case 5:
        WidgetFuzz::note("%s clear()", name);
        t.clear();
        break;
    case 6:
        if (rows && cols) {
            const int top = f.pick(rows), left = f.pick(cols), bottom = f.pick(rows), right = f.pick(cols);
            WidgetFuzz::note("%s set_selection(%d, %d, %d, %d)", name, top, left, bottom, right);
            t.set_selection(top, left, bottom, right);
        }
        break;
    case 7: {
        static const int moves[] = {-1000000, -3, -1, 0, 1, 2, 1000000};
        const int dr = moves[f.pick(7)], dc = moves[f.pick(7)];
        WidgetFuzz::note("%s move_cursor(%d, %d)", name, dr, dc);
        t.move_cursor(dr, dc);
        break;
    }
    case 8:
    case 9: {
        const int i = f.pick((what == 8 ? rows : cols) + 3) - 1;
        WidgetFuzz::note("%s %s_position(%d)", name, what == 8 ? "row" : "col", i);
        what == 8 ? t.row_position(i) : t.col_position(i);
        break;
    }
    case 10:
    case 11: {
        const int on = f.pick(2);
        WidgetFuzz::note("%s %s_header(%d)", name, what == 10 ? "row" : "col", on);
        what == 10 ? t.row_header(on) : t.col_header(on);
        break;
    }
    case 12: {
        const int w = f.pick(120);
        WidgetFuzz::note("%s row_header_width(%d)", name, w);
        t.row_header_width(w);
        break;
    }
    case 13: {
        const int h = f.pick(60);
        WidgetFuzz::note("%s col_header_height(%d)", name, h);
        t.col_header_height(h);
        break;
    }
    case 14: {
        const int r = f.pick(2), c = f.pick(2);
        WidgetFuzz::note("%s row_resize(%d) col_resize(%d)", name, r, c);
        t.row_resize(r), t.col_resize(c);
        break;
    }
    case 15: {
        static const Fl_When whens[] = {FL_WHEN_RELEASE, FL_WHEN_CHANGED, FL_WHEN_NOT_CHANGED,
                                        Fl_When(FL_WHEN_CHANGED | FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED)};
        const Fl_When when = whens[f.pick(4)];
        WidgetFuzz::note("%s when(%d)", name, int(when));
        t.when(when);
        break;
    }
    case 16:
        if (auto* rt = dynamic_cast<Fl_Table_Row*>(&t)) {
            const int mode = f.pick(3);
            WidgetFuzz::note("%s type(%d)", name, mode);
            rt->type(Fl_Table_Row::TableRowSelectMode(mode));
        }
        break;
    case 17:
        if (auto* rt = dynamic_cast<Fl_Table_Row*>(&t)) {
            const int r = f.pick(rows + 2) - 1, flag = f.pick(3);
            WidgetFuzz::note("%s select_row(%d, %d)", name, r, flag);
            rt->select_row(r, flag);
        }
        break;
    case 18:
        if (auto* rt = dynamic_cast<Fl_Table_Row*>(&t)) {
            const int flag = f.pick(3);
            WidgetFuzz::note("%s select_all_rows(%d)", name, flag);
            rt->select_all_rows(flag);
        }
        break;
    case 19:
        WidgetFuzz::note("%s take_focus()", name);
        t.take_focus();
        break;
    case 20: {
        const bool hide = f.pick(2);
        WidgetFuzz::note("%s %s()", name, hide ? "hide" : "show");
        hide ? t.hide() : t.show();
        break;
    }
    default: {  // what a subclass asks while painting or placing its widgets
        int X, Y, W, H, R, C;
        Fl_Table::ResizeFlag flag;
        const int r = f.pick(rows + 2) - 1, c = f.pick(cols + 2) - 1;
        const int found = t.find_cell(Fl_Table::CONTEXT_CELL, r, c, X, Y, W, H);
        require(found == ((inRange(r, rows) && inRange(c, cols)) ? 0 : -1), "find_cell(%d, %d) gives %d in a %dx%d table", r, c,
                found, rows, cols);
        t.cursor2rowcol(R, C, flag);
        t.row_col_clamp(Fl_Table::CONTEXT_CELL, R, C);
        break;
    }
    }
}
const int TABLE_CALLS = 22;

int callbackDepth = 0;

// Reports are checked, then the callback does what a caller's may: change the
// table, move the focus, or delete the table.
void tableCallback(Fl_Widget* w, void*) {
    Fl_Table& t = *static_cast<Fl_Table*>(w);
    const int r = t.callback_row(), c = t.callback_col();
    switch (t.callback_context()) {
    case Fl_Table::CONTEXT_CELL:
        require((r == -1 && c == -1) || (inRange(r, t.rows()) && inRange(c, t.cols())),
                "a callback about cell %d,%d of a %dx%d table", r, c, t.rows(), t.cols());
        break;
    case Fl_Table::CONTEXT_ROW_HEADER:
        require(inRange(r, t.rows()), "a callback about the header of row %d of %d", r, t.rows());
        break;
    case Fl_Table::CONTEXT_COL_HEADER:
        require(inRange(c, t.cols()), "a callback about the header of column %d of %d", c, t.cols());
        break;
    default:
        break;
    }
    if (!fuzz || callbackDepth > 3) return;
    qvfuzz::WidgetFuzz::note("callback %d %d,%d", int(t.callback_context()), r, c);
    ++callbackDepth;
    qvfuzz::WidgetFuzz& f = *fuzz;
    const int action = f.pick(48);
    if (action <= TABLE_CALLS + 1) ++callbackActions;
    Fl_Widget_Tracker alive(&t);
    if (action < TABLE_CALLS) {
        tableCall(f, t, action);  // whose own callbacks may delete the table
        if (alive.exists()) probeOf(&t)->check();
    } else if (action == TABLE_CALLS) {
        qvfuzz::WidgetFuzz::note("delete the table");
        delete &t;
    } else if (action == TABLE_CALLS + 1) {
        const int n = 1 + f.pick(30);
        qvfuzz::WidgetFuzz::note("rows(0) then rows(%d)", n);
        t.rows(0);  // emptied, then filled again
        t.rows(n);
    }
    --callbackDepth;
}

Fl_Box* pane(int X, int Y, int W, int H, Fl_Color c) {
    Fl_Box* b = new Fl_Box(FL_FLAT_BOX, X, Y, W, H, nullptr);
    b->color(c);
    return b;
}

// Content larger than its view, so that the panes really scroll.
void fillScroll(qvfuzz::WidgetFuzz& f, Fl_MyScroll* s) {
    const int n = 1 + f.pick(4);
    for (int i = 0; i < n; ++i) {
        const int X = s->x() + f.pick(200), Y = s->y() + f.pick(300), W = 10 + f.pick(300), H = 10 + f.pick(400);
        qvfuzz::WidgetFuzz::note("scroll pane %d,%d %dx%d", X, Y, W, H);
        pane(X, Y, W, H, Fl_Color(i + 1));
    }
    s->end();
}

struct Widgets {
    Fl_Widget* tables[2] = {};  // the table and the row table
    Fl_MultiScroll* multi = nullptr;
    Fl_MyScroll* scroll = nullptr;
    Fl_Scrollbar *vbar = nullptr, *hbar = nullptr;
    Fl_MyTile* tile = nullptr;
    Fl_Input* other = nullptr;  // somewhere else the focus can go
};

Fl_Widget* newTable(qvfuzz::WidgetFuzz& f, int which) {
    const int X = which ? 305 : 5;
    const bool editor = f.chance(3);
    Fl_Table* t;
    if (which)
        t = new FuzzTable<Fl_Table_Row>(X, 5, 290, 200, editor);
    else
        t = new FuzzTable<Fl_Table>(X, 5, 290, 200, editor);
    const int rows = f.pick(30), cols = f.pick(10), headers = f.pick(4), resizing = f.pick(4);
    const bool called = f.pick(4), changes = f.pick(2);
    qvfuzz::WidgetFuzz::note("%s %dx%d%s, headers %d, resizing %d, callback %d, changes %d",
                             which ? "row table" : "table", rows, cols, editor ? " with an input" : "", headers,
                             resizing, called, changes);
    t->rows(rows);
    t->cols(cols);
    t->row_header(headers & 1);
    t->col_header(headers & 2);
    t->row_resize(resizing & 1);
    t->col_resize(resizing & 2);
    if (called) t->callback(tableCallback);
    t->when(changes ? Fl_When(FL_WHEN_CHANGED | FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED) : FL_WHEN_RELEASE);
    return t;
}

void build(qvfuzz::WidgetFuzz& f, Widgets& w) {
    int which = f.pick(32);
    if (which == 0) which = 31;
    qvfuzz::WidgetFuzz::note("widgets %#x", which);
    for (int i = 0; i < 2; ++i)
        if (which & (1 << i)) w.tables[i] = newTable(f, i);
    if (which & 4) {
        w.multi = new Fl_MultiScroll(5, 210, 195, 205);
        for (int i = 0; i < 2; ++i) {
            Fl_MyScroll* s = new Fl_MyScroll(5 + 89 * i, 210, 89, 188, nullptr, &w.multi->vscrollbar,
                                             (i == 0 || f.pick(2)) ? &w.multi->hscrollbar : nullptr);
            if (f.pick(2)) s->box(FL_DOWN_BOX);
            fillScroll(f, s);
        }
        w.multi->end();
    }
    if (which & 8) {
        w.vbar = new Fl_Scrollbar(378, 210, 17, 188);
        w.hbar = new Fl_Scrollbar(205, 398, 173, 17);
        w.hbar->type(FL_HORIZONTAL);
        w.scroll = new Fl_MyScroll(205, 210, 173, 188, nullptr, w.vbar, f.pick(2) ? w.hbar : nullptr);
        if (f.pick(2)) w.scroll->box(FL_THIN_DOWN_BOX);
        fillScroll(f, w.scroll);
        w.vbar->callback(Fl_MyScroll::scrollbar_cb, w.scroll);
        w.hbar->callback(Fl_MyScroll::hscrollbar_cb, w.scroll);
    }
    if (which & 16) {
        w.tile = new Fl_MyTile(400, 210, 195, 205);
        const int bx = 400 + 20 + f.pick(155), by = 210 + 20 + f.pick(165);
        Fl_Box* panes[] = {pane(400, 210, bx - 400, by - 210, FL_RED), pane(bx, 210, 595 - bx, by - 210, FL_GREEN),
                           pane(400, by, bx - 400, 415 - by, FL_BLUE), pane(bx, by, 595 - bx, 415 - by, FL_YELLOW)};
        const int r = f.pick(6);
        qvfuzz::WidgetFuzz::note("tile split at %d,%d, resizable %d", bx, by, r);
        if (r < 4) w.tile->resizable(panes[r]);
        if (r == 4) w.tile->resizable(nullptr);
        w.tile->end();
    }
    w.other = new Fl_Input(5, 395, 60, 20);
}

void scrollCall(qvfuzz::WidgetFuzz& f, Widgets& w, int what) {
    using qvfuzz::WidgetFuzz;
    Fl_MyScroll* panes[3] = {w.scroll, nullptr, nullptr};
    if (w.multi)
        for (int i = 0, k = 1; i < w.multi->children() && k < 3; ++i)
            if (auto* s = dynamic_cast<Fl_MyScroll*>(w.multi->child(i))) panes[k++] = s;
    const int which = f.pick(3);
    Fl_MyScroll* s = panes[which];
    switch (what) {
    case 0:
    case 1:
        if (w.multi) {
            const int v = f.pick(500) - 50;
            WidgetFuzz::note("multi %sscrollchildren(%d)", what ? "h" : "", v);
            what ? w.multi->hscrollchildren(v) : w.multi->scrollchildren(v);
        }
        break;
    case 2:
        if (s) {
            const int X = f.pick(600) - 100, Y = f.pick(600) - 100;
            WidgetFuzz::note("scroll %d position(%d, %d)", which, X, Y);
            s->position(X, Y);
        }
        break;
    case 3: {  // as the user moving a slider
        Fl_Scrollbar* bars[] = {w.vbar, w.hbar, w.multi ? &w.multi->vscrollbar : nullptr,
                                w.multi ? &w.multi->hscrollbar : nullptr};
        const int i = f.pick(4), v = f.pick(600);
        if (Fl_Scrollbar* b = bars[i]) {
            WidgetFuzz::note("scrollbar %d to %d", i, v);
            b->value(b->clamp(b->minimum() + v));
            b->do_callback();
        }
        break;
    }
    case 4:  // content removed or added
        if (s && s->children() && f.pick(2)) {
            const int i = f.pick(s->children());
            WidgetFuzz::note("scroll %d loses child %d", which, i);
            delete s->child(i);
        } else if (s) {
            const int X = s->x() + f.pick(300) - 50, Y = s->y() + f.pick(300) - 50, W = f.pick(300), H = f.pick(300);
            WidgetFuzz::note("scroll %d gets %d,%d %dx%d", which, X, Y, W, H);
            s->begin();
            pane(X, Y, W, H, FL_CYAN);
            s->end();
            s->redraw();
        }
        break;
    case 5:
        if (s && s->children()) {
            const int i = f.pick(s->children()), W = f.pick(500), H = f.pick(500);
            WidgetFuzz::note("scroll %d child %d to %dx%d", which, i, W, H);
            Fl_Widget* c = s->child(i);
            c->resize(c->x(), c->y(), W, H);
            c->redraw();
        }
        break;
    case 6:
        if (w.tile && w.tile->children()) {  // a caller moves the borders of a pane
            const Fl_Widget* c = w.tile->child(f.pick(w.tile->children()));
            const int ox = c->x() + c->w(), oy = c->y() + c->h();
            const int nx = w.tile->x() + f.pick(300), ny = w.tile->y() + f.pick(300);
            WidgetFuzz::note("tile position(%d, %d, %d, %d)", ox, oy, nx, ny);
            w.tile->position(ox, oy, nx, ny);
        }
        break;
    default:
        if (w.tile) {
            WidgetFuzz::note("tile init_sizes()");
            w.tile->init_sizes();
        }
        break;
    }
}

void checkTile(Fl_MyTile* tile) {
    for (int i = 0; i < tile->children(); ++i)
        require(tile->child(i)->w() >= 0 && tile->child(i)->h() >= 0, "tile pane %d is %dx%d", i, tile->child(i)->w(),
                tile->child(i)->h());
}

// A key, then what it may change: the cursor of each table, and then the
// view only with it; the panes of the multi-scroll group not at all.
void keyStep(qvfuzz::WidgetFuzz& f, Widgets& w, const std::unique_ptr<Fl_Widget_Tracker> (&alive)[2]) {
    View before[2] = {};
    for (int i = 0; i < 2; ++i)
        if (w.tables[i] && alive[i]->exists()) before[i] = probeOf(w.tables[i])->view();
    auto bars = [&] {
        return w.multi ? std::make_pair(valueOf(&w.multi->vscrollbar), valueOf(&w.multi->hscrollbar)) : std::make_pair(0.0, 0.0);
    };
    const auto multiBefore = bars();
    const int actions = callbackActions;
    f.keyEvent();
    if (actions != callbackActions) return;
    for (int i = 0; i < 2; ++i)
        if (w.tables[i] && alive[i]->exists()) probeOf(w.tables[i])->checkAfterKey(before[i]);
    const auto multiAfter = bars();
    require(multiAfter == multiBefore, "a key scrolled the multi-scroll group from %g,%g to %g,%g", multiBefore.first,
            multiBefore.second, multiAfter.first, multiAfter.second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::WidgetFuzz f(data, size);
    fuzz = &f;
    Widgets w;
    build(f, w);
    f.show();
    std::unique_ptr<Fl_Widget_Tracker> alive[2];
    for (int i = 0; i < 2; ++i) alive[i] = std::make_unique<Fl_Widget_Tracker>(w.tables[i]);
    while (f.next()) {
        // A table that a callback deleted is built afresh.
        for (int i = 0; i < 2; ++i)
            if (w.tables[i] && !alive[i]->exists()) {
                f.window()->begin();
                w.tables[i] = newTable(f, i);
                f.window()->end();
                alive[i] = std::make_unique<Fl_Widget_Tracker>(w.tables[i]);
            }
        Fl_Widget* t = w.tables[f.pick(2)];
        const int what = f.pick(16);
        if (what < 8) {
            // As f.userEvent(), with the keys checked.
            if (f.pick(4) == 0)
                keyStep(f, w, alive);
            else
                f.mouseEvent(what < 6 ? t : nullptr);
        } else if (what < 11) {
            if (t) tableCall(f, static_cast<Fl_Table&>(*t), f.pick(TABLE_CALLS));
        } else if (what < 13) {
            scrollCall(f, w, f.pick(8));
        } else if (what == 13) {
            if (t) {
                qvfuzz::WidgetFuzz::note("auto-scroll timer");
                probeOf(t)->fireAutoDrag();
            }
        } else if (what == 14) {
            if (t && f.chance(8)) {
                qvfuzz::WidgetFuzz::note("the program deletes a table");
                Fl::delete_widget(t);
                Fl::check();
            }
        } else {
            qvfuzz::WidgetFuzz::note("the focus goes elsewhere");
            w.other->take_focus();
        }
        for (int i = 0; i < 2; ++i)
            if (w.tables[i] && alive[i]->exists()) probeOf(w.tables[i])->check();
        if (w.tile) checkTile(w.tile);
    }
    fuzz = nullptr;
    return 0;
}
