#ifndef QV_TEST_RECORDINGTABLE_H
#define QV_TEST_RECORDINGTABLE_H

// A table subclass whose draw_cell records every call and paints each cell
// and header cell, so that tests can check what the table asked to draw, in
// which order, and what reached the screen. Works over any table class:
//   qvtest::RecordingCells<qv::Fl_Table_Row> t(10, 10, 300, 200);

#include "widgets/Fl_Table.h"

#include <FL/Fl.H>

#include <ostream>
#include <string>
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
