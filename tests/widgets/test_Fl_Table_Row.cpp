#include "widgets/Fl_Table_Row.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

using qv::Fl_Table_Row;
using Rows = std::vector<int>;
const auto multi = Fl_Table_Row::SELECT_MULTI, single = Fl_Table_Row::SELECT_SINGLE, none = Fl_Table_Row::SELECT_NONE;

// Seven rows of 25 pixels, two columns, all visible: the rows end at y = 189, the columns at x = 174.
struct TableRowTest : ::testing::Test {
    Fl_Window win{0, 0, 400, 300};
    qvtest::TableProbe<Fl_Table_Row>* t = new qvtest::TableProbe<Fl_Table_Row>(10, 10, 300, 200);
    void SetUp() override {
        t->end(), win.end();
        t->rows(7), t->cols(2);
        qvtest::showAndDraw(win);
    }
    int rowY(int r) { return t->middle(qv::Fl_Table::CONTEXT_CELL, r, 0).second; }
    Rows selected() const {
        Rows out;
        for (int r = 0; r < t->rows(); ++r)
            if (t->row_selected(r) == 1) out.push_back(r);
        return out;
    }
};

TEST_F(TableRowTest, ClicksModifiersDragsAndReleasesInEachMode) {
    // Push on row `from`, drag in `steps` steps to row `to`, release there; a row of -1 is the empty area below the
    // rows, -2 right of the columns, -3 the columns' right edge, -4 the rows' bottom edge.
    const struct { Fl_Table_Row::TableRowSelectMode mode; int from, to, steps, mods; Rows want; } gestures[] = {
        {multi, 3, 3, 0, FL_SHIFT, {3}},  // no row clicked before: this one
        {multi, 2, 2, 0, 0, {2}}, {multi, 4, 4, 0, 0, {4}}, {multi, 1, 1, 0, FL_CTRL, {1, 4}}, {multi, 4, 4, 0, FL_CTRL, {1}},
        {multi, 6, 6, 0, FL_SHIFT, {1, 4, 5, 6}},                // from the last row clicked
        {multi, 3, 3, 0, FL_CTRL | FL_SHIFT, {1, 3, 4, 5, 6}},  // Ctrl wins
        {multi, 0, 3, 6, 0, {0, 1, 2, 3}}, {multi, 5, 2, 6, 0, {2, 3, 4, 5}},
        {multi, 0, 1, 6, FL_CTRL, {0, 1, 2, 3, 4, 5}},  // toggles each row entered
        {multi, 0, 3, 1, 0, {0, 1, 2, 3}},               // one step: the rows between too
        // Pushed and released below or right of the data, not on its edge: cleared.
        {multi, 2, -1, 0, 0, {2}}, {multi, -4, -1, 0, 0, {2}}, {multi, -1, -4, 0, 0, {2}}, {multi, -1, -1, 0, 0, {}},
        {multi, 3, 3, 0, 0, {3}}, {multi, -2, 4, 0, 0, {3}}, {multi, -3, -2, 0, 0, {3}}, {multi, -2, -3, 0, 0, {3}},
        {multi, -2, -2, 0, 0, {}},
        // The row under the mouse, whatever the modifiers; Ctrl deselects it.
        {single, 5, 5, 0, FL_SHIFT, {5}}, {single, 2, 2, 0, FL_SHIFT, {2}}, {single, 5, 1, 6, 0, {1}},
        {single, 1, 4, 6, 0, {4}}, {single, 4, 4, 0, FL_CTRL, {}}, {none, 1, 3, 6, 0, {}},
    };
    auto at = [&](int r) {
        const std::pair<int, int> outside[] = {{50, 205}, {176, rowY(1)}, {174, rowY(1)}, {50, 189}};
        return r >= 0 ? std::pair{50, rowY(r)} : outside[-r - 1];
    };
    for (auto& k : gestures) {
        t->type(k.mode);
        auto [x1, y1] = at(k.from);
        auto [x2, y2] = at(k.to);
        qvtest::dragPath(&win, x1, y1, x2, y2, k.steps, k.mods);
        EXPECT_EQ(selected(), k.want) << "mode " << k.mode << " rows " << k.from << "-" << k.to << " mods " << k.mods;
    }
    const int pushed = qvtest::push(t, 50, rowY(1)), released = qvtest::release(t, 50, rowY(1));
    EXPECT_EQ(std::make_pair(pushed, released), std::make_pair(1, 1));
}

// Shift extends from the last row clicked while that row is in the table: rows(0), clear() and any cut below it
// forget it, and a Shift-click without one selects the clicked row alone. A table of 10^6 rows costs nothing to draw.
TEST_F(TableRowTest, AShiftClickExtendsOnlyFromALastRowStillInTheTable) {
    const int million = 1000000, CLEAR = -1;
    // Click row `clicked` of `rows`, then the counts in turn (CLEAR: clear() and two columns back), then Shift-click.
    const struct { int rows, clicked; std::vector<int> counts; int shifted; Rows want; } cases[] = {
        {million, 999990, {0, million}, 8, {8}},  // a reload
        {million, 999990, {CLEAR, million}, 8, {8}}, {million, 600, {300}, 5, {5}}, {10, 6, {6}, 3, {3}},
        {million, 2, {300}, 5, {2, 3, 4, 5}}, {10, 6, {7, million}, 4, {4, 5, 6}},  // still there
    };
    for (auto& k : cases) {
        t->rows(k.rows);
        t->row_position(k.clicked);
        qvtest::click(&win, 50, rowY(k.clicked));
        for (int n : k.counts) n == CLEAR ? (t->clear(), t->cols(2)) : t->rows(n);
        t->select_all_rows(0);
        t->row_position(k.shifted);
        qvtest::click(&win, 50, rowY(k.shifted), 1, FL_SHIFT);
        EXPECT_EQ(selected(), k.want) << "clicked " << k.clicked << " of " << k.rows;
    }
}

// A page key with Shift stretches the table's selection from its anchor and leaves the selected rows alone; the view
// follows the cursor by the rows it moved. A view scrolled to a row's edge counts the row above, which only touches
// it, as its top row: the page is then a row longer.
TEST_F(TableRowTest, ShiftWithAPageKeyStretchesFromTheAnchorAndScrollsByThePage) {
    t->rows(100);
    qvtest::click(&win, 50, rowY(1));
    qvtest::click(&win, 50, rowY(3), 1, FL_SHIFT);
    for (auto [key, cursor, scroll] : {std::tuple{FL_Page_Down, 9, 150}, {FL_Page_Down, 16, 325}, {FL_Page_Up, 9, 150}}) {
        EXPECT_EQ(qvtest::key(&win, key, FL_SHIFT), 1);
        int top, left, bottom, right;
        t->get_selection(top, left, bottom, right);
        EXPECT_EQ(std::make_tuple(top, left, bottom, right, int(t->vscrollbar->value()), selected()),
                  std::make_tuple(3, 0, cursor, 0, scroll, Rows{1, 2, 3})) << cursor;
    }
}

// Ten rows, 0-7 visible. Each operation returns, selects and repaints: only the visible cells of the rows that
// changed, or the whole table ("*") for whole-table changes, only when something changed.
TEST_F(TableRowTest, SelectingAndSwitchingModesRepaintOnlyWhatChanged) {
    t->rows(10);
    qvtest::flushDrawing();
    t->calls.clear();
    t->redraw();
    qvtest::flushDrawing();
    const std::string whole = t->calls;
    enum { ROW, ALL, MODE, COUNT };  // select_row(arg, flag), select_all_rows(flag), type(arg), rows(arg)
    const struct { int op, arg, flag, ret; Rows want; const char* painted; } steps[] = {
        {ROW, 0, 1, 1, {0}, "S c0,0 c0,1 E"}, {ROW, 4, 1, 1, {0, 4}, "S c4,0 c4,1 E"}, {ROW, 4, 1, 0, {0, 4}, ""},
        {ROW, 7, 1, 1, {0, 4, 7}, "S c7,0 c7,1 E"}, {ROW, 9, 1, 1, {0, 4, 7, 9}, ""},  // out of view
        {MODE, multi, 0, 0, {0, 4, 7, 9}, ""}, {MODE, single, 0, 0, {0}, "*"},          // keeps the first
        {ROW, 3, 1, 1, {3}, "S c0,0 c1,0 c2,0 c3,0 c0,1 c1,1 c2,1 c3,1 E"}, {ROW, 3, 1, 0, {3}, ""},
        {ALL, 0, 1, 0, {3}, ""},  // not in this mode
        {ROW, 3, 2, 1, {}, "S c3,0 c3,1 E"}, {ALL, 0, 0, 0, {}, ""}, {MODE, multi, 0, 0, {}, ""},
        {ROW, 5, 2, 1, {5}, "S c5,0 c5,1 E"}, {ALL, 0, 2, 0, {0, 1, 2, 3, 4, 6, 7, 8, 9}, "*"},
        {COUNT, 3, 0, 0, {0, 1, 2}, "S c0,0 c0,1 c1,0 c1,1 c2,0 c2,1 E"}, {COUNT, 10, 0, 0, {0, 1, 2}, "*"},  // rows back: unselected
        {ALL, 0, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "*"}, {ALL, 0, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, ""},
        {ROW, -1, 1, -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, ""}, {ROW, 10, 0, -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, ""},
        {MODE, none, 0, 0, {}, "*"}, {ROW, 1, 1, -1, {}, ""},
    };
    for (auto& k : steps) {
        t->calls.clear();
        const int ret = k.op == ROW ? t->select_row(k.arg, k.flag) : 0;
        k.op == ALL ? t->select_all_rows(k.flag) : k.op == MODE ? t->type(Fl_Table_Row::TableRowSelectMode(k.arg))
                                                  : k.op == COUNT ? t->rows(k.arg) : void();
        qvtest::flushDrawing();
        EXPECT_EQ(std::make_tuple(ret, selected(), t->calls), std::make_tuple(k.ret, k.want, k.painted == std::string("*") ? whole : k.painted))
            << k.op << " " << k.arg << " " << k.flag;
    }
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->row_selected(-1), t->row_selected(0)), std::make_tuple(0, 0, -1, -1));
}

// Thirty rows, seven and a half visible; the data area spans y = 12 to 208, its cells 14 to 206. Past an edge the
// rows scroll by the pixels the mouse moved since the previous drag event.
TEST_F(TableRowTest, ADragPastAnEdgeScrollsByTheRowsTheMouseMoved) {
    t->rows(30);
    t->row_position(10);
    qvtest::push(&win, 50, rowY(12));
    qvtest::drag(&win, 50, 12);  // on the top edge, in row 9 hidden above
    qvtest::drag(&win, 50, 11);  // from the edge: no scroll
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(10, Rows{9, 10, 11, 12}));
    qvtest::drag(&win, 50, 10);  // 1 pixel further up: 1 row
    EXPECT_EQ(t->row_position(), 9);
    qvtest::drag(&win, 50, 7);  // 3 pixels: 3 rows
    EXPECT_EQ(qvtest::drag(t, 50, 7), 1);  // then none
    qvtest::release(&win, 50, 7);
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(6, Rows{6, 7, 8, 9, 10, 11, 12}));
    t->row_position(0);
    qvtest::push(&win, 50, rowY(2));
    for (int y : {9, 6}) qvtest::drag(&win, 50, y);  // above, with no row above to scroll to
    EXPECT_EQ(selected(), Rows{2});
    for (int y : {210, 211, 213}) qvtest::drag(&win, 50, y);  // 1 pixel, then 2
    EXPECT_EQ(qvtest::drag(t, 50, 213), 1);                  // then none
    qvtest::release(&win, 50, 213);
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(3, Rows{2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// The table calls back into the subclass while it takes a new row count: the new rows' flags are already there.
TEST(TableRowRows, FlagsOfNewRowsExistWhenTheSubclassIsCalledBack) {
    struct Reader : Fl_Table_Row {
        Reader() : Fl_Table_Row(0, 0, 200, 200) { end(); }
        std::vector<int> seen;
        void draw_cell(TableContext c, int, int, int, int, int, int) override {
            if (c == CONTEXT_RC_RESIZE && rows() > 0) seen.push_back(row_selected(rows() - 1));
        }
    } t;
    t.cols(1), t.rows(10);
    EXPECT_EQ(t.seen, std::vector<int>(1, 0));
}
