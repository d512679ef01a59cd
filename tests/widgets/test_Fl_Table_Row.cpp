#include "widgets/Fl_Table_Row.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <vector>

using qv::Fl_Table;
using qv::Fl_Table_Row;

namespace {

class RowProbe : public qvtest::RecordingCells<Fl_Table_Row> {
public:
    using RecordingCells::RecordingCells;
    using Fl_Table::tiy;

    // The smallest flag that a subclass saw when told the rows changed.
    int lowestFlagSeen = 1;
    void draw_cell(Context ctx, int R, int C, int X, int Y, int W, int H) override {
        if (ctx == CONTEXT_RC_RESIZE)
            for (int r = 0; r < rows(); ++r) lowestFlagSeen = std::min(lowestFlagSeen, row_selected(r));
        RecordingCells::draw_cell(ctx, R, C, X, Y, W, H);
    }
};

// Seven rows of 25 pixels, two columns, all visible; the data area starts at (14, 14).
class TableRowTest : public ::testing::Test {
protected:
    Fl_Window* win = nullptr;
    RowProbe* t = nullptr;

    void SetUp() override { build(7); }
    void build(int rows) {
        delete win;
        win = new Fl_Window(0, 0, 400, 300);
        t = new RowProbe(10, 10, 300, 200);
        t->end();
        win->end();
        t->rows(rows);
        t->cols(2);
        qvtest::showAndDraw(*win);
    }
    void TearDown() override { delete win; }

    int rowY(int r) {
        int X, Y, W, H;
        t->find_cell(Fl_Table::CONTEXT_CELL, r, 0, X, Y, W, H);
        return Y + H / 2;
    }
    void clickRow(int r, int mods = 0) { qvtest::click(win, 50, rowY(r), 1, mods); }
    void dragRows(int from, int to) { qvtest::dragPath(win, 50, rowY(from), 50, rowY(to), 6); }
    std::vector<int> selected() const {
        std::vector<int> out;
        for (int r = 0; r < t->rows(); ++r)
            if (t->row_selected(r) == 1) out.push_back(r);
        return out;
    }
};

using Rows = std::vector<int>;

TEST_F(TableRowTest, FlagsFollowTheRowCount) {
    EXPECT_EQ(t->row_selected(-1), -1);
    EXPECT_EQ(t->row_selected(7), -1);
    EXPECT_EQ(t->select_row(7, 1), -1);
    EXPECT_EQ(t->select_row(3, 1), 1);
    EXPECT_EQ(t->select_row(3, 1), 0);
    t->rows(10);
    EXPECT_EQ(selected(), Rows{3});
    t->rows(2);
    EXPECT_EQ(t->row_selected(3), -1);
    t->rows(5);
    EXPECT_EQ(selected(), Rows{});

    // A subclass told of the new rows already finds them, unselected.
    t->lowestFlagSeen = 1;
    t->rows(1000);
    EXPECT_EQ(t->lowestFlagSeen, 0);
}

TEST_F(TableRowTest, MultiSelectionWithClicksModifiersAndDrags) {
    ASSERT_EQ(t->type(), Fl_Table_Row::SELECT_MULTI);
    clickRow(2);
    EXPECT_EQ(selected(), Rows{2});
    clickRow(4);
    EXPECT_EQ(selected(), Rows{4});
    clickRow(1, FL_CTRL);
    EXPECT_EQ(selected(), (Rows{1, 4}));
    clickRow(4, FL_CTRL);
    EXPECT_EQ(selected(), Rows{1});
    clickRow(6, FL_SHIFT);  // from the last row clicked
    EXPECT_EQ(selected(), (Rows{1, 4, 5, 6}));
    clickRow(3, FL_CTRL | FL_SHIFT);  // Ctrl wins
    EXPECT_EQ(selected(), (Rows{1, 3, 4, 5, 6}));
    dragRows(0, 3);
    EXPECT_EQ(selected(), (Rows{0, 1, 2, 3}));
    dragRows(5, 2);
    EXPECT_EQ(selected(), (Rows{2, 3, 4, 5}));
}

TEST_F(TableRowTest, SingleSelectionKeepsTheRowUnderTheMouse) {
    t->type(Fl_Table_Row::SELECT_SINGLE);
    clickRow(2);
    clickRow(5, FL_SHIFT);
    EXPECT_EQ(selected(), Rows{5});
    clickRow(2, FL_SHIFT);
    EXPECT_EQ(selected(), Rows{2});
    dragRows(5, 1);
    EXPECT_EQ(selected(), Rows{1});
    dragRows(1, 4);
    EXPECT_EQ(selected(), Rows{4});
    clickRow(4, FL_CTRL);
    EXPECT_EQ(selected(), Rows{});
    t->select_row(1, 1);
    EXPECT_EQ(t->select_row(3, 1), 1);
    EXPECT_EQ(selected(), Rows{3});
}

TEST_F(TableRowTest, SwitchingModes) {
    for (int r : {2, 4, 6}) t->select_row(r, 1);
    t->type(Fl_Table_Row::SELECT_SINGLE);
    EXPECT_EQ(selected(), Rows{2});
    t->type(Fl_Table_Row::SELECT_MULTI);
    t->select_row(5, 1);
    EXPECT_EQ(selected(), (Rows{2, 5}));
    t->type(Fl_Table_Row::SELECT_NONE);
    EXPECT_EQ(selected(), Rows{});
    EXPECT_EQ(t->select_row(1, 1), -1);
    clickRow(1);
    EXPECT_EQ(selected(), Rows{});
}

TEST_F(TableRowTest, SelectAllRows) {
    t->select_all_rows(1);
    EXPECT_EQ(selected().size(), 7u);
    t->select_all_rows(2);
    EXPECT_EQ(selected(), Rows{});
    t->select_row(1, 1);
    t->select_all_rows(2);
    EXPECT_EQ(selected(), (Rows{0, 2, 3, 4, 5, 6}));
    t->select_all_rows(0);
    EXPECT_EQ(selected(), Rows{});

    t->type(Fl_Table_Row::SELECT_SINGLE);
    t->select_row(3, 1);
    t->select_all_rows(1);
    t->select_all_rows(2);
    EXPECT_EQ(selected(), Rows{3});
    t->select_all_rows(0);
    EXPECT_EQ(selected(), Rows{});
}

TEST_F(TableRowTest, AReleaseBelowTheDataClearsOnlyAfterAPushThere) {
    build(5);  // the rows end at y = 139
    clickRow(1);
    qvtest::push(win, 50, 170);
    qvtest::release(win, 50, 175);
    EXPECT_EQ(selected(), Rows{});

    qvtest::push(win, 50, rowY(2));
    qvtest::release(win, 50, 175);
    EXPECT_EQ(selected(), Rows{2});
}

TEST_F(TableRowTest, DraggingAboveTheTopScrollsUpByThePixelsMoved) {
    build(100);
    t->row_position(50);
    qvtest::push(win, 50, rowY(51));
    qvtest::drag(win, 50, 7);  // just above the data area
    qvtest::drag(win, 50, 4);  // three pixels further up
    qvtest::release(win, 50, 4);
    EXPECT_EQ(t->row_position(), 47);
    EXPECT_EQ(rowY(47), t->tiy + 12);
    EXPECT_EQ(selected(), (Rows{47, 48, 49, 50, 51}));
}

}  // namespace
