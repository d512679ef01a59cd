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
    // Widgets created after the constructor become cell widgets, until end().
    Fl_Table_Row(int X, int Y, int W, int H, const char* l = nullptr);
    // The row flags go with the table.
    ~Fl_Table_Row() override;

    // The table's own handling first, then clicks and drags select rows.
    int handle(int event) override;
    // No rows and no columns, and so no row selected.
    void clear() override;
    // New rows are unselected; a last row clicked that is gone is forgotten.
    void rows(int val) override;
    // The row count (declared again, as rows(int) hides it).
    int rows() const { return Fl_Table::rows(); }

    // Single keeps the first selected row only; none deselects every row.
    void type(TableRowSelectMode mode);
    // The selection mode, SELECT_MULTI by default.
    TableRowSelectMode type() const { return _selectmode; }

    // 1 or 0, or -1 for a row the table does not hold.
    int row_selected(int row) const;
    // flag 0 deselects, 1 selects, 2 toggles; 1 when the row changed, 0 when
    // not, -1 when the row is out of range or rows cannot be selected.
    int select_row(int row, int flag = 1);
    // flag 0 deselects, 1 selects, 2 toggles every row; in single-selection
    // mode only flag 0 acts, and in SELECT_NONE none does.
    void select_all_rows(int flag = 1);

private:
    // Selects every row from `from` to `to`, ending on `to`, so that in
    // single-selection mode the row under the mouse is the one left selected.
    void select_range(int from, int to);
    void mark_row_for_redraw(int row);
};

}  // namespace qv

#endif
