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

// Seven rows of 25 pixels, two columns, all visible; the rows end at y = 189.
class TableRowTest : public ::testing::Test {
protected:
    Fl_Window win{0, 0, 400, 300};
    qvtest::RecordingCells<Fl_Table_Row>* t = new qvtest::RecordingCells<Fl_Table_Row>(10, 10, 300, 200);

    void SetUp() override {
        t->end();
        win.end();
        t->rows(7);
        t->cols(2);
        qvtest::showAndDraw(win);
    }
    int rowY(int r) {
        int X, Y, W, H;
        t->find_cell(qv::Fl_Table::CONTEXT_CELL, r, 0, X, Y, W, H);
        return Y + H / 2;
    }
    Rows selected() const {
        Rows out;
        for (int r = 0; r < t->rows(); ++r)
            if (t->row_selected(r) == 1) out.push_back(r);
        return out;
    }
};

TEST_F(TableRowTest, ClicksModifiersAndDragsInEachMode) {
    const auto multi = Fl_Table_Row::SELECT_MULTI, single = Fl_Table_Row::SELECT_SINGLE;
    // A click on row `from` when `to` is the same row, else a drag from `from` to `to`.
    const struct { Fl_Table_Row::TableRowSelectMode mode; int from, to, mods; Rows want; } steps[] = {
        {multi, 2, 2, 0, {2}}, {multi, 4, 4, 0, {4}}, {multi, 1, 1, FL_CTRL, {1, 4}}, {multi, 4, 4, FL_CTRL, {1}},
        {multi, 6, 6, FL_SHIFT, {1, 4, 5, 6}},                // from the last row clicked
        {multi, 3, 3, FL_CTRL | FL_SHIFT, {1, 3, 4, 5, 6}},  // Ctrl wins
        {multi, 0, 3, 0, {0, 1, 2, 3}}, {multi, 5, 2, 0, {2, 3, 4, 5}},
        {multi, 0, 1, FL_CTRL, {0, 1, 2, 3, 4, 5}},  // toggles each row entered
        // The row under the mouse, whatever the modifiers; Ctrl deselects it.
        {single, 5, 5, FL_SHIFT, {5}}, {single, 2, 2, FL_SHIFT, {2}}, {single, 5, 1, 0, {1}}, {single, 1, 4, 0, {4}},
        {single, 4, 4, FL_CTRL, {}}, {Fl_Table_Row::SELECT_NONE, 1, 3, 0, {}},
    };
    for (auto& s : steps) {
        t->type(s.mode);
        if (s.from == s.to)
            qvtest::click(&win, 50, rowY(s.from), 1, s.mods);
        else
            qvtest::dragPath(&win, 50, rowY(s.from), 50, rowY(s.to), 6, s.mods);
        EXPECT_EQ(selected(), s.want) << "mode " << s.mode << " rows " << s.from << "-" << s.to << " mods " << s.mods;
    }
}

TEST_F(TableRowTest, SwitchingModesAndSelectingAll) {
    for (int r : {2, 4, 6}) t->select_row(r, 1);
    t->type(Fl_Table_Row::SELECT_SINGLE);
    EXPECT_EQ(selected(), Rows{2});
    EXPECT_EQ(t->select_row(3, 1), 1);  // replaces the selected row
    EXPECT_EQ(t->select_row(3, 1), 0);
    t->select_all_rows(1);
    EXPECT_EQ(selected(), Rows{3});
    t->type(Fl_Table_Row::SELECT_MULTI);
    t->select_row(5, 1);
    EXPECT_EQ(t->select_row(5, 2), 1);  // toggles
    EXPECT_EQ(t->select_row(5, 2), 1);
    t->select_all_rows(2);  // toggles every row
    EXPECT_EQ(selected(), (Rows{0, 1, 2, 4, 6}));
    t->rows(3);
    t->rows(5);  // rows that come back are unselected
    EXPECT_EQ(selected(), (Rows{0, 1, 2}));
    t->select_all_rows(1);
    EXPECT_EQ(selected().size(), 5u);
    for (int r : {-1, 5}) EXPECT_EQ(std::make_pair(t->row_selected(r), t->select_row(r, 1)), std::make_pair(-1, -1));
    t->type(Fl_Table_Row::SELECT_NONE);
    EXPECT_EQ(selected(), Rows{});
    EXPECT_EQ(t->select_row(1, 1), -1);
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->row_selected(0)), std::make_tuple(0, 0, -1));
}

// Selecting repaints the cells of the rows that changed and no others.
TEST_F(TableRowTest, ASelectionChangeRepaintsOnlyItsRows) {
    const struct { Fl_Table_Row::TableRowSelectMode mode; int row, flag; const char* painted; } steps[] = {
        {Fl_Table_Row::SELECT_MULTI, 1, 1, "S c1,0 c1,1 E"},
        {Fl_Table_Row::SELECT_MULTI, 4, 1, "S c4,0 c4,1 E"},
        {Fl_Table_Row::SELECT_MULTI, 4, 1, ""},
        {Fl_Table_Row::SELECT_MULTI, 6, 1, "S c6,0 c6,1 E"},  // the bottom row
        {Fl_Table_Row::SELECT_MULTI, 6, 0, "S c6,0 c6,1 E"},
        {Fl_Table_Row::SELECT_SINGLE, 3, 1, "S c1,0 c2,0 c3,0 c1,1 c2,1 c3,1 E"},
        {Fl_Table_Row::SELECT_SINGLE, 3, 2, "S c3,0 c3,1 E"},
    };
    for (auto& k : steps) {
        t->type(k.mode);
        qvtest::flushDrawing();
        t->calls.clear();
        t->select_row(k.row, k.flag);
        qvtest::flushDrawing();
        EXPECT_EQ(t->order(), k.painted) << k.row;
    }
    // Whole-table changes repaint everything, and only when something changed.
    t->select_row(1, 1);
    for (auto [mode, damaged] : {std::pair{Fl_Table_Row::SELECT_MULTI, false}, {Fl_Table_Row::SELECT_SINGLE, true}}) {
        qvtest::flushDrawing();
        t->type(mode);
        EXPECT_EQ(t->damage() != 0, damaged) << mode;
    }
    const struct { int all; bool damaged; } all[] = {{1, false}, {-1, false}, {1, true}, {1, false},
                                                      {0, true}, {0, false}, {2, true}};
    for (auto& k : all) {
        if (k.all < 0) t->type(Fl_Table_Row::SELECT_MULTI);  // single mode only clears
        qvtest::flushDrawing();
        if (k.all >= 0) t->select_all_rows(k.all);
        EXPECT_EQ(t->damage() != 0, k.damaged) << k.all;
    }
}

// Thirty rows, seven and a half visible; the data area spans y = 14 to 206.
TEST_F(TableRowTest, ADragPastAnEdgeScrollsByTheRowsTheMouseMoved) {
    t->rows(30);
    t->row_position(10);
    qvtest::push(&win, 50, rowY(12));
    qvtest::drag(&win, 50, 14);  // on the top edge
    qvtest::drag(&win, 50, 11);  // from the edge: no scroll
    EXPECT_EQ(t->row_position(), 10);
    EXPECT_EQ(selected(), (Rows{10, 11, 12}));
    qvtest::drag(&win, 50, 6);  // 5 pixels further up: 5 rows
    qvtest::release(&win, 50, 6);
    EXPECT_EQ(t->row_position(), 5);
    EXPECT_EQ(selected(), (Rows{5, 6, 7, 8, 9, 10, 11, 12}));

    t->row_position(0);
    qvtest::push(&win, 50, rowY(2));
    qvtest::drag(&win, 50, 210);
    qvtest::drag(&win, 50, 212);
    qvtest::drag(&win, 50, 212);  // no move, no scroll
    qvtest::release(&win, 50, 212);
    EXPECT_EQ(t->row_position(), 2);
    EXPECT_EQ(selected(), (Rows{2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST_F(TableRowTest, AReleaseBelowTheDataClearsOnlyAfterAPushThere) {
    qvtest::push(&win, 50, rowY(2));
    qvtest::release(&win, 50, 205);
    EXPECT_EQ(selected(), Rows{2});
    qvtest::push(&win, 50, 198);
    qvtest::release(&win, 50, 205);
    EXPECT_EQ(selected(), Rows{});
    // Right of the columns, which end at x = 174.
    t->select_row(3, 1);
    qvtest::push(&win, 200, rowY(1));
    qvtest::release(&win, 100, rowY(4));
    EXPECT_EQ(selected(), Rows{3});
    qvtest::push(&win, 176, rowY(1));
    qvtest::release(&win, 176, rowY(4));
    EXPECT_EQ(selected(), Rows{});
}

// The table calls back into the subclass while it takes a new row count: the
// new rows' flags must already be there.
TEST(TableRowRows, FlagsOfNewRowsExistWhenTheSubclassIsCalledBack) {
    struct Lecteur : Fl_Table_Row {
        Lecteur() : Fl_Table_Row(0, 0, 200, 200) { end(); }
        std::vector<int> lus;
        void draw_cell(TableContext c, int, int, int, int, int, int) override {
            if (c == CONTEXT_RC_RESIZE && rows() > 0) lus.push_back(row_selected(rows() - 1));
        }
    } t;
    t.cols(1);
    t.rows(10);
    ASSERT_FALSE(t.lus.empty());
    EXPECT_EQ(t.lus.back(), 0);
}
