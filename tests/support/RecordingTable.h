#ifndef QV_TEST_RECORDINGTABLE_H
#define QV_TEST_RECORDINGTABLE_H

// A table subclass over any table class that records its draw_cell calls and its callbacks, one word each, paints
// each cell and header cell, and shows what the table keeps for its subclasses.

#include "widgets/Fl_Table.h"

#include <FL/Fl.H>
#include <FL/Fl_Scroll.H>
#include <FL/Fl_Scrollbar.H>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qvtest {

// "S" and "E" (start and end of a page), else the context's letter, then "<row>,<col>": "R" and "C" (row and column
// headers), "c" (cell), "T" (table), "Z" (sizes changed), "N" (none), and "*" for the second click of a double click;
// any other context is "?<value>", never one of these.
std::string callWord(int context, int row, int col, int clicks = 0);

// Out of line: the toolkit's drawing header brings X11 macros that clash with GoogleTest.
void fillRect(Fl_Color color, int X, int Y, int W, int H);

template <class Table>
class TableProbe : public Table {
public:
    using Context = qv::Fl_Table::TableContext;
    using Quad = std::tuple<int, int, int, int>;
    using Table::Table;
    using Table::botrow, Table::hscrollbar, Table::rightcol, Table::table, Table::toprow, Table::vscrollbar;

    std::string calls;     // drawn, but CONTEXT_RC_RESIZE, which comes with every recomputation
    std::string reported;  // by the callback, once logCallbacks() set it
    // Cell (r, c) is painted cellColors[(r + c) % size]; header cells headerColor.
    std::vector<Fl_Color> cellColors{FL_WHITE};
    Fl_Color headerColor = FL_DARK_RED;

    void draw_cell(Context context, int R, int C, int X, int Y, int W, int H) override {
        if (context != qv::Fl_Table::CONTEXT_RC_RESIZE) calls += (calls.empty() ? "" : " ") + callWord(context, R, C);
        if (context == qv::Fl_Table::CONTEXT_CELL) fillRect(cellColors[(R + C) % cellColors.size()], X, Y, W, H);
        if (context == qv::Fl_Table::CONTEXT_ROW_HEADER || context == qv::Fl_Table::CONTEXT_COL_HEADER)
            fillRect(headerColor, X, Y, W, H);
    }
    void logCallbacks() {
        this->callback([](Fl_Widget*, void* p) {
            auto* t = static_cast<TableProbe*>(p);
            t->reported += (t->reported.empty() ? "" : " ") +
                           callWord(t->callback_context(), t->callback_row(), t->callback_col(), Fl::event_clicks());
        }, this);
    }
    // anchor row, anchor column, cursor row, cursor column
    Quad selection() const { return Quad(this->current_row, this->current_col, this->select_row, this->select_col); }
    // The data area inside headers and scrollbars, where cells are drawn.
    Quad area() const { return Quad(this->tix, this->tiy, this->tiw, this->tih); }
    // find_cell's rectangle (7s where it leaves them) and, in `ret`, its result.
    Quad cell(Context ctx, int r, int c, int* ret = nullptr) {
        int X = 7, Y = 7, W = 7, H = 7, rc = this->find_cell(ctx, r, c, X, Y, W, H);
        if (ret) *ret = rc;
        return Quad(X, Y, W, H);
    }
    std::pair<int, int> middle(Context ctx, int r, int c) {
        auto [X, Y, W, H] = cell(ctx, r, c);
        return {X + W / 2, Y + H / 2};
    }
    // As the user moving the slider there.
    void scrollTo(Fl_Scrollbar* bar, int value) { bar->value(value), bar->do_callback(); }
};

}  // namespace qvtest

#endif
