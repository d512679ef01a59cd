#ifndef QV_TEST_RECORDINGTABLE_H
#define QV_TEST_RECORDINGTABLE_H

// A table subclass whose draw_cell records every call and paints each cell
// and header cell, so that tests can check what the table asked to draw, in
// which order, and what reached the screen. Works over any table class:
//   qvtest::RecordingCells<qv::Fl_Table_Row> t(10, 10, 300, 200);

#include "widgets/Fl_Table.h"

#include <FL/Fl.H>
#include <FL/Fl_Scroll.H>
#include <FL/Fl_Scrollbar.H>

#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace qvtest {

struct CellCall {
    int context, row, col;
};

// The calls in order, one word each: the context's letter, then the row and
// the column for cells and header cells: "S", "E" (start and end of a page),
// "R<r>,<c>" and "C<r>,<c>" (row and column headers), "c<r>,<c>" (cell),
// "T<r>,<c>" (table), "Z" (sizes recomputed), "N" (none); any other context
// shows as "?<value>", never as one of these.
std::string callOrder(const std::vector<CellCall>& calls);

// Kept out of line: the toolkit's drawing header brings X11 macros that
// clash with GoogleTest.
void fillRect(Fl_Color color, int X, int Y, int W, int H);

template <class Table>
class RecordingCells : public Table {
public:
    using Context = typename qv::Fl_Table::TableContext;
    using Table::Table;

    // Every call but CONTEXT_RC_RESIZE, which comes with every recomputation.
    std::vector<CellCall> calls;
    // Cell (r, c) is painted cellColors[(r + c) % size]; header cells headerColor.
    std::vector<Fl_Color> cellColors{FL_WHITE};
    Fl_Color headerColor = FL_DARK_RED;

    void draw_cell(Context context, int R, int C, int X, int Y, int W, int H) override {
        if (context != qv::Fl_Table::CONTEXT_RC_RESIZE) calls.push_back({int(context), R, C});
        if (context == qv::Fl_Table::CONTEXT_CELL)
            fillRect(cellColors[(R + C) % cellColors.size()], X, Y, W, H);
        if (context == qv::Fl_Table::CONTEXT_ROW_HEADER || context == qv::Fl_Table::CONTEXT_COL_HEADER)
            fillRect(headerColor, X, Y, W, H);
        Table::draw_cell(context, R, C, X, Y, W, H);
    }
    std::string order() const { return callOrder(calls); }
};

// A recording table that also shows what the table keeps for its
// subclasses: visible range, scrollbars, anchor and cursor, data area.
template <class Table>
class TableProbe : public RecordingCells<Table> {
public:
    using Quad = std::tuple<int, int, int, int>;
    using Context = typename qv::Fl_Table::TableContext;
    using RecordingCells<Table>::RecordingCells;
    using Table::botrow;
    using Table::hscrollbar;
    using Table::rightcol;
    using Table::table;
    using Table::toprow;
    using Table::vscrollbar;

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
    Quad bounds(Context ctx) {
        int X = 7, Y = 7, W = 7, H = 7;
        this->get_bounds(ctx, X, Y, W, H);
        return Quad(X, Y, W, H);
    }
    std::pair<int, int> middle(Context ctx, int r, int c) {
        auto [X, Y, W, H] = cell(ctx, r, c);
        return {X + W / 2, Y + H / 2};
    }
    // As the user moving the slider there.
    void scrollTo(Fl_Scrollbar* bar, int value) {
        bar->value(value);
        bar->do_callback();
    }
};

// Records what each callback of a table reported.
struct TableCallbackLog {
    struct Entry {
        int context, row, col, clicks;
        bool operator==(const Entry& o) const {
            return context == o.context && row == o.row && col == o.col && clicks == o.clicks;
        }
    };
    std::vector<Entry> entries;

    static void record(Fl_Widget* w, void* log) {
        qv::Fl_Table* t = static_cast<qv::Fl_Table*>(w);
        static_cast<TableCallbackLog*>(log)->entries.push_back(
            {int(t->callback_context()), t->callback_row(), t->callback_col(), Fl::event_clicks()});
    }
    void attach(qv::Fl_Table& t) { t.callback(record, this); }
};

inline std::ostream& operator<<(std::ostream& os, const TableCallbackLog::Entry& e) {
    return os << "{ctx 0x" << std::hex << e.context << std::dec << " r" << e.row << " c" << e.col
              << " clicks " << e.clicks << "}";
}

}  // namespace qvtest

#endif
