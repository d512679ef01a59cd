#include "widgets/Fl_Table_Row.h"

#include <FL/Fl.H>

#include <algorithm>

namespace qv {

Fl_Table_Row::Fl_Table_Row(int X, int Y, int W, int H, const char* l) : Fl_Table(X, Y, W, H, l) {}

Fl_Table_Row::~Fl_Table_Row() = default;

void Fl_Table_Row::type(TableRowSelectMode mode) {
    _selectmode = mode;
    switch (mode) {
    case SELECT_NONE:
        std::fill(_rowselect.begin(), _rowselect.end(), 0);
        redraw();
        break;
    case SELECT_SINGLE: {
        bool seen = false;  // keep the first selected row only
        for (char& flag : _rowselect) {
            if (!flag) continue;
            if (seen) flag = 0;
            seen = true;
        }
        redraw();
        break;
    }
    default:
        break;
    }
}

int Fl_Table_Row::row_selected(int row) const {
    // While rows(n) cuts the count the flags may still be longer: rows() decides.
    if (row < 0 || row >= rows()) return -1;
    return _rowselect[row];
}

void Fl_Table_Row::mark_row_for_redraw(int row) {
    if (row >= toprow && row <= botrow) redraw_range(row, row, leftcol, rightcol);
}

int Fl_Table_Row::select_row(int row, int flag) {
    if (row < 0 || row >= rows()) return -1;
    if (_selectmode == SELECT_NONE) return -1;
    if (_selectmode != SELECT_SINGLE && _selectmode != SELECT_MULTI) return 0;
    if (_selectmode == SELECT_SINGLE) {
        const int n = rows();
        for (int r = 0; r < n; ++r) {
            if (r == row || !_rowselect[r]) continue;
            _rowselect[r] = 0;
            mark_row_for_redraw(r);
        }
    }
    char value = (flag == 2) ? !_rowselect[row] : (flag ? 1 : 0);
    if (_rowselect[row] == value) return 0;
    _rowselect[row] = value;
    mark_row_for_redraw(row);
    return 1;
}

void Fl_Table_Row::select_all_rows(int flag) {
    if (_selectmode == SELECT_SINGLE ? flag != 0 : _selectmode != SELECT_MULTI) return;
    bool changed = false;
    for (char& selected : _rowselect) {
        const char value = flag == 2 ? !selected : (flag ? 1 : 0);
        if (selected == value) continue;
        selected = value;
        changed = true;
    }
    if (changed) redraw();
}

void Fl_Table_Row::select_range(int from, int to) {
    // Selecting each row in turn leaves only `to` in single-selection mode.
    if (_selectmode == SELECT_SINGLE) {
        select_row(to, 1);
        return;
    }
    const int step = to >= from ? 1 : -1;
    for (int r = from;; r += step) {
        select_row(r, 1);
        if (r == to) break;
    }
}

void Fl_Table_Row::rows(int val) {
    // Grown first: the table calls back into subclasses, which read the flags.
    _rowselect.resize(std::max((int)_rowselect.size(), val), 0);
    Fl_Table::rows(val);
    _rowselect.resize(rows());
    // A Shift-click extends from the last row clicked only while it is there:
    // after a reload it would select rows the user never saw.
    if (_last_row >= rows()) _last_row = -1;
}

void Fl_Table_Row::clear() {
    Fl_Table::clear();  // through rows(0), which cuts the flags
}

int Fl_Table_Row::handle(int event) {
    Fl_Widget_Tracker alive(this);
    int ret = Fl_Table::handle(event);
    if (!alive.exists()) return 1;

    // Ctrl wins over Shift.
    const bool ctrl = Fl::event_state(FL_CTRL), shift = !ctrl && Fl::event_state(FL_SHIFT);
    int R, C;
    ResizeFlag resizeflag;
    TableContext context = cursor2rowcol(R, C, resizeflag);

    switch (event) {
    case FL_PUSH:
        if (Fl::event_button() != 1) break;
        _last_push_x = Fl::event_x();
        _last_push_y = Fl::event_y();
        if (context != CONTEXT_CELL) break;
        if (ctrl) {
            select_row(R, 2);
        } else if (shift) {
            select_range(_last_row > -1 ? _last_row : R, R);  // from the last row clicked
        } else {
            select_all_rows(0);
            select_row(R, 1);
        }
        _last_row = R;
        _dragging_select = true;
        ret = 1;
        break;

    case FL_DRAG: {
        if (!_dragging_select) break;
        // Past the top or bottom edge the rows scroll by the pixels the mouse
        // moved since the previous drag event. row_position() clamps, so the
        // row reached is always a row of the table.
        const int offtop = toy - _last_y;
        const int offbot = _last_y - (toy + toh);
        if (offtop > 0 && row_position() > 0) {
            const int diff = _last_y - Fl::event_y();
            if (diff < 1) {
                ret = 1;
                break;
            }
            row_position(row_position() - diff);
            context = CONTEXT_CELL;
            C = 0;
            R = row_position();
        } else if (offbot > 0) {
            const int diff = Fl::event_y() - _last_y;
            if (diff < 1) {
                ret = 1;
                break;
            }
            row_position(row_position() + diff);
            context = CONTEXT_CELL;
            C = 0;
            R = botrow;
        }
        if (context == CONTEXT_CELL) {
            if (ctrl) {
                if (R != _last_row) select_row(R, 2);
            } else {
                select_range(_last_row > -1 ? _last_row : R, R);
            }
            ret = 1;
            _last_row = R;
        }
        break;
    }

    case FL_RELEASE:
        if (Fl::event_button() == 1) {
            _dragging_select = false;
            ret = 1;
            // Pushed and released in the empty area right of or below the data.
            const int dataright = tix + table_w, databot = tiy + table_h;
            if ((_last_push_x > dataright && Fl::event_x() > dataright) ||
                (_last_push_y > databot && Fl::event_y() > databot))
                select_all_rows(0);
        }
        break;

    default:
        break;
    }
    _last_y = Fl::event_y();
    return ret;
}

}  // namespace qv
