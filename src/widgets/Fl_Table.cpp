#include "widgets/Fl_Table.h"

#include "widgets/Fl_MyScrollbar.h"

#include <FL/Fl.H>
#include <FL/Fl_Scroll.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {

namespace {

const int DEFAULT_ROW_HEIGHT = 25;
const int DEFAULT_COL_WIDTH = 80;
const int RESIZE_GRAB = 3;         // pixels each side of a header border
const int AUTO_DRAG_MARGIN = 20;   // a drag this close to an edge scrolls
const int AUTO_DRAG_STEP = 30;     // pixels scrolled per timer pass
const double AUTO_DRAG_DELAY = 0.3;
const double AUTO_DRAG_REPEAT = 0.05;
const int FAR_AWAY = 1000000;      // Home/End move by this many columns

int size_at(const std::vector<int>& sizes, int index) {
    return index >= 0 && index < (int)sizes.size() ? sizes[index] : 0;
}

// Grows to n entries of the last size (or `fallback` when empty), or cuts to n.
void fit_sizes(std::vector<int>& sizes, int n, int fallback) {
    sizes.resize(n, sizes.empty() ? fallback : sizes.back());
}

// Offset of `index` in the virtual table, summed from the cached first
// visible entry when that lies at or before it, else from 0. An empty table
// caches no offset.
int scroll_position(const std::vector<int>& sizes, int cached_index, int cached_offset,
                    int index) {
    int start = 0, pos = 0;
    if (cached_offset != -1 && index >= cached_index) {
        start = cached_index;
        pos = cached_offset;
    }
    for (int i = start; i < index; ++i) pos += size_at(sizes, i);
    return pos;
}

struct VisibleRange {
    int first, last, first_offset;
};

// The first entry whose far edge reaches `offset`, and the first one after it
// whose far edge reaches offset + extent; the last entry when none does.
VisibleRange visible_range(const std::vector<int>& sizes, int count, int offset, int extent) {
    if (count <= 0) return {-1, -1, -1};
    int pos = 0, first = 0;
    for (; first < count; ++first) {
        int s = size_at(sizes, first);
        if (pos + s >= offset) break;
        pos += s;
    }
    if (first >= count) {
        first = count - 1;
        pos -= size_at(sizes, first);
    }
    int end = pos, last = first;
    for (; last < count; ++last) {
        end += size_at(sizes, last);
        if (end >= offset + extent) break;
    }
    return {first, std::min(last, count - 1), pos};
}

double slider_value(Fl_Scrollbar* s) { return static_cast<Fl_Valuator*>(s)->value(); }
void slider_value(Fl_Scrollbar* s, double v) { static_cast<Fl_Valuator*>(s)->value(v); }

// Bounds and slider size; a push in the trough moves one view.
void set_scrollbar_range(Fl_Scrollbar* s, int virtual_size, int visible_size) {
    float tab = (virtual_size > 0 && visible_size <= virtual_size)
                    ? Fl_MyScrollbar::thumb_fraction(visible_size, virtual_size)
                    : 1.0f;
    s->bounds(0, virtual_size - visible_size);
    s->precision(10);
    s->slider_size(tab);
}

}  // namespace

Fl_Table::Fl_Table(int X, int Y, int W, int H, const char* l) : Fl_Group(X, Y, W, H, l) {
    _row_header_color = _col_header_color = color();
    box(FL_ENGRAVED_FRAME);

    // Both scrollbars are placed by table_resized() below. They take no key:
    // one the table leaves unused must not move the view off the cursor.
    vscrollbar = new Fl_MyScrollbar(X, Y, W, H);
    vscrollbar->type(FL_VERTICAL);
    vscrollbar->callback(scroll_cb, this);
    hscrollbar = new Fl_MyScrollbar(X, Y, W, H);
    hscrollbar->type(FL_HORIZONTAL);
    hscrollbar->callback(scroll_cb, this);
    // The table keeps the keyboard focus, so that the arrows move its cursor
    // instead of a scrollbar.
    vscrollbar->clear_visible_focus();
    hscrollbar->clear_visible_focus();

    table = new Fl_Scroll(X, Y, W, H);
    table->box(FL_ENGRAVED_FRAME);
    table->type(0);
    table->hide();
    table->end();

    table_resized();
    redraw();
    Fl_Group::end();
    // Widgets a subclass builds next become cell widgets, until end().
    table->begin();
}

Fl_Table::~Fl_Table() {
    Fl::remove_timeout(_auto_drag_cb2, this);
}

void Fl_Table::end() {
    table->end();
    if (table->children() > 2)
        table->show();
    else
        table->hide();
    Fl_Group::current(parent());
}

bool Fl_Table::has_own_callback() const {
    return callback() != Fl_Widget::default_callback;
}

bool Fl_Table::fire_callback(TableContext context, int R, int C) {
    _callback_context = context;
    _callback_row = R;
    _callback_col = C;
    Fl_Widget_Tracker alive(this);
    do_callback();
    return alive.exists();
}

// ---- counts and sizes ----

// Rows or columns taken away take the selection's ends that lay on them to
// the last that remain, or leave no selection when none remain.
void Fl_Table::fit_selection() {
    auto fit = [this](int& r, int& c) {  // no cell (-1, -1) stays none
        if (_rows == 0 || _cols == 0) {
            r = c = -1;
            return;
        }
        r = std::min(r, _rows - 1);
        c = std::min(c, _cols - 1);
    };
    fit(current_row, current_col);
    fit(select_row, select_col);
}

void Fl_Table::rows(int val) {
    val = std::max(val, 0);
    int oldrows = _rows;
    _rows = val;
    fit_selection();
    fit_sizes(_rowheights, val, DEFAULT_ROW_HEIGHT);
    toprow_scrollpos = -1;
    table_resized();
    // Rows added below the visible ones need no repaint.
    if (val < oldrows || botrow >= oldrows - 1) redraw();
}

void Fl_Table::cols(int val) {
    val = std::max(val, 0);
    _cols = val;
    fit_selection();
    fit_sizes(_colwidths, val, DEFAULT_COL_WIDTH);
    leftcol_scrollpos = -1;
    table_resized();
    redraw();
}

int Fl_Table::row_height(int row) const { return size_at(_rowheights, row); }
int Fl_Table::col_width(int col) const { return size_at(_colwidths, col); }

bool Fl_Table::store_size(std::vector<int>& sizes, int index, int size) {
    if (index < 0) return false;
    if (index < (int)sizes.size() && sizes[index] == size) return false;
    if (index >= (int)sizes.size()) sizes.resize(index + 1, size);
    sizes[index] = size;
    return true;
}

void Fl_Table::size_changed(bool visible, int R, int C) {
    table_resized();
    if (visible) redraw();
    if (has_own_callback() && (when() & FL_WHEN_CHANGED)) fire_callback(CONTEXT_RC_RESIZE, R, C);
}

void Fl_Table::row_height(int row, int height) {
    if (!store_size(_rowheights, row, height)) return;
    // The cached offset of the top row is stale when a row above it changed.
    toprow_scrollpos = -1;
    size_changed(row <= botrow, row, 0);
}

void Fl_Table::col_width(int col, int width) {
    if (!store_size(_colwidths, col, width)) return;
    leftcol_scrollpos = -1;
    size_changed(col <= rightcol, 0, col);
}

void Fl_Table::row_height_all(int height) {
    // Each change may call back, and the callback may delete the table.
    Fl_Widget_Tracker alive(this);
    for (int r = 0; alive.exists() && r < _rows; ++r) row_height(r, height);
}

void Fl_Table::clear() {
    rows(0);
    cols(0);
}

// ---- headers ----

void Fl_Table::row_header(int flag) {
    _row_header = flag ? 1 : 0;
    table_resized();
    redraw();
}

void Fl_Table::col_header(int flag) {
    _col_header = flag ? 1 : 0;
    table_resized();
    redraw();
}

void Fl_Table::row_header_width(int width) {
    _row_header_w = width;
    table_resized();
    redraw();
}

void Fl_Table::col_header_height(int height) {
    _col_header_h = height;
    table_resized();
    redraw();
}

// ---- geometry ----

int Fl_Table::row_scroll_position(int row) {
    return scroll_position(_rowheights, toprow, toprow_scrollpos, row);
}

int Fl_Table::col_scroll_position(int col) {
    return scroll_position(_colwidths, leftcol, leftcol_scrollpos, col);
}

void Fl_Table::recalc_dimensions() {
    wix = tox = x() + Fl::box_dx(box());
    wiy = toy = y() + Fl::box_dy(box());
    wiw = tow = w() - Fl::box_dw(box());
    wih = toh = h() - Fl::box_dh(box());
    tix = tox + Fl::box_dx(table->box());
    tiy = toy + Fl::box_dy(table->box());
    tiw = tow - Fl::box_dw(table->box());
    tih = toh - Fl::box_dh(table->box());
    if (col_header()) {
        tiy += _col_header_h;
        toy += _col_header_h;
        tih -= _col_header_h;
        toh -= _col_header_h;
    }
    if (row_header()) {
        tix += _row_header_w;
        tox += _row_header_w;
        tiw -= _row_header_w;
        tow -= _row_header_w;
    }

    bool hidev = table_h <= tih;
    bool hideh = table_w <= tiw;
    // A horizontal scrollbar takes height the rows may then need.
    if (!hideh && hidev) hidev = table_h + SCROLLBAR_SIZE <= tih;
    if (hidev) {
        vscrollbar->hide();
    } else {
        if (hideh) hideh = table_w + SCROLLBAR_SIZE <= tiw;
        vscrollbar->show();
        tiw -= SCROLLBAR_SIZE;
        tow -= SCROLLBAR_SIZE;
    }
    if (hideh) {
        hscrollbar->hide();
    } else {
        hscrollbar->show();
        tih -= SCROLLBAR_SIZE;
        toh -= SCROLLBAR_SIZE;
    }
    // An Fl_Scroll moves its children by its own offset and keeps no sizes
    // to reset.
    table->resize(tox, toy, tow, toh);
}

void Fl_Table::table_resized() {
    table_h = row_scroll_position(_rows);
    table_w = col_scroll_position(_cols);
    recalc_dimensions();

    set_scrollbar_range(vscrollbar, table_h, tih);
    vscrollbar->resize(wix + wiw - SCROLLBAR_SIZE, wiy, SCROLLBAR_SIZE,
                       wih - (hscrollbar->visible() ? SCROLLBAR_SIZE : 0));
    slider_value(vscrollbar, vscrollbar->clamp(slider_value(vscrollbar)));

    set_scrollbar_range(hscrollbar, table_w, tiw);
    hscrollbar->resize(wix, wiy + wih - SCROLLBAR_SIZE,
                       wiw - (vscrollbar->visible() ? SCROLLBAR_SIZE : 0), SCROLLBAR_SIZE);
    slider_value(hscrollbar, hscrollbar->clamp(slider_value(hscrollbar)));

    init_sizes();
    table_scrolled();
}

void Fl_Table::table_scrolled() {
    VisibleRange rr = visible_range(_rowheights, _rows, vscrollbar->value(), tih);
    toprow = rr.first;
    botrow = rr.last;
    toprow_scrollpos = rr.first_offset;
    _row_position = toprow;

    VisibleRange cr = visible_range(_colwidths, _cols, hscrollbar->value(), tiw);
    leftcol = cr.first;
    rightcol = cr.last;
    leftcol_scrollpos = cr.first_offset;
    _col_position = leftcol;

    // Subclasses move their cell widgets here.
    draw_cell(CONTEXT_RC_RESIZE);
}

void Fl_Table::scroll_to(bool vertical, int index) {
    int& stored = vertical ? _row_position : _col_position;
    Fl_Scrollbar* bar = vertical ? vscrollbar : hscrollbar;
    // The stored position is the top row, which may be one whose lower edge
    // only touches the top of the view: nothing of it shows, so it is
    // scrolled to all the same.
    if (stored == index) {
        const int end = vertical ? row_scroll_position(index) + row_height(index)
                                 : col_scroll_position(index) + col_width(index);
        if (end > slider_value(bar)) return;
    }
    const int count = vertical ? _rows : _cols;
    if (index < 0)
        index = 0;
    else if (index >= count)
        index = count - 1;
    if (vertical ? table_h <= tih : table_w <= tiw) return;  // everything fits
    const int offset = vertical ? row_scroll_position(index) : col_scroll_position(index);
    slider_value(bar, std::min<double>(offset, bar->maximum()));
    table_scrolled();
    redraw();
    stored = index;
}

void Fl_Table::row_position(int row) { scroll_to(true, row); }
void Fl_Table::col_position(int col) { scroll_to(false, col); }

void Fl_Table::scroll_cb(Fl_Widget* w, void* data) {
    // The toolkit's slider computes no number when its track is no longer
    // than its thumb (a table a few pixels high): such a bar goes to its start.
    Fl_Scrollbar* bar = static_cast<Fl_Scrollbar*>(w);
    if (!std::isfinite(slider_value(bar))) slider_value(bar, bar->minimum());
    Fl_Table* o = static_cast<Fl_Table*>(data);
    o->recalc_dimensions();
    o->table_scrolled();
    o->redraw();
}

int Fl_Table::row_col_clamp(TableContext context, int& R, int& C) {
    int clamped = 0;
    if (R < 0) {
        R = 0;
        clamped = 1;
    }
    if (C < 0) {
        C = 0;
        clamped = 1;
    }
    switch (context) {
    case CONTEXT_COL_HEADER:  // column headers draw even when there are no rows
        if (R >= _rows && R != 0) {
            R = _rows - 1;
            clamped = 1;
        }
        break;
    case CONTEXT_ROW_HEADER:  // row headers draw even when there are no columns
        if (C >= _cols && C != 0) {
            C = _cols - 1;
            clamped = 1;
        }
        break;
    default:
        if (R >= _rows) {
            R = _rows - 1;
            clamped = 1;
        }
        if (C >= _cols) {
            C = _cols - 1;
            clamped = 1;
        }
        break;
    }
    return clamped;
}

int Fl_Table::find_cell(TableContext context, int R, int C, int& X, int& Y, int& W, int& H) {
    int r = R, c = C;
    if (row_col_clamp(context, r, c)) {
        X = Y = W = H = 0;
        return -1;
    }
    X = col_scroll_position(C) - hscrollbar->value() + tix;
    Y = row_scroll_position(R) - vscrollbar->value() + tiy;
    W = col_width(C);
    H = row_height(R);
    switch (context) {
    case CONTEXT_COL_HEADER:
        Y = wiy;
        H = _col_header_h;
        return 0;
    case CONTEXT_ROW_HEADER:
        X = wix;
        W = _row_header_w;
        return 0;
    case CONTEXT_CELL:
    case CONTEXT_TABLE:
        return 0;
    default:
        fprintf(stderr, "Fl_Table::find_cell: unknown context %d\n", (int)context);
        return -1;
    }
}

void Fl_Table::get_bounds(TableContext context, int& X, int& Y, int& W, int& H) {
    switch (context) {
    case CONTEXT_ROW_HEADER:
        X = wix;
        Y = toy;
        W = _row_header_w;
        H = toh;
        return;
    case CONTEXT_COL_HEADER:
        X = tox;
        Y = wiy;
        W = tow;
        H = _col_header_h;
        return;
    case CONTEXT_TABLE:
        X = tix;
        Y = tiy;
        W = tiw;
        H = tih;
        return;
    default:
        fprintf(stderr, "Fl_Table::get_bounds(): context %d unimplemented\n", (int)context);
        return;
    }
}

Fl_Table::TableContext Fl_Table::cursor2rowcol(int& R, int& C, ResizeFlag& resizeflag) {
    R = C = 0;
    resizeflag = RESIZE_NONE;
    int X, Y, W, H;
    const int ex = Fl::event_x(), ey = Fl::event_y();

    if (row_header()) {
        get_bounds(CONTEXT_ROW_HEADER, X, Y, W, H);
        if (Fl::event_inside(X, Y, W, H)) {
            for (R = toprow; R <= botrow; ++R) {
                find_cell(CONTEXT_ROW_HEADER, R, 0, X, Y, W, H);
                if (ey >= Y && ey < Y + H) {
                    if (row_resize()) {
                        if (ey <= Y + RESIZE_GRAB) resizeflag = RESIZE_ROW_ABOVE;
                        if (ey >= Y + H - RESIZE_GRAB) resizeflag = RESIZE_ROW_BELOW;
                    }
                    return CONTEXT_ROW_HEADER;
                }
            }
            return CONTEXT_NONE;
        }
    }
    if (col_header()) {
        get_bounds(CONTEXT_COL_HEADER, X, Y, W, H);
        if (Fl::event_inside(X, Y, W, H)) {
            for (C = leftcol; C <= rightcol; ++C) {
                find_cell(CONTEXT_COL_HEADER, 0, C, X, Y, W, H);
                if (ex >= X && ex < X + W) {
                    if (col_resize()) {
                        if (ex <= X + RESIZE_GRAB) resizeflag = RESIZE_COL_LEFT;
                        if (ex >= X + W - RESIZE_GRAB) resizeflag = RESIZE_COL_RIGHT;
                    }
                    return CONTEXT_COL_HEADER;
                }
            }
            return CONTEXT_NONE;
        }
    }
    if (Fl::event_inside(tox, toy, tow, toh)) {
        for (R = toprow; R <= botrow; ++R) {
            find_cell(CONTEXT_CELL, R, leftcol, X, Y, W, H);
            if (ey < Y) break;  // rows above the mouse hold no cell under it
            for (C = leftcol; C <= rightcol; ++C) {
                find_cell(CONTEXT_CELL, R, C, X, Y, W, H);
                if (Fl::event_inside(X, Y, W, H)) return CONTEXT_CELL;
            }
        }
        R = C = 0;
        return CONTEXT_TABLE;
    }
    return CONTEXT_NONE;
}

// ---- selection ----

void Fl_Table::get_selection(int& row_top, int& col_left, int& row_bot, int& col_right) const {
    row_top = std::min(current_row, select_row);
    row_bot = std::max(current_row, select_row);
    col_left = std::min(current_col, select_col);
    col_right = std::max(current_col, select_col);
}

void Fl_Table::set_selection(int row_top, int col_left, int row_bot, int col_right) {
    damage_zone(current_row, current_col, select_row, select_col);
    select_block(row_top, col_left, row_bot, col_right);
}

void Fl_Table::select_block(int anchor_row, int anchor_col, int cursor_row, int cursor_col) {
    current_row = anchor_row;
    current_col = anchor_col;
    select_row = cursor_row;
    select_col = cursor_col;
    damage_zone(current_row, current_col, select_row, select_col);
}

int Fl_Table::is_selected(int r, int c) const {
    int top, left, bottom, right;
    get_selection(top, left, bottom, right);
    return (r >= top && r <= bottom && c >= left && c <= right) ? 1 : 0;
}

int Fl_Table::move_cursor(int R, int C) {
    // No cell to move to (the wrap below would invent one).
    if (_rows == 0 || _cols == 0) return 0;
    int r = (select_row == -1 ? 0 : select_row) + R;
    int c = (select_col == -1 ? 0 : select_col) + C;
    r = std::max(0, std::min(r, _rows - 1));
    c = std::max(0, std::min(c, _cols - 1));
    if (r == select_row && c == select_col) {
        if (R != 0 || C != 1) return 0;
        // Right from the last column goes on to the next row, then to the first.
        c = 0;
        if (++r >= _rows) r = 0;
    }
    place_cursor(r, c);
    if (r <= toprow || r >= botrow) row_position(r);
    if (c <= leftcol || c >= rightcol) col_position(c);
    return 1;
}

void Fl_Table::place_cursor(int r, int c) {
    damage_zone(current_row, current_col, select_row, select_col, r, c);
    select_row = r;
    select_col = c;
    // Shift stretches the selection from its anchor; with no anchor yet the
    // selection starts at the cell reached.
    if (!Fl::event_state(FL_SHIFT) || current_row == -1) {
        current_row = r;
        current_col = c;
    }
}

Fl_Table::RowSeen Fl_Table::row_seen(int top, int height, double scroll) const {
    const int Y = int(top - scroll + tiy);  // as find_cell() places it
    // A row of no height between the edges counts as whole.
    if (Y >= tiy && Y + height <= tiy + tih) return ROW_WHOLE;
    return Y < tiy + tih && Y + height > tiy ? ROW_IN_PART : ROW_HIDDEN;
}

// Putting the row reached at the top, as the arrows do, would move the view
// by more than a view and hide the rows between the two. The view follows
// the cursor by the rows it moved instead, so that the cursor keeps its place
// on screen, and by a view at most.
int Fl_Table::page_cursor(int dir) {
    if (_rows == 0 || _cols == 0) return 0;
    // Never backwards: with one visible row the page would be -1.
    const int page = std::max(0, botrow - toprow - 1);
    const int from = select_row == -1 ? 0 : select_row;
    const int c = select_col == -1 ? 0 : select_col;
    int r = std::max(0, std::min(from + dir * page, _rows - 1));
    enum { STAY, FOLLOW, TO_TOP } view = STAY;
    double scroll = slider_value(vscrollbar);
    if (r <= toprow || r >= botrow) {
        const double y = scroll;
        const int from_top = row_scroll_position(from);
        if (row_seen(from_top, row_height(from), y) != ROW_HIDDEN) {
            scroll = y + (row_scroll_position(r) - from_top);
            scroll = std::max(y - tih, std::min(scroll, y + tih));
            // A table that fits has a maximum below 0.
            scroll = std::max(0.0, std::min(scroll, vscrollbar->maximum()));
            // Rows of other heights may leave the row reached outside the view.
            r = row_in_view(from, r, dir, scroll);
            view = r == from ? STAY : FOLLOW;
        } else {
            view = TO_TOP;  // a cursor the user scrolled out of sight
        }
    }
    if (r == select_row && c == select_col) return 0;
    place_cursor(r, c);
    if (view == TO_TOP) row_position(r);
    if (view == FOLLOW) {
        slider_value(vscrollbar, scroll);
        table_scrolled();
        redraw();
    }
    if (c <= leftcol || c >= rightcol) col_position(c);
    return 1;
}

int Fl_Table::row_in_view(int from, int to, int dir, double scroll) {
    int top = row_scroll_position(from), whole = from, part = from;
    RowSeen seen = ROW_HIDDEN;
    for (int r = from; r != to;) {
        // The row crossed: r itself going down, the one before it going up.
        top += dir * row_height(std::min(r, r + dir));
        r += dir;
        seen = row_seen(top, row_height(r), scroll);
        if (seen == ROW_WHOLE) whole = r;
        if (seen == ROW_IN_PART) part = r;
    }
    // The row reached when it shows, else the farthest one shown whole, else
    // the farthest shown in part.
    if (seen != ROW_HIDDEN) return to;
    return whole != from ? whole : part;
}

// ---- partial redraw ----

void Fl_Table::redraw_range(int topRow, int botRow, int leftCol, int rightCol) {
    if (_redraw_toprow == -1) {
        _redraw_toprow = topRow;
        _redraw_botrow = botRow;
        _redraw_leftcol = leftCol;
        _redraw_rightcol = rightCol;
    } else {
        _redraw_toprow = std::min(_redraw_toprow, topRow);
        _redraw_botrow = std::max(_redraw_botrow, botRow);
        _redraw_leftcol = std::min(_redraw_leftcol, leftCol);
        _redraw_rightcol = std::max(_redraw_rightcol, rightCol);
    }
    damage(FL_DAMAGE_CHILD);
}

void Fl_Table::damage_zone(int r1, int c1, int r2, int c2, int r3, int c3) {
    int R1 = std::min({r1, r2, r3}), R2 = std::max({r1, r2, r3});
    int C1 = std::min({c1, c2, c3}), C2 = std::max({c1, c2, c3});
    if (R2 < 0 || C2 < 0) return;
    R1 = std::max(std::max(R1, 0), toprow);
    R2 = std::min(R2, botrow);
    C1 = std::max(std::max(C1, 0), leftcol);
    C2 = std::min(C2, rightcol);
    redraw_range(R1, R2, C1, C2);
}

void Fl_Table::change_cursor(Fl_Cursor newcursor) {
    if (newcursor == _last_cursor) return;
    if (Fl_Window* win = window()) win->cursor(newcursor, FL_BLACK, FL_WHITE);
    _last_cursor = newcursor;
}

// ---- drawing ----

void Fl_Table::_redraw_cell(TableContext context, int R, int C) {
    if (R < 0 || C < 0) return;
    int X, Y, W, H;
    find_cell(context, R, C, X, Y, W, H);
    draw_cell(context, R, C, X, Y, W, H);
}

void Fl_Table::draw_cell(TableContext, int, int, int, int, int, int) {}

// Header cells are clipped to the span of the cells beside them, so that a
// header scrolled partly out of view ends where its column or row does. The
// strip reaches over the inner frame by a few pixels at each end: those bands
// are filled, else they would keep header pixels from before a scroll.
void Fl_Table::draw_header_strip(TableContext context) {
    int X = 0, Y = 0, W = 0, H = 0;
    get_bounds(context, X, Y, W, H);
    const bool rowh = context == CONTEXT_ROW_HEADER;
    fl_color(rowh ? _row_header_color : _col_header_color);
    if (rowh) {
        fl_rectf(X, Y, W, tiy - Y);
        fl_rectf(X, tiy + tih, W, Y + H - (tiy + tih));
        fl_push_clip(X, tiy, W, tih);
        for (int r = toprow; r <= botrow; ++r) _redraw_cell(context, r, 0);
    } else {
        fl_rectf(X, Y, tix - X, H);
        fl_rectf(tix + tiw, Y, X + W - (tix + tiw), H);
        fl_push_clip(tix, Y, tiw, H);
        for (int c = leftcol; c <= rightcol; ++c) _redraw_cell(context, 0, c);
    }
    fl_pop_clip();
}

void Fl_Table::draw() {
    draw_cell(CONTEXT_STARTPAGE, 0, 0, tix, tiy, tiw, tih);

    fl_push_clip(wix, wiy, wiw, wih);
    draw_children();
    fl_pop_clip();

    draw_box(box(), x(), y(), w(), h(), color());
    if (!table->visible() && (damage() & (FL_DAMAGE_ALL | FL_DAMAGE_CHILD)))
        draw_box(table->box(), tox, toy, tow, toh, table->color());

    fl_push_clip(wix, wiy, wiw, wih);
    if (!(damage() & FL_DAMAGE_ALL) && _redraw_leftcol != -1) {
        fl_push_clip(tix, tiy, tiw, tih);
        for (int c = _redraw_leftcol; c <= _redraw_rightcol; ++c)
            for (int r = _redraw_toprow; r <= _redraw_botrow; ++r) _redraw_cell(CONTEXT_CELL, r, c);
        fl_pop_clip();
    }
    if (damage() & FL_DAMAGE_ALL) {
        if (row_header()) draw_header_strip(CONTEXT_ROW_HEADER);
        if (col_header()) draw_header_strip(CONTEXT_COL_HEADER);
        fl_push_clip(tix, tiy, tiw, tih);
        for (int r = toprow; r <= botrow; ++r)
            for (int c = leftcol; c <= rightcol; ++c) _redraw_cell(CONTEXT_CELL, r, c);
        fl_pop_clip();
    }
    // The square between the two scrollbars belongs to no child.
    if (vscrollbar->visible() && hscrollbar->visible()) {
        fl_color(color());
        fl_rectf(vscrollbar->x(), hscrollbar->y(), vscrollbar->w(), hscrollbar->h());
    }
    draw_cell(CONTEXT_ENDPAGE, 0, 0, tix, tiy, tiw, tih);
    _redraw_toprow = _redraw_botrow = _redraw_leftcol = _redraw_rightcol = -1;
    fl_pop_clip();
}

void Fl_Table::resize(int X, int Y, int W, int H) {
    Fl_Group::resize(X, Y, W, H);
    table_resized();
    redraw();
}

// ---- events ----

int Fl_Table::handle(int event) {
    int ret = Fl_Group::handle(event);
    if (ret) {
        if (Fl::event_inside(hscrollbar) || Fl::event_inside(vscrollbar)) {
            // The group hands a release over a scrollbar to it; the table's
            // own drag (auto-scroll, resize) ends there all the same.
            if (event == FL_RELEASE) end_drag();
            return 1;
        }
        if (Fl::focus() != this && contains(Fl::focus())) return 1;
    }
    int R, C;
    ResizeFlag resizeflag;
    TableContext context = cursor2rowcol(R, C, resizeflag);

    switch (event) {
    case FL_PUSH:
        return handle_push(context, R, C, resizeflag, ret);
    case FL_DRAG:
        return handle_drag(context, R, C, ret);
    case FL_RELEASE:
        return handle_release(context, R, C, ret);
    case FL_MOVE:
        if (context == CONTEXT_COL_HEADER && resizeflag)
            change_cursor(FL_CURSOR_WE);
        else if (context == CONTEXT_ROW_HEADER && resizeflag)
            change_cursor(FL_CURSOR_NS);
        else
            change_cursor(FL_CURSOR_DEFAULT);
        return 1;
    case FL_ENTER:
        // The group takes every FL_ENTER (it tracks the widget below the
        // mouse), so entering never moved the focus to the table.
        return 1;
    case FL_LEAVE:
        _stop_auto_drag();
        change_cursor(FL_CURSOR_DEFAULT);
        return resizeflag ? 1 : ret;
    case FL_FOCUS:
        Fl::focus(this);
        _stop_auto_drag();
        return 1;
    case FL_UNFOCUS:
        _stop_auto_drag();
        return 1;
    case FL_KEYBOARD:
        return handle_key();
    default:
        change_cursor(FL_CURSOR_DEFAULT);
        return ret;
    }
}

int Fl_Table::handle_push(TableContext context, int R, int C, ResizeFlag resizeflag, int ret) {
    const int button = Fl::event_button();
    if (button == 1 && !Fl::event_clicks()) {
        if (Fl::focus() != this) {
            take_focus();
            if (!fire_callback(CONTEXT_TABLE, -1, -1)) return 1;
            ret = 1;
            // The callback may have changed the rows, the columns or the view.
            context = cursor2rowcol(R, C, resizeflag);
        }
        damage_zone(current_row, current_col, select_row, select_col, R, C);
        if (context == CONTEXT_CELL) {
            current_row = select_row = R;
            current_col = select_col = C;
            _selecting = CONTEXT_CELL;
        } else {
            current_row = select_row = -1;
            current_col = select_col = -1;
        }
    }
    // Any button, so that a right click can open a menu.
    if (has_own_callback() && resizeflag == RESIZE_NONE) {
        if (!fire_callback(context, R, C)) return 1;
        context = cursor2rowcol(R, C, resizeflag);
    }

    switch (context) {
    case CONTEXT_NONE:
        // The corner where the headers meet selects everything there is.
        if (button == 1 && Fl::event_x() < x() + _row_header_w && _rows > 0 && _cols > 0) {
            select_block(0, 0, _rows - 1, _cols - 1);
            ret = 1;
        }
        break;
    case CONTEXT_ROW_HEADER:
        if (button != 1) break;
        if (resizeflag) {
            _resizing_row = (resizeflag == RESIZE_ROW_ABOVE) ? R - 1 : R;
            _resizing_col = -1;
            _dragging_y = Fl::event_y();
        } else if (_cols > 0) {  // a row of no cell selects nothing
            _selecting = CONTEXT_ROW_HEADER;
            select_block(R, 0, R, _cols - 1);
        }
        ret = 1;
        break;
    case CONTEXT_COL_HEADER:
        if (button != 1) break;
        if (resizeflag) {
            _resizing_col = (resizeflag == RESIZE_COL_LEFT) ? C - 1 : C;
            _resizing_row = -1;
            _dragging_x = Fl::event_x();
        } else if (_rows > 0) {
            _selecting = CONTEXT_COL_HEADER;
            select_block(0, C, _rows - 1, C);
        }
        ret = 1;
        break;
    case CONTEXT_CELL:
        ret = 1;
        break;
    case CONTEXT_TABLE:
        ret = 0;
        break;
    default:
        break;
    }
    _last_row = R;
    return ret;
}

int Fl_Table::handle_drag(TableContext context, int R, int C, int ret) {
    if (_auto_drag == AUTO_DRAG_ARMED) return 1;  // the timer drives the drag
    Fl_Widget_Tracker alive(this);
    if (_resizing_col > -1 || _resizing_row > -1) {
        const bool col = _resizing_col > -1;
        const int index = col ? _resizing_col : _resizing_row;
        const int mouse = col ? Fl::event_x() : Fl::event_y();
        int& start = col ? _dragging_x : _dragging_y;
        int size = (col ? col_width(index) : row_height(index)) - (start - mouse);
        size = std::max(size, col ? _col_resize_min : _row_resize_min);
        if (col)
            col_width(index, size);
        else
            row_height(index, size);
        if (!alive.exists()) return 1;
        start = mouse;
        table_resized();
        redraw();
        change_cursor(col ? FL_CURSOR_WE : FL_CURSOR_NS);
        ret = 1;
        if (has_own_callback() && (when() & FL_WHEN_CHANGED) &&
            !fire_callback(CONTEXT_RC_RESIZE, R, C))
            return 1;
    } else if (Fl::event_button() == 1) {
        // Which ends of the cursor follow the mouse depends on where the
        // selection began: a cell, a row header or a column header.
        const bool over = context == CONTEXT_ROW_HEADER || context == CONTEXT_COL_HEADER ||
                          context == CONTEXT_CELL;
        bool rows_follow = false, cols_follow = false;
        if (_selecting == CONTEXT_CELL && context == CONTEXT_CELL)
            rows_follow = cols_follow = true;
        else if (_selecting == CONTEXT_ROW_HEADER && over)
            rows_follow = true;
        else if (_selecting == CONTEXT_COL_HEADER && over)
            cols_follow = true;
        // Only a selection there is stretches: rows(0) may have ended it.
        if ((rows_follow || cols_follow) && current_row != -1) {
            const int r = rows_follow ? R : select_row, c = cols_follow ? C : select_col;
            if (r != select_row || c != select_col)
                damage_zone(current_row, current_col, select_row, select_col, R, C);
            select_row = r;
            select_col = c;
            ret = 1;
        }
    }
    // Header sizes count here whether or not the headers are shown.
    const int ex = Fl::event_x(), ey = Fl::event_y();
    bool inside_band = ex >= x() + _row_header_w && ex <= x() + w() - AUTO_DRAG_MARGIN &&
                       ey >= y() + _col_header_h && ey <= y() + h() - AUTO_DRAG_MARGIN;
    if (_resizing_row == -1 && _resizing_col == -1 && _auto_drag == AUTO_DRAG_OFF && !inside_band)
        _start_auto_drag();
    return ret;
}

int Fl_Table::handle_release(TableContext context, int R, int C, int ret) {
    _stop_auto_drag();
    switch (context) {
    case CONTEXT_ROW_HEADER:
    case CONTEXT_COL_HEADER:
    case CONTEXT_CELL:
    case CONTEXT_TABLE:
        if (_resizing_row == -1 && _resizing_col == -1 && has_own_callback() &&
            (when() & FL_WHEN_RELEASE) && _last_row == R &&
            !fire_callback(context, _last_row, C))
            return 1;
        break;
    default:
        break;
    }
    return end_drag() ? 1 : ret;
}

bool Fl_Table::end_drag() {
    _stop_auto_drag();
    if (Fl::event_button() != 1) return false;
    change_cursor(FL_CURSOR_DEFAULT);
    _resizing_col = -1;
    _resizing_row = -1;
    return true;
}

int Fl_Table::handle_key() {
    int moved = 0;
    switch (Fl::event_key()) {
    case FL_Home:
        moved = move_cursor(0, -FAR_AWAY);
        break;
    case FL_End:
        moved = move_cursor(0, FAR_AWAY);
        break;
    case FL_Left:
        moved = move_cursor(0, -1);
        break;
    case FL_Right:
        moved = move_cursor(0, 1);
        break;
    case FL_Up:
        moved = move_cursor(-1, 0);
        break;
    case FL_Down:
        moved = move_cursor(1, 0);
        break;
    case FL_Page_Up:
        moved = page_cursor(-1);
        break;
    case FL_Page_Down:
        moved = page_cursor(1);
        break;
    default:
        break;
    }
    if (moved) {
        if (Fl::focus() != this) {
            if (!fire_callback(CONTEXT_TABLE, -1, -1)) return 1;
            take_focus();
        }
        return 1;
    }
    // Keys the table cannot use reach a callback that asks for them.
    if (has_own_callback() && (when() & FL_WHEN_NOT_CHANGED)) {
        fire_callback(CONTEXT_CELL, select_row, select_col);
        return 1;
    }
    return 0;
}

// ---- auto-scroll while dragging past an edge ----

void Fl_Table::_start_auto_drag() {
    if (_auto_drag != AUTO_DRAG_OFF) return;
    _auto_drag = AUTO_DRAG_ARMED;
    Fl::add_timeout(AUTO_DRAG_DELAY, _auto_drag_cb2, this);
}

void Fl_Table::_stop_auto_drag() {
    if (_auto_drag == AUTO_DRAG_OFF) return;
    Fl::remove_timeout(_auto_drag_cb2, this);
    _auto_drag = AUTO_DRAG_OFF;
}

void Fl_Table::_auto_drag_cb2(void* d) {
    static_cast<Fl_Table*>(d)->_auto_drag_cb();
}

void Fl_Table::_auto_drag_cb() {
    int lx = Fl::e_x, ly = Fl::e_y;
    if (_selecting == CONTEXT_COL_HEADER)
        ly = y() + _col_header_h;
    else if (_selecting == CONTEXT_ROW_HEADER)
        lx = x() + _row_header_w;

    // No resize drag runs here (a resize never starts the timer), so the
    // resize's drag start is left alone.
    Fl_Widget_Tracker alive(this);
    auto step = [](Fl_Scrollbar* bar, int delta) {
        if (bar->visible()) slider_value(bar, bar->clamp(slider_value(bar) + delta));
        bar->do_callback();
    };
    if (lx > x() + w() - AUTO_DRAG_MARGIN) {
        Fl::e_x = x() + w() - AUTO_DRAG_MARGIN;
        step(hscrollbar, AUTO_DRAG_STEP);
    } else if (lx < x() + _row_header_w) {
        Fl::e_x = x() + _row_header_w + 1;
        step(hscrollbar, -AUTO_DRAG_STEP);
    }
    if (ly > y() + h() - AUTO_DRAG_MARGIN) {
        Fl::e_y = y() + h() - AUTO_DRAG_MARGIN;
        step(vscrollbar, AUTO_DRAG_STEP);
    } else if (ly < y() + _col_header_h) {
        Fl::e_y = y() + _col_header_h + 1;
        step(vscrollbar, -AUTO_DRAG_STEP);
    }

    _auto_drag = AUTO_DRAG_RUNNING;
    handle(FL_DRAG);
    Fl::e_x = lx;
    Fl::e_y = ly;
    if (!alive.exists()) return;
    _auto_drag = AUTO_DRAG_ARMED;
    // Pending events may release the button, or delete this table.
    Fl::check();
    Fl::flush();
    if (!alive.exists()) return;
    if (Fl::event_buttons() && _auto_drag != AUTO_DRAG_OFF) Fl::add_timeout(AUTO_DRAG_REPEAT, _auto_drag_cb2, this);
}

}  // namespace qv
