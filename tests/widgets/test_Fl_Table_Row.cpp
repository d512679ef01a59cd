#include "widgets/Fl_Table_Row.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using qv::Fl_Table_Row;
using Rows = std::vector<int>;
const auto multi = Fl_Table_Row::SELECT_MULTI, single = Fl_Table_Row::SELECT_SINGLE;

// Seven rows of 25 pixels, two columns, all visible: the rows end at y = 189,
// the columns at x = 174.
struct TableRowTest : ::testing::Test {
    Fl_Window win{0, 0, 400, 300};
    qvtest::TableProbe<Fl_Table_Row>* t = new qvtest::TableProbe<Fl_Table_Row>(10, 10, 300, 200);
    void SetUp() override {
        t->end();
        win.end();
        t->rows(7);
        t->cols(2);
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
    // Push on row `from`, drag in `steps` steps to row `to`, release there;
    // a row of -1 is the empty area below the rows, -2 right of the columns,
    // -3 the columns' right edge, -4 the rows' bottom edge.
    const struct { Fl_Table_Row::TableRowSelectMode mode; int from, to, steps, mods; Rows want; } gestures[] = {
        {multi, 3, 3, 0, FL_SHIFT, {3}},  // no row clicked before: this one
        {multi, 2, 2, 0, 0, {2}}, {multi, 4, 4, 0, 0, {4}}, {multi, 1, 1, 0, FL_CTRL, {1, 4}}, {multi, 4, 4, 0, FL_CTRL, {1}},
        {multi, 6, 6, 0, FL_SHIFT, {1, 4, 5, 6}},                // from the last row clicked
        {multi, 3, 3, 0, FL_CTRL | FL_SHIFT, {1, 3, 4, 5, 6}},  // Ctrl wins
        {multi, 0, 3, 6, 0, {0, 1, 2, 3}}, {multi, 5, 2, 6, 0, {2, 3, 4, 5}},
        {multi, 0, 1, 6, FL_CTRL, {0, 1, 2, 3, 4, 5}},  // toggles each row entered
        {multi, 0, 3, 1, 0, {0, 1, 2, 3}},  // one step: the rows between too
        {multi, 2, -1, 0, 0, {2}}, {multi, -4, -1, 0, 0, {2}},
        {multi, -1, -1, 0, 0, {}},  // pushed and released below the rows: cleared
        {multi, 3, 3, 0, 0, {3}}, {multi, -2, 4, 0, 0, {3}}, {multi, -3, -2, 0, 0, {3}}, {multi, -2, -2, 0, 0, {}},
        // The row under the mouse, whatever the modifiers; Ctrl deselects it.
        {single, 5, 5, 0, FL_SHIFT, {5}}, {single, 2, 2, 0, FL_SHIFT, {2}}, {single, 5, 1, 6, 0, {1}},
        {single, 1, 4, 6, 0, {4}}, {single, 4, 4, 0, FL_CTRL, {}}, {Fl_Table_Row::SELECT_NONE, 1, 3, 6, 0, {}},
    };
    auto at = [&](int r) { return r == -4 ? std::pair{50, 189} : r == -1 ? std::pair{50, 198} : r < -1 ? std::pair{r == -2 ? 176 : 174, rowY(1)} : std::pair{50, rowY(r)}; };
    for (auto& k : gestures) {
        t->type(k.mode);
        auto [x1, y1] = at(k.from);
        auto [x2, y2] = at(k.to);
        qvtest::dragPath(&win, x1, y1, x2, k.to == -1 ? 205 : y2, k.steps, k.mods);
        EXPECT_EQ(selected(), k.want) << "mode " << k.mode << " rows " << k.from << "-" << k.to << " mods " << k.mods;
    }
}

TEST_F(TableRowTest, SwitchingModesAndSelectingAll) {
    for (int r : {2, 4, 6}) t->select_row(r, 1);
    t->type(single);
    EXPECT_EQ(selected(), Rows{2});
    const int replaced = t->select_row(3, 1), again = t->select_row(3, 1);
    EXPECT_EQ(std::make_pair(replaced, again), std::make_pair(1, 0));
    t->select_all_rows(1);
    EXPECT_EQ(selected(), Rows{3});
    t->type(multi);
    t->select_row(5, 1);
    const int off = t->select_row(5, 2), on = t->select_row(5, 2);  // toggles
    EXPECT_EQ(std::make_pair(off, on), std::make_pair(1, 1));
    t->select_all_rows(2);  // toggles every row
    EXPECT_EQ(selected(), (Rows{0, 1, 2, 4, 6}));
    t->rows(3);
    t->rows(5);  // rows that come back are unselected
    EXPECT_EQ(selected(), (Rows{0, 1, 2}));
    for (int r : {-1, 5}) EXPECT_EQ(t->row_selected(r) + t->select_row(r, 1), -2) << r;
    t->type(Fl_Table_Row::SELECT_NONE);
    EXPECT_EQ(std::make_pair(selected(), t->select_row(1, 1)), std::make_pair(Rows{}, -1));
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->row_selected(0)), std::make_tuple(0, 0, -1));
}

// Selecting repaints the visible cells of the rows that changed, no others;
// whole-table changes repaint everything, only when something changed.
TEST_F(TableRowTest, ASelectionChangeRepaintsOnlyItsRows) {
    t->rows(30);  // rows 0-7 visible
    const struct { Fl_Table_Row::TableRowSelectMode mode; int row, flag; const char* painted; } steps[] = {
        {multi, 1, 1, "S c1,0 c1,1 E"}, {multi, 4, 1, "S c4,0 c4,1 E"}, {multi, 4, 1, ""},
        {multi, 7, 1, "S c7,0 c7,1 E"}, {multi, 7, 0, "S c7,0 c7,1 E"}, {multi, 20, 1, ""},  // out of view
        {single, 3, 1, "S c1,0 c2,0 c3,0 c1,1 c2,1 c3,1 E"}, {single, 3, 2, "S c3,0 c3,1 E"},
    };
    for (auto& k : steps) {
        t->type(k.mode);
        qvtest::flushDrawing();
        t->calls.clear();
        t->select_row(k.row, k.flag);
        qvtest::flushDrawing();
        EXPECT_EQ(t->order(), k.painted) << k.row;
    }
    t->select_row(1, 1);
    // A mode (-1: multi, -2: single, -3: none), or select_all_rows(flag).
    for (auto [step, damaged] : {std::pair{-1, false}, {-2, true}, {1, false}, {-1, false}, {1, true}, {1, false},
                                 {0, true}, {0, false}, {2, true}, {-3, true}}) {
        qvtest::flushDrawing();
        step < 0 ? t->type(step == -1 ? multi : step == -2 ? single : Fl_Table_Row::SELECT_NONE) : t->select_all_rows(step);
        EXPECT_EQ(t->damage() != 0, damaged) << step;
    }
}

// Thirty rows, seven and a half visible; the data area spans y = 12 to 208,
// its cells 14 to 206.
TEST_F(TableRowTest, ADragPastAnEdgeScrollsByTheRowsTheMouseMoved) {
    t->rows(30);
    t->row_position(10);
    qvtest::push(&win, 50, rowY(12));
    qvtest::drag(&win, 50, 12);  // on the top edge, in row 9 hidden above
    qvtest::drag(&win, 50, 9);   // from the edge: no scroll
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(10, Rows{9, 10, 11, 12}));
    qvtest::drag(&win, 50, 8);  // 1 pixel further up: 1 row
    EXPECT_EQ(t->row_position(), 9);
    qvtest::drag(&win, 50, 5);  // 3 pixels: 3 rows
    EXPECT_EQ(qvtest::drag(t, 50, 5), 1);  // then none
    qvtest::release(&win, 50, 5);
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(6, Rows{6, 7, 8, 9, 10, 11, 12}));

    t->row_position(0);
    qvtest::push(&win, 50, rowY(2));
    for (int y : {9, 6}) qvtest::drag(&win, 50, y);  // above, with no row above to scroll to
    EXPECT_EQ(selected(), Rows{2});
    for (int y : {210, 212}) qvtest::drag(&win, 50, y);  // 2 pixels
    EXPECT_EQ(qvtest::drag(t, 50, 212), 1);             // then none
    qvtest::release(&win, 50, 212);
    EXPECT_EQ(std::make_pair(t->row_position(), selected()), std::make_pair(2, Rows{2, 3, 4, 5, 6, 7, 8, 9}));
}

// The table calls back into the subclass while it takes a new row count: the
// new rows' flags must already be there.
TEST(TableRowRows, FlagsOfNewRowsExistWhenTheSubclassIsCalledBack) {
    struct Reader : Fl_Table_Row {
        Reader() : Fl_Table_Row(0, 0, 200, 200) { end(); }
        std::vector<int> seen;
        void draw_cell(TableContext c, int, int, int, int, int, int) override {
            if (c == CONTEXT_RC_RESIZE && rows() > 0) seen.push_back(row_selected(rows() - 1));
        }
    } t;
    t.cols(1);
    t.rows(10);
    EXPECT_EQ(t.seen, std::vector<int>(1, 0));
}
