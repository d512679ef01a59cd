#ifndef QV_FL_TABLE_ROW_H
#define QV_FL_TABLE_ROW_H

// The table with whole-row selection: clicks and drags on cells select rows,
// Ctrl toggles one row, Shift extends from the last row clicked.

#include "widgets/Fl_Table.h"

#include <vector>

namespace qv {

class Fl_Table_Row : public Fl_Table {
public:
    enum TableRowSelectMode {
        SELECT_NONE = 0,    // rows cannot be selected
        SELECT_SINGLE = 1,  // at most one row
        SELECT_MULTI = 2    // any number of rows
    };

private:
    std::vector<char> _rowselect;
    bool _dragging_select = false;
    int _last_row = -1;
    int _last_y = -1;
    int _last_push_x = -1, _last_push_y = -1;
    TableRowSelectMode _selectmode = SELECT_MULTI;

public:
    Fl_Table_Row(int X, int Y, int W, int H, const char* l = nullptr);
    ~Fl_Table_Row() override;

    int handle(int event) override;
    void clear() override;
    void rows(int val) override;
    int rows() const { return Fl_Table::rows(); }

    void type(TableRowSelectMode mode);
    TableRowSelectMode type() const { return _selectmode; }

    int row_selected(int row) const;
    // flag 0 deselects, 1 selects, 2 toggles; 1 when the row changed, 0 when
    // not, -1 when the row is out of range or rows cannot be selected.
    int select_row(int row, int flag = 1);
    void select_all_rows(int flag = 1);

private:
    // Selects every row from `from` to `to`, ending on `to`, so that in
    // single-selection mode the row under the mouse is the one left selected.
    void select_range(int from, int to);
    void mark_row_for_redraw(int row);
};

}  // namespace qv

#endif
