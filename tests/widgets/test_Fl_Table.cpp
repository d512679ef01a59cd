#include "widgets/Fl_Table.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scroll.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <tuple>

using qv::Fl_Table;
using qvtest::TableCallbackLog;
using Quad = std::tuple<int, int, int, int>;
using E = TableCallbackLog::Entry;
using Log = std::vector<E>;

namespace {

const int CELL = Fl_Table::CONTEXT_CELL, TABLE = Fl_Table::CONTEXT_TABLE, RESIZE = Fl_Table::CONTEXT_RC_RESIZE;

// Exposes what the table keeps for its subclasses; deletes itself from the
// next drag once `deletedOnDrag` is set.
class Probe : public qvtest::RecordingCells<Fl_Table> {
public:
    using RecordingCells::RecordingCells;
    using Fl_Table::botrow;
    int rightcol() const { return Fl_Table::rightcol; }
    Fl_Scroll* cellGroup() const { return table; }
    using Fl_Table::hscrollbar;
    using Fl_Table::toprow;
    using Fl_Table::vscrollbar;

    bool* deletedOnDrag = nullptr;
    int handle(int event) override {
        if (event == FL_DRAG && deletedOnDrag) Fl::add_timeout(0.0, deleteIt, this);
        return RecordingCells::handle(event);
    }
    static void deleteIt(void* d) {
        *static_cast<Probe*>(d)->deletedOnDrag = true;
        delete static_cast<Probe*>(d);
    }
    // anchor row, anchor column, cursor row, cursor column
    Quad selection() const { return Quad(current_row, current_col, select_row, select_col); }
    // The data area inside headers and scrollbars, where cells are drawn.
    Quad area() const { return Quad(tix, tiy, tiw, tih); }
    Quad cell(TableContext ctx, int r, int c, int* ret = nullptr) {
        int X = 7, Y = 7, W = 7, H = 7;
        int rc = find_cell(ctx, r, c, X, Y, W, H);
        if (ret) *ret = rc;
        return Quad(X, Y, W, H);
    }
    Quad bounds(TableContext ctx) {
        int X = 7, Y = 7, W = 7, H = 7;
        get_bounds(ctx, X, Y, W, H);
        return Quad(X, Y, W, H);
    }
    void scrollTo(Fl_Scrollbar* bar, int value) {
        bar->value(value);
        bar->do_callback();
    }
};

// A 300 x 200 table at (10, 10) in a 400 x 300 window; inside its frames the
// data area starts at (14, 14) and is 292 x 192 before scrollbars and headers.
class TableTest : public ::testing::Test {
protected:
    Fl_Window* win = nullptr;
    Probe* t = nullptr;
    TableCallbackLog log;

    void build(int rows, int cols, int h = 200, bool headers = false) {
        delete win;
        win = new Fl_Window(0, 0, 400, 300);
        t = new Probe(10, 10, 300, h);
        t->end();
        win->end();
        t->rows(rows);
        t->cols(cols);
        t->row_header(headers);
        t->col_header(headers);
    }
    void TearDown() override { delete win; }
    std::pair<int, int> middle(Fl_Table::TableContext ctx, int r, int c) {
        auto [X, Y, W, H] = t->cell(ctx, r, c);
        return {X + W / 2, Y + H / 2};
    }
    // A click in the middle of a cell; the second one of a double click with `twice`.
    void clickCell(Fl_Table::TableContext ctx, int r, int c, bool twice = false) {
        auto [x, y] = middle(ctx, r, c);
        twice ? qvtest::doubleClick(win, x, y) : qvtest::click(win, x, y);
    }
};

TEST_F(TableTest, CountsAndSizes) {
    build(3, 2);
    log.attach(*t);
    t->when(FL_WHEN_CHANGED);
    t->row_height(2, 40);
    t->row_height(2, 40);  // unchanged: no callback
    t->row_height(-1, 10);
    t->col_width(1, 50);
    EXPECT_EQ(log.entries, (Log{{RESIZE, 2, 0, 0}, {RESIZE, 0, 1, 0}}));
    t->rows(5);
    t->cols(4);
    EXPECT_EQ(std::make_tuple(t->row_height(1), t->row_height(4), t->col_width(0), t->col_width(3)),
              std::make_tuple(25, 40, 80, 50));
    EXPECT_EQ(t->row_height(5) + t->row_height(-1), 0);  // outside the array
    t->row_height(7, 30);  // grows the heights, not the count
    EXPECT_EQ(std::make_tuple(t->rows(), t->row_height(6), t->row_height(7)), std::make_tuple(5, 30, 30));
    // The last rows stay reachable after a row above the top grows.
    t->rows(100);
    t->row_position(50);
    t->row_height(10, 125);
    t->row_position(99);
    EXPECT_EQ(t->botrow, 99);
    auto [X, Y, W, H] = t->cell(Fl_Table::CONTEXT_CELL, 99, 0);
    EXPECT_EQ(Y + H, std::get<1>(t->area()) + std::get<3>(t->area()));
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->toprow, t->botrow), std::make_tuple(0, 0, -1, -1));
    // Rows that exactly fit do not scroll.
    t->rows(8);
    t->cols(2);
    t->row_height_all(24);
    t->row_position(3);
    EXPECT_EQ(std::make_pair(t->row_position(), int(t->vscrollbar->value())), std::make_pair(0, 0));
}

TEST_F(TableTest, ScrollingRepaintsTheCells) {
    build(100, 10);
    t->cellColors = {FL_RED, FL_GREEN, FL_BLUE};
    const qvtest::Rgb color[3] = {qvtest::rgbOf(FL_RED), qvtest::rgbOf(FL_GREEN), qvtest::rgbOf(FL_BLUE)};
    qvtest::showAndDraw(*win);
    // 10 pixels into the data area, in cell ((scroll y + 10) / 25, (scroll x + 10) / 80).
    auto seen = [&] { return qvtest::pixelAt(*win, 24, 24); };
    EXPECT_EQ(seen(), color[0]);
    qvtest::wheel(win, 100, 100, 3);  // three lines of 16 pixels: row 2
    EXPECT_EQ(t->vscrollbar->value(), 48);
    EXPECT_EQ(seen(), color[2]);
    t->scrollTo(t->hscrollbar, 100);  // column 1
    EXPECT_EQ(seen(), color[0]);
    t->scrollTo(t->vscrollbar, 260);  // row 10
    EXPECT_EQ(seen(), color[2]);
    t->row_position(20);
    EXPECT_EQ(t->row_position(), 20);
    EXPECT_EQ(seen(), color[0]);
    t->col_position(2);
    EXPECT_EQ(t->col_position(), 2);
    EXPECT_EQ(seen(), color[1]);
    qvtest::wheel(win, 100, 100, -40);
    EXPECT_EQ(t->vscrollbar->value(), 0);
    EXPECT_EQ(seen(), color[2]);
    // A click on a scrollbar scrolls, and is not a click on the table.
    t->set_selection(1, 1, 1, 1);
    log.attach(*t);
    qvtest::click(win, t->vscrollbar->x() + 8, 150);
    EXPECT_GT(t->vscrollbar->value(), 0);
    EXPECT_EQ(t->selection(), Quad(1, 1, 1, 1));
    EXPECT_EQ(log.entries, Log{});
}

TEST_F(TableTest, FindCellAndBoundsInEveryContext) {
    build(5, 3, 200, true);
    // The data area starts at (54, 32): the frames, a 40-pixel row header and
    // an 18-pixel column header.
    const struct { Fl_Table::TableContext ctx; int r, c, ret; Quad rect; } cases[] = {
        {Fl_Table::CONTEXT_CELL, 1, 2, 0, {214, 57, 80, 25}},  {Fl_Table::CONTEXT_TABLE, 4, 0, 0, {54, 132, 80, 25}},
        {Fl_Table::CONTEXT_ROW_HEADER, 2, 0, 0, {12, 82, 40, 25}},
        {Fl_Table::CONTEXT_COL_HEADER, 0, 1, 0, {134, 12, 80, 18}},
        {Fl_Table::CONTEXT_CELL, 5, 0, -1, {0, 0, 0, 0}},  {Fl_Table::CONTEXT_CELL, 0, 3, -1, {0, 0, 0, 0}},
        {Fl_Table::CONTEXT_CELL, -1, 0, -1, {0, 0, 0, 0}}, {Fl_Table::CONTEXT_COL_HEADER, 0, -1, -1, {0, 0, 0, 0}},
        {Fl_Table::CONTEXT_STARTPAGE, 1, 2, -1, {214, 57, 80, 25}},
    };
    testing::internal::CaptureStderr();
    for (auto& k : cases) {
        int ret = 0;
        EXPECT_EQ(t->cell(k.ctx, k.r, k.c, &ret), k.rect) << k.ctx << " " << k.r << "," << k.c;
        EXPECT_EQ(ret, k.ret) << k.ctx << " " << k.r << "," << k.c;
    }
    const struct { Fl_Table::TableContext ctx; int r, c, ret, wantR, wantC; } clamps[] = {
        {Fl_Table::CONTEXT_CELL, -1, 9, 1, 0, 2}, {Fl_Table::CONTEXT_TABLE, 4, 2, 0, 4, 2},
        {Fl_Table::CONTEXT_CELL, 2, -1, 1, 2, 0},
        {Fl_Table::CONTEXT_ROW_HEADER, 9, 7, 1, 9, 2}, {Fl_Table::CONTEXT_COL_HEADER, 9, 7, 1, 4, 7},
    };
    for (auto k : clamps) {
        EXPECT_EQ(t->row_col_clamp(k.ctx, k.r, k.c), k.ret) << k.ctx;
        EXPECT_EQ(std::make_pair(k.r, k.c), std::make_pair(k.wantR, k.wantC)) << k.ctx;
    }
    EXPECT_EQ(t->bounds(Fl_Table::CONTEXT_ROW_HEADER), Quad(12, 30, 40, 178));
    EXPECT_EQ(t->bounds(Fl_Table::CONTEXT_COL_HEADER), Quad(52, 12, 256, 18));
    EXPECT_EQ(t->bounds(Fl_Table::CONTEXT_TABLE), Quad(54, 32, 252, 174));
    EXPECT_EQ(t->bounds(Fl_Table::CONTEXT_CELL), Quad(7, 7, 7, 7));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fl_Table::find_cell: unknown context 1\nFl_Table::get_bounds(): context 16 unimplemented\n");
    // Headers still have cells when the other dimension is empty.
    t->cols(0);
    EXPECT_EQ(t->cell(Fl_Table::CONTEXT_ROW_HEADER, 1, 0), Quad(12, 57, 40, 25));
    t->cols(3);
    t->rows(0);
    EXPECT_EQ(t->cell(Fl_Table::CONTEXT_COL_HEADER, 0, 2), Quad(214, 12, 80, 18));
}

TEST_F(TableTest, EachScrollbarShowsWhenItsDimensionOverflows) {
    // 292 x 192 available; a scrollbar takes 16 pixels from the other dimension.
    const struct { int rows, rowh, cols, colw; bool v, h; } cases[] = {
        {7, 25, 3, 80, false, false}, {8, 25, 3, 80, true, false}, {3, 25, 4, 80, false, true},
        {6, 30, 4, 80, true, true},   // 180 fits, but not beside a horizontal bar
        {8, 25, 4, 70, true, true},   // 280 fits, but not beside a vertical bar
        {8, 22, 4, 80, false, true}, {8, 25, 4, 69, true, false},  // just fit beside the other bar
    };
    build(0, 0);
    for (auto& k : cases) {
        t->rows(k.rows);
        t->cols(k.cols);
        t->row_height_all(k.rowh);
        for (int c = 0; c < k.cols; ++c) t->col_width(c, k.colw);
        EXPECT_EQ(t->vscrollbar->visible() != 0, k.v) << k.rows << "x" << k.rowh << " " << k.cols << "x" << k.colw;
        EXPECT_EQ(t->hscrollbar->visible() != 0, k.h) << k.rows << "x" << k.rowh << " " << k.cols << "x" << k.colw;
        EXPECT_EQ(std::get<2>(t->area()), 292 - (k.v ? 16 : 0));
        EXPECT_EQ(std::get<3>(t->area()), 192 - (k.h ? 16 : 0));
    }
}

TEST_F(TableTest, KeysOnAThreeByFourTable) {
    build(3, 4);  // all visible: a page is one row
    log.attach(*t);
    const int release = FL_WHEN_RELEASE, unchanged = FL_WHEN_NOT_CHANGED | FL_WHEN_RELEASE;
    const struct { int r, c, key, mods, when; bool focused; int ret; Quad want; Log calls; } cases[] = {
        {1, 1, FL_Right, 0, release, true, 1, {1, 2, 1, 2}, {}},
        {0, 3, FL_Right, 0, release, true, 1, {1, 0, 1, 0}, {}},  // wraps to the next row
        {2, 3, FL_Right, 0, release, true, 1, {0, 0, 0, 0}, {}},
        {0, 3, FL_Right, FL_SHIFT, release, true, 1, {0, 3, 1, 0}, {}},  // the anchor stays
        {2, 3, FL_Right, FL_SHIFT, release, true, 1, {2, 3, 0, 0}, {}},
        {1, 2, FL_Home, 0, release, true, 1, {1, 0, 1, 0}, {}},
        {1, 2, FL_End, 0, release, true, 1, {1, 3, 1, 3}, {}},
        {1, 1, FL_Left, 0, release, true, 1, {1, 0, 1, 0}, {}},
        {-1, -1, FL_Right, 0, release, true, 1, {0, 1, 0, 1}, {}},  // from no cursor: from (0, 0)
        {-1, -1, FL_Down, 0, release, true, 1, {1, 0, 1, 0}, {}},
        {1, 1, FL_Up, 0, release, true, 1, {0, 1, 0, 1}, {}},
        {0, 1, FL_Page_Down, 0, release, true, 1, {1, 1, 1, 1}, {}},
        {2, 1, FL_Page_Up, 0, release, true, 1, {1, 1, 1, 1}, {}},
        // A key that cannot move reaches only a callback that asks for it.
        {1, 0, FL_Left, 0, release, true, 0, {1, 0, 1, 0}, {}},
        {0, 2, FL_Page_Up, 0, release, true, 0, {0, 2, 0, 2}, {}},
        {2, 1, FL_Down, 0, unchanged, true, 1, {2, 1, 2, 1}, {{CELL, 2, 1, 0}}},
        {1, 2, 'a', 0, unchanged, true, 1, {1, 2, 1, 2}, {{CELL, 1, 2, 0}}},
        // A move takes the focus, and tells the callback first.
        {1, 1, FL_Down, 0, release, false, 1, {2, 1, 2, 1}, {{TABLE, -1, -1, 0}}},
    };
    for (auto& k : cases) {
        t->set_selection(k.r, k.c, k.r, k.c);
        t->when(k.when);
        Fl::focus(k.focused ? t : nullptr);
        log.entries.clear();
        EXPECT_EQ(qvtest::key(t, k.key, k.mods), k.ret) << k.r << "," << k.c << " key " << k.key;
        EXPECT_EQ(t->selection(), k.want) << k.r << "," << k.c << " key " << k.key << " mods " << k.mods;
        EXPECT_EQ(log.entries, k.calls) << k.r << "," << k.c << " key " << k.key;
        EXPECT_EQ(Fl::focus() == t, k.focused || k.ret) << k.r << "," << k.c << " key " << k.key;
    }
    t->callback(Fl_Widget::default_callback);  // which the default callback does not
    t->when(unchanged);
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);
}

TEST_F(TableTest, PagesMoveByTheVisibleRowsLessOne) {
    // Table heights giving 1, 2 and 4 visible rows of 25 pixels.
    for (auto [height, visible, down, up] : {std::tuple{33, 1, 5, 5}, {40, 2, 5, 5}, {108, 4, 7, 3}}) {
        build(10, 1, height);
        ASSERT_EQ(t->botrow - t->toprow + 1, visible);
        t->set_selection(5, 0, 5, 0);
        qvtest::key(t, FL_Page_Down);
        EXPECT_EQ(t->selection(), Quad(down, 0, down, 0)) << visible << " visible";
        t->set_selection(5, 0, 5, 0);
        t->row_position(0);
        qvtest::key(t, FL_Page_Up);
        EXPECT_EQ(t->selection(), Quad(up, 0, up, 0)) << visible << " visible";
    }
    // Keys on an empty table do not move the cursor.
    build(0, 0);
    Fl::focus(t);
    for (int cols : {0, 3}) {
        t->cols(cols);
        t->rows(3 - cols);  // nothing at all, then columns but no rows
        for (int k : {FL_Right, FL_Down, FL_Home, FL_End, FL_Page_Down}) EXPECT_EQ(qvtest::key(t, k), 0) << k;
        EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
    }
}

// At first rows 0-6 are whole and row 7 shows one pixel; columns 0-2 are
// whole and column 3 shows 36 of its 80 pixels.
TEST_F(TableTest, TheCursorMovedOntoAPartlyHiddenCellScrollsItIntoView) {
    build(20, 10);
    const struct { int r, c, key; int vwant, hwant; } steps[] = {
        {6, 0, FL_Down, 175, 0},  // row 7 goes to the top
        {8, 0, FL_Down, 175, 0},  // rows 7-14 are whole: no scroll
        {7, 0, FL_Up, 150, 0},    // row 6 lies above the top row
        {0, 2, FL_Right, 0, 240}, {0, 5, FL_Left, 0, 240}, {0, 3, FL_Left, 0, 160},
    };
    for (auto& k : steps) {
        t->set_selection(k.r, k.c, k.r, k.c);
        qvtest::key(t, k.key);
        EXPECT_EQ(std::make_pair(int(t->vscrollbar->value()), int(t->hscrollbar->value())),
                  std::make_pair(k.vwant, k.hwant)) << k.r << "," << k.c << " key " << k.key;
    }
}

TEST_F(TableTest, CornerHeaderAndCellClicks) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    EXPECT_EQ(qvtest::push(t, 30, 18), 1);  // where the two headers meet
    qvtest::release(t, 30, 18);
    EXPECT_EQ(t->selection(), Quad(0, 0, 4, 2));
    clickCell(Fl_Table::CONTEXT_ROW_HEADER, 2, 0);
    EXPECT_EQ(t->selection(), Quad(2, 0, 2, 2));
    clickCell(Fl_Table::CONTEXT_COL_HEADER, 0, 1);
    EXPECT_EQ(t->selection(), Quad(0, 1, 4, 1));
    // Drags stretch a selection along what was pushed: columns, rows, or a
    // block of cells that a header does not change.
    const struct { Fl_Table::TableContext from; int r1, c1; Fl_Table::TableContext to; int r2, c2; Quad want; int taken; } drags[] = {
        {Fl_Table::CONTEXT_COL_HEADER, 0, 1, Fl_Table::CONTEXT_COL_HEADER, 0, 2, {0, 1, 4, 2}, 1},
        {Fl_Table::CONTEXT_COL_HEADER, 0, 2, Fl_Table::CONTEXT_CELL, 3, 0, {0, 2, 4, 0}, 1},
        {Fl_Table::CONTEXT_ROW_HEADER, 1, 0, Fl_Table::CONTEXT_CELL, 3, 1, {1, 0, 3, 2}, 1},
        {Fl_Table::CONTEXT_CELL, 1, 2, Fl_Table::CONTEXT_ROW_HEADER, 3, 0, {1, 2, 1, 2}, 0},
        {Fl_Table::CONTEXT_CELL, 1, 2, Fl_Table::CONTEXT_CELL, 2, 0, {1, 2, 2, 0}, 1},
    };
    for (auto& k : drags) {
        auto [x1, y1] = middle(k.from, k.r1, k.c1);
        auto [x2, y2] = middle(k.to, k.r2, k.c2);
        qvtest::push(win, x1, y1);
        EXPECT_EQ(qvtest::drag(win, x2, y2), k.taken);
        qvtest::release(win, x2, y2);
        EXPECT_EQ(t->selection(), k.want) << k.from << " " << k.r1 << "," << k.c1 << " to " << k.to;
    }
    // The selection is the rectangle between anchor and cursor, either way round.
    t->set_selection(3, 2, 1, 0);
    int top, left, bottom, right;
    t->get_selection(top, left, bottom, right);
    EXPECT_EQ(Quad(top, left, bottom, right), Quad(1, 0, 3, 2));
    const struct { int r, c, in; } probes[] = {{1, 0, 1}, {3, 2, 1}, {2, 1, 1}, {0, 1, 0}, {4, 1, 0}, {2, 3, 0}, {2, -1, 0}};
    for (auto& p : probes) EXPECT_EQ(t->is_selected(p.r, p.c), p.in) << p.r << "," << p.c;
    log.attach(*t);
    Fl::focus(nullptr);
    clickCell(Fl_Table::CONTEXT_CELL, 1, 2);  // takes the focus, then push and release
    EXPECT_EQ(log.entries, (Log{{TABLE, -1, -1, 0}, {CELL, 1, 2, 0}, {CELL, 1, 2, 0}}));
    EXPECT_EQ(t->selection(), Quad(1, 2, 1, 2));

    log.entries.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 3, 0, true);
    EXPECT_EQ(log.entries, (Log{{CELL, 3, 0, 0}, {CELL, 3, 0, 0}, {CELL, 3, 0, 1}, {CELL, 3, 0, 1}}));

    // The release reports only on the row pushed, with the column released on.
    auto [x1, y1] = middle(Fl_Table::CONTEXT_CELL, 1, 0);
    auto [x2, y2] = middle(Fl_Table::CONTEXT_CELL, 2, 2);
    log.entries.clear();
    qvtest::push(win, x1, y1);
    qvtest::release(win, x2, y2);
    qvtest::push(win, x1, y1);
    qvtest::release(win, x2, y1);
    EXPECT_EQ(log.entries, (Log{{CELL, 1, 0, 0}, {CELL, 1, 0, 0}, {CELL, 1, 2, 0}}));
    // A right click reports its cell but leaves the selection. Below the last
    // row a push selects nothing and is not taken.
    log.entries.clear();
    EXPECT_EQ(qvtest::push(t, x2, y2, 3), 1);
    EXPECT_EQ(qvtest::release(t, x2, y2, 3), 0);
    EXPECT_EQ(t->selection(), Quad(1, 0, 1, 0));
    EXPECT_EQ(qvtest::push(t, x2, 180), 0);
    EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
    EXPECT_EQ(log.entries, (Log{{CELL, 2, 2, 0}, {CELL, 2, 2, 0}, {TABLE, 0, 0, 0}}));
    // With a single row the column headers still answer.
    t->rows(1);
    log.entries.clear();
    auto [hx, hy] = middle(Fl_Table::CONTEXT_COL_HEADER, 0, 2);
    qvtest::click(win, hx, hy);
    EXPECT_EQ(log.entries, (Log{{Fl_Table::CONTEXT_COL_HEADER, 0, 2, 0}, {Fl_Table::CONTEXT_COL_HEADER, 0, 2, 0}}));
}

TEST_F(TableTest, HeaderBordersResizeRowsAndColumns) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    t->row_resize(1);
    t->col_resize(1);
    // Pushes at an offset inside header cell 2, then a drag in two steps; 25 x 80 cells.
    const struct { bool row; int offset, by, resized, size; } cases[] = {
        {true, 0, 10, 1, 35},  {false, 0, 16, 1, 96},
        {true, 3, 10, 1, 35},  {true, 4, 10, -1, 0},  {true, 21, 10, -1, 0},   {true, 22, 10, 2, 35},
        {true, 24, -100, 2, 1}, {false, 2, 16, 1, 96}, {false, 77, 16, 2, 96}, {false, 79, -200, 2, 1},
    };
    for (auto& k : cases) {
        t->row_height_all(25);
        for (int c = 0; c < 3; ++c) t->col_width(c, 80);
        auto [X, Y, W, H] = t->cell(k.row ? Fl_Table::CONTEXT_ROW_HEADER : Fl_Table::CONTEXT_COL_HEADER,
                                    k.row ? 2 : 0, k.row ? 0 : 2);
        int px = k.row ? X + W / 2 : X + k.offset, py = k.row ? Y + k.offset : Y + H / 2;
        qvtest::push(win, px, py);
        for (int half : {1, 2}) qvtest::drag(win, px + (k.row ? 0 : k.by * half / 2), py + (k.row ? k.by * half / 2 : 0));
        qvtest::release(win, px, py);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(k.row ? t->row_height(i) : t->col_width(i), i == k.resized ? k.size : (k.row ? 25 : 80))
                << (k.row ? "row" : "column") << " offset " << k.offset << " size of " << i;
    }
    // Each drag step reports the new size, then the cell under the mouse.
    log.attach(*t);
    t->when(FL_WHEN_CHANGED);
    auto [X, Y, W, H] = t->cell(Fl_Table::CONTEXT_COL_HEADER, 0, 0);
    qvtest::push(win, X + W - 1, Y + 5);
    qvtest::drag(win, X + W + 9, Y + 5);
    qvtest::release(win, X + W + 9, Y + 5);
    EXPECT_EQ(log.entries, (Log{{RESIZE, 0, 0, 0}, {RESIZE, 0, 1, 0}}));
    EXPECT_EQ(t->col_width(0), 90);
}

TEST_F(TableTest, AutoDragScrollsBy30UntilTheReleaseOrTheDeletion) {
    build(100, 20);
    qvtest::showAndDraw(*win);
    // Waits until the bar reaches `target` by steps of 30 (or `seconds` pass).
    auto follow = [&](Fl_Scrollbar* bar, int target, double seconds = 5) {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        int last = bar->value();
        while (bar->value() != target && std::chrono::steady_clock::now() < fin) {
            Fl::wait(0.005);
            if (bar->value() == last) continue;
            EXPECT_EQ(std::abs(bar->value() - last), 30);
            last = bar->value();
        }
    };
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 280, 180);  // inside the band: no scroll
    follow(t->vscrollbar, -1, 0.4);
    EXPECT_EQ(std::make_pair(t->vscrollbar->value(), t->hscrollbar->value()), std::make_pair(0, 0));
    qvtest::drag(win, 100, 200);  // below the band where the table scrolls by itself
    follow(t->vscrollbar, 120);
    EXPECT_EQ(std::get<2>(t->selection()), t->botrow);  // the cursor follows the pinned mouse
    EXPECT_EQ(qvtest::drag(win, 30, 100), 1);  // the timer drives: a real drag is ignored
    EXPECT_EQ(std::get<3>(t->selection()), 1);
    qvtest::release(win, 100, 200);
    for (int i = 0; i < 30; ++i) Fl::wait(0.01);
    EXPECT_EQ(t->vscrollbar->value(), 120);
    // Right, then up and left.
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 300, 100);
    follow(t->hscrollbar, 60);
    EXPECT_EQ(std::get<3>(t->selection()), t->rightcol());
    qvtest::drag(win, 12, 12);
    follow(t->vscrollbar, 60);
    qvtest::release(win, 12, 12);
    EXPECT_EQ(std::make_pair(t->vscrollbar->value(), t->hscrollbar->value()), std::make_pair(60, 0));
    // A release callback that waits (a dialog) sees no more scrolling.
    t->callback([](Fl_Widget*, void*) {
        for (int i = 0; i < 40; ++i) Fl::wait(0.01);
    });
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 100, 200);
    qvtest::release(win, 100, 200);
    EXPECT_EQ(t->vscrollbar->value(), 60);

    // The table deleted while the timer is armed.
    for (bool fromItsTimer : {false, true}) {
        build(100, 10);
        qvtest::showAndDraw(*win);
        qvtest::push(win, 100, 50);
        qvtest::drag(win, 100, 200);
        bool deleted = !fromItsTimer;
        if (fromItsTimer)
            t->deletedOnDrag = &deleted;  // from the timer's own drag pass
        else
            delete t;
        for (int i = 0; i < 100 && !deleted; ++i) Fl::wait(0.01);
        EXPECT_TRUE(deleted);
        for (int i = 0; i < 50; ++i) Fl::wait(0.01);  // past the timer's delay
    }
}

TEST_F(TableTest, FullDrawThenPartialRepaintOfASelectionChange) {
    build(3, 2, 200, true);
    qvtest::showAndDraw(*win);
    t->calls.clear();
    t->redraw();
    qvtest::flushDrawing();
    EXPECT_EQ(t->order(), "S R0,0 R1,0 R2,0 C0,0 C0,1 c0,0 c0,1 c1,0 c1,1 c2,0 c2,1 E");

    clickCell(Fl_Table::CONTEXT_CELL, 1, 1);
    qvtest::flushDrawing();
    t->calls.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 2, 0);
    qvtest::flushDrawing();
    EXPECT_EQ(t->order(), "S c1,0 c2,0 c1,1 c2,1 E");
    // The cells leaving the selection are repainted with those entering it.
    t->calls.clear();
    t->set_selection(0, 1, 0, 1);
    qvtest::flushDrawing();
    EXPECT_EQ(t->order(), "S c0,0 c1,0 c2,0 c0,1 c1,1 c2,1 E");
}

TEST_F(TableTest, PixelsOfTheScrollbarSquareAndOfClippedCells) {
    build(20, 10);
    t->row_height_all(30);
    t->color(FL_BLUE);
    qvtest::showAndDraw(*win);
    const qvtest::Rgb white = qvtest::rgbOf(FL_WHITE);
    EXPECT_EQ(qvtest::pixelAt(*win, t->vscrollbar->x() + 8, t->hscrollbar->y() + 8), qvtest::rgbOf(FL_BLUE));
    // Row 5 is cut by the data area's bottom edge, column 3 by its right edge.
    ASSERT_EQ(t->botrow, 5);
    auto [X, Y, W, H] = t->area();
    EXPECT_EQ(qvtest::pixelAt(*win, X + 10, Y + H - 1), white);
    EXPECT_NE(qvtest::pixelAt(*win, X + 10, t->hscrollbar->y() + 8), white);
    EXPECT_EQ(qvtest::pixelAt(*win, X + W - 1, Y + 10), white);
    EXPECT_NE(qvtest::pixelAt(*win, t->vscrollbar->x() + 8, Y + 10), white);
}

// Header cells end where their rows and columns do; the strips' ends beyond
// them show the header colour, before and after a scroll.
TEST_F(TableTest, HeaderStripsAfterAScroll) {
    build(20, 10, 200, true);
    win->color(FL_CYAN);  // unlike the headers, so that unpainted pixels show
    qvtest::showAndDraw(*win);
    auto [X, Y, W, H] = t->area();
    const qvtest::Rgb header = qvtest::rgbOf(t->headerColor), rowBand = qvtest::rgbOf(t->row_header_color()),
                      colBand = qvtest::rgbOf(t->col_header_color());
    for (int scroll : {50, 0, 2000}) {
        t->scrollTo(t->hscrollbar, scroll);
        t->scrollTo(t->vscrollbar, scroll);
        qvtest::flushDrawing();
        EXPECT_EQ(qvtest::pixelAt(*win, X, 20), header) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, X - 1, 20), colBand) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, X + W - 1, 20), header) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, X + W, 20), colBand) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, 30, Y), header) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, 30, Y - 1), rowBand) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, 30, Y + H - 1), header) << scroll;
        EXPECT_EQ(qvtest::pixelAt(*win, 30, Y + H), rowBand) << scroll;
    }
    EXPECT_NE(qvtest::pixelAt(*win, X - 2, Y + 50), qvtest::rgbOf(FL_CYAN));  // the cells' frame
    // Each header setter repaints the table: a pixel that changes sides.
    const qvtest::Rgb white = qvtest::rgbOf(FL_WHITE);
    auto seen = [&](int x, int y, qvtest::Rgb want) {
        EXPECT_EQ(qvtest::pixelAt(*win, x, y), want) << x << "," << y;
    };
    t->row_header_width(60);
    seen(60, 60, header);
    t->col_header_height(30);
    seen(100, 38, header);
    t->col_header(0);
    seen(100, 20, white);
    t->row_header(0);
    seen(30, 60, white);
}

int clipWarnings = 0;
void countWarning(const char*, ...) { ++clipWarnings; }

// A full and a partial repaint leave the window's clipping as they found it:
// a widget drawn after the table in the same pass still shows.
TEST_F(TableTest, WidgetsDrawnAfterTheTableStillShow) {
    build(3, 3);
    Fl_Box* after = new Fl_Box(FL_FLAT_BOX, 320, 10, 50, 50, nullptr);
    win->add(after);
    qvtest::showAndDraw(*win);
    auto* saved = Fl::warning;
    Fl::warning = countWarning;
    clipWarnings = 0;
    for (Fl_Color c : {FL_GREEN, FL_BLUE}) {
        after->color(c);
        after->redraw();
        if (c == FL_GREEN)
            t->redraw();
        else
            clickCell(Fl_Table::CONTEXT_CELL, 1, 1);
        EXPECT_EQ(qvtest::pixelAt(*win, 340, 30), qvtest::rgbOf(c));
    }
    Fl::warning = saved;
    EXPECT_EQ(clipWarnings, 0);
}

// A callback may delete the table, as a window closing would.
TEST_F(TableTest, ACallbackMayDeleteTheTable) {
    for (int event : {FL_PUSH, FL_RELEASE, FL_KEYBOARD}) {
        build(3, 3);
        qvtest::showAndDraw(*win);
        Fl::focus(nullptr);
        static int deleteOn;
        deleteOn = event;
        t->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
        t->callback([](Fl_Widget* w, void*) {
            if (Fl::event() == deleteOn) Fl::delete_widget(w), Fl::do_widget_deletion();
        });
        auto [x, y] = middle(Fl_Table::CONTEXT_CELL, 1, 1);
        int taken = event == FL_KEYBOARD ? qvtest::key(t, FL_Down)
                    : event == FL_PUSH   ? qvtest::push(t, x, y)
                                         : (qvtest::push(t, x, y), qvtest::release(t, x, y));
        EXPECT_EQ(taken, 1) << event;
        EXPECT_EQ(win->children(), 0) << event;
    }
}

// A click into a cell widget is the widget's: the table neither selects
// nor reports it.
TEST_F(TableTest, ACellWidgetKeepsItsClicks) {
    delete win;
    win = new Fl_Window(0, 0, 400, 300);
    t = new Probe(10, 10, 300, 200);
    Fl_Input* in = new Fl_Input(100, 100, 60, 20);
    new Fl_Input(500, 400, 60, 20);  // beyond the table's own area
    t->end();
    win->end();
    t->rows(3);
    t->cols(3);
    EXPECT_TRUE(in->visible_r());
    qvtest::showAndDraw(*win);
    EXPECT_FALSE(t->cellGroup()->hscrollbar.visible() || t->cellGroup()->scrollbar.visible());
    log.attach(*t);
    EXPECT_EQ(qvtest::push(t, 110, 110), 1);
    qvtest::release(t, 110, 110);
    EXPECT_EQ(Fl::focus(), in);
    EXPECT_EQ(log.entries, Log{});
    EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
}

}  // namespace
