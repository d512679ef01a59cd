#include "widgets/Fl_Table.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using qv::Fl_Table;
using qvtest::pixelAt;
using qvtest::rgbOf;
using Quad = std::tuple<int, int, int, int>;
using Log = std::vector<qvtest::TableCallbackLog::Entry>;

namespace {

const auto CELL = Fl_Table::CONTEXT_CELL, TABLE = Fl_Table::CONTEXT_TABLE, RESIZE = Fl_Table::CONTEXT_RC_RESIZE,
           ROWH = Fl_Table::CONTEXT_ROW_HEADER, COLH = Fl_Table::CONTEXT_COL_HEADER;

// Deletes itself from the next drag once `deletedOnDrag` is set.
struct Probe : qvtest::TableProbe<Fl_Table> {
    using TableProbe::TableProbe;
    bool* deletedOnDrag = nullptr;
    int handle(int event) override {
        if (event == FL_DRAG && deletedOnDrag) Fl::add_timeout(0.0, deleteIt, this);
        return TableProbe::handle(event);
    }
    static void deleteIt(void* d) {
        *static_cast<Probe*>(d)->deletedOnDrag = true;
        delete static_cast<Probe*>(d);
    }
};

// A 300 x 200 table at (10, 10) in a 400 x 300 window; inside its frames the
// data area starts at (14, 14) and is 292 x 192 before scrollbars and headers.
class TableTest : public ::testing::Test {
protected:
    Fl_Window* win = nullptr;
    Probe* t = nullptr;
    qvtest::TableCallbackLog log;

    // `cellWidgets` builds the table's embedded widgets.
    void build(int rows, int cols, int h = 200, bool headers = false, void (*cellWidgets)() = nullptr) {
        delete win;
        win = new Fl_Window(0, 0, 400, 300);
        t = new Probe(10, 10, 300, h);
        if (cellWidgets) cellWidgets();
        t->end();
        win->end();
        t->rows(rows);
        t->cols(cols);
        t->row_header(headers);
        t->col_header(headers);
    }
    void TearDown() override { delete win; }
    // A click in the middle of a cell; the second one of a double click with `twice`.
    void clickCell(Fl_Table::TableContext ctx, int r, int c, bool twice = false) {
        auto [x, y] = t->middle(ctx, r, c);
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
    t->when(FL_WHEN_RELEASE);
    t->row_height(0, 26);  // a callback that does not ask for changes
    EXPECT_EQ(log.entries, (Log{{RESIZE, 2, 0, 0}, {RESIZE, 0, 1, 0}}));
    t->rows(5);
    t->cols(4);
    EXPECT_EQ(std::make_tuple(t->row_height(1), t->row_height(4), t->col_width(0), t->col_width(3)),
              std::make_tuple(25, 40, 80, 50));
    EXPECT_EQ(t->row_height(5) + t->row_height(-1), 0);  // outside the array
    t->row_height(7, 30);  // grows the heights, not the count
    EXPECT_EQ(std::make_tuple(t->rows(), t->row_height(6), t->row_height(7)), std::make_tuple(5, 30, 30));
    // Only a visible row or column repaints when its size changes.
    for (auto [r, c, repaint] : {std::tuple{t->botrow, -1, true}, {t->botrow + 1, -1, false}, {-1, 3, true}}) {
        t->clear_damage();
        r < 0 ? t->col_width(c, 60) : t->row_height(r, 60);
        EXPECT_EQ((t->damage() & FL_DAMAGE_ALL) != 0, repaint) << r << "," << c;
    }
    // The last rows and columns stay reachable after one before the first visible grows.
    t->rows(100);
    t->cols(100);
    t->row_position(50);
    t->col_position(50);
    t->row_height(10, 125);
    t->col_width(10, 125);
    t->row_position(100);  // past the last: the last
    EXPECT_EQ(t->row_position(), 99);
    t->col_position(100);
    auto [X, Y, W, H] = t->cell(CELL, 99, 99);
    auto [AX, AY, AW, AH] = t->area();
    EXPECT_EQ(std::make_tuple(t->botrow, Y + H, t->rightcol, X + W), std::make_tuple(99, AY + AH, 99, AX + AW));
    t->rows(120);  // and after the counts change while scrolled
    t->cols(120);
    t->row_position(119);
    t->col_position(119);
    std::tie(X, Y, W, H) = t->cell(CELL, 119, 119);
    EXPECT_EQ(std::make_tuple(t->botrow, Y + H, t->rightcol, X + W), std::make_tuple(119, AY + AH, 119, AX + AW));
    // Fewer rows repaint; more rows below the visible ones do not.
    t->row_position(0);
    for (auto [n, repaint] : {std::pair{110, true}, {115, false}, {115, false}}) {
        t->clear_damage();
        t->rows(n);
        EXPECT_EQ((t->damage() & FL_DAMAGE_ALL) != 0, repaint) << n;
    }
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->toprow, t->botrow), std::make_tuple(0, 0, -1, -1));
    t->rows(-3);
    t->cols(-3);
    EXPECT_EQ(std::make_pair(t->rows(), t->cols()), std::make_pair(0, 0));
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
    const qvtest::Rgb color[3] = {rgbOf(FL_RED), rgbOf(FL_GREEN), rgbOf(FL_BLUE)};
    qvtest::showAndDraw(*win);
    // 10 pixels into the data area: cell ((scroll y + 10) / 25, (scroll x + 10) / 80), colour (r + c) % 3.
    const struct { int wheel, hbar, vbar, row, col, want; } steps[] = {
        {0, -1, -1, -1, -1, 0}, {3, -1, -1, -1, -1, 2},  // three lines of 16 pixels: row 2
        {0, 100, -1, -1, -1, 0}, {0, -1, 260, -1, -1, 2}, {0, -1, -1, 20, -1, 0}, {0, -1, -1, -1, 2, 1},
        {-40, -1, -1, -1, -1, 2},
    };
    for (auto& k : steps) {
        if (k.wheel) qvtest::wheel(win, 100, 100, k.wheel);
        if (k.hbar >= 0) t->scrollTo(t->hscrollbar, k.hbar);
        if (k.vbar >= 0) t->scrollTo(t->vscrollbar, k.vbar);
        if (k.row >= 0) t->row_position(k.row);
        if (k.col >= 0) t->col_position(k.col);
        EXPECT_EQ(pixelAt(*win, 24, 24), color[k.want]) << k.wheel << " " << k.hbar << " " << k.vbar;
    }
    EXPECT_EQ(std::make_tuple(t->row_position(), t->col_position(), int(t->vscrollbar->value())), std::make_tuple(0, 1, 0));
    // A click on a scrollbar scrolls, and is not a click on the table.
    t->set_selection(1, 1, 1, 1);
    log.attach(*t);
    qvtest::click(win, t->vscrollbar->x() + 8, 150);
    EXPECT_GT(t->vscrollbar->value(), 0);
    EXPECT_EQ(t->selection(), Quad(1, 1, 1, 1));
    EXPECT_EQ(log.entries, Log{});
}

TEST_F(TableTest, FindCellBoundsAndClamps) {
    build(5, 3, 200, true);  // cells from (54, 32): a 40-pixel row header, an 18-pixel column header
    const struct { Fl_Table::TableContext ctx; int r, c, ret; Quad rect; } cases[] = {
        {CELL, 1, 2, 0, {214, 57, 80, 25}},  {TABLE, 4, 0, 0, {54, 132, 80, 25}}, {ROWH, 2, 0, 0, {12, 82, 40, 25}},
        {COLH, 0, 1, 0, {134, 12, 80, 18}},  {CELL, 5, 0, -1, {0, 0, 0, 0}},       {CELL, 0, 3, -1, {0, 0, 0, 0}},
        {CELL, -1, 0, -1, {0, 0, 0, 0}},     {COLH, 0, -1, -1, {0, 0, 0, 0}},
        {Fl_Table::CONTEXT_STARTPAGE, 1, 2, -1, {214, 57, 80, 25}},
    };
    testing::internal::CaptureStderr();
    for (auto& k : cases) {
        int ret = 0;
        EXPECT_EQ(t->cell(k.ctx, k.r, k.c, &ret), k.rect) << k.ctx << " " << k.r << "," << k.c;
        EXPECT_EQ(ret, k.ret) << k.ctx << " " << k.r << "," << k.c;
    }
    EXPECT_EQ(std::make_tuple(t->bounds(ROWH), t->bounds(COLH), t->bounds(TABLE), t->bounds(CELL)),
              std::make_tuple(Quad(12, 30, 40, 178), Quad(52, 12, 256, 18), Quad(54, 32, 252, 174), Quad(7, 7, 7, 7)));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fl_Table::find_cell: unknown context 1\nFl_Table::get_bounds(): context 16 unimplemented\n");
    const struct { Fl_Table::TableContext ctx; int r, c, ret, wantR, wantC; } clamps[] = {
        {CELL, -1, 9, 1, 0, 2}, {TABLE, 4, 2, 0, 4, 2}, {CELL, 2, -1, 1, 2, 0}, {ROWH, 9, 7, 1, 9, 2}, {COLH, 9, 7, 1, 4, 7},
    };
    for (auto k : clamps) {
        EXPECT_EQ(t->row_col_clamp(k.ctx, k.r, k.c), k.ret) << k.ctx;
        EXPECT_EQ(std::make_pair(k.r, k.c), std::make_pair(k.wantR, k.wantC)) << k.ctx;
    }
    // Headers still have cells when the other dimension is empty.
    t->cols(0);
    EXPECT_EQ(t->cell(ROWH, 1, 0), Quad(12, 57, 40, 25));
    t->cols(3);
    t->rows(0);
    EXPECT_EQ(t->cell(COLH, 0, 2), Quad(214, 12, 80, 18));
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
        EXPECT_EQ(std::make_tuple(t->vscrollbar->visible() != 0, t->hscrollbar->visible() != 0, std::get<2>(t->area()),
                                  std::get<3>(t->area())),
                  std::make_tuple(k.v, k.h, 292 - (k.v ? 16 : 0), 192 - (k.h ? 16 : 0)))
            << k.rows << "x" << k.rowh << " " << k.cols << "x" << k.colw;
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
        {1, 2, FL_Home, 0, release, true, 1, {1, 0, 1, 0}, {}}, {1, 2, FL_End, 0, release, true, 1, {1, 3, 1, 3}, {}},
        {1, 1, FL_Left, 0, release, true, 1, {1, 0, 1, 0}, {}}, {1, 1, FL_Up, 0, release, true, 1, {0, 1, 0, 1}, {}},
        {1, 1, 0, 0, release, true, 0, {1, 1, 1, 1}, {}},  // the move itself reports 1 below
        {-1, -1, FL_Right, 0, release, true, 1, {0, 1, 0, 1}, {}},  // from no cursor: from (0, 0)
        {-1, -1, FL_Down, 0, release, true, 1, {1, 0, 1, 0}, {}},
        {0, 1, FL_Page_Down, 0, release, true, 1, {1, 1, 1, 1}, {}},
        {2, 1, FL_Page_Up, 0, release, true, 1, {1, 1, 1, 1}, {}},
        // A key that cannot move reaches only a callback that asks for it.
        {1, 0, FL_Left, 0, release, true, 0, {1, 0, 1, 0}, {}}, {0, 2, FL_Page_Up, 0, release, true, 0, {0, 2, 0, 2}, {}},
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
    EXPECT_EQ(t->move_cursor(1, 1), 1);
    t->callback(Fl_Widget::default_callback);  // which the default callback does not
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);
    // Keys on an empty table, then on one without rows, do not move.
    for (int cols : {0, 3}) {
        t->cols(cols);
        t->rows(0);
        for (int k : {FL_Right, FL_Down, FL_Home, FL_End, FL_Page_Down}) EXPECT_EQ(qvtest::key(t, k), 0) << k;
        EXPECT_EQ(std::get<2>(t->selection()), 2);
    }
}

TEST_F(TableTest, PagesMoveByTheVisibleRowsLessOne) {
    // Table heights giving 1, 2 and 4 visible rows of 25 pixels.
    for (auto [height, visible, down, up] : {std::tuple{33, 1, 5, 5}, {40, 2, 5, 5}, {108, 4, 7, 3}}) {
        build(10, 1, height);
        ASSERT_EQ(t->botrow - t->toprow + 1, visible);
        for (auto [key, want] : {std::pair{FL_Page_Down, down}, {FL_Page_Up, up}}) {
            t->row_position(0);
            t->set_selection(5, 0, 5, 0);
            qvtest::key(t, key);
            EXPECT_EQ(t->selection(), Quad(want, 0, want, 0)) << visible << " visible, key " << key;
        }
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
        EXPECT_EQ(std::make_pair(int(t->vscrollbar->value()), int(t->hscrollbar->value())), std::make_pair(k.vwant, k.hwant))
            << k.r << "," << k.c << " key " << k.key;
    }
}

TEST_F(TableTest, ClicksAndDragsOnHeadersAndCells) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    EXPECT_EQ(qvtest::moveMouse(t, 60, 60), 1);
    EXPECT_EQ(qvtest::push(t, 30, 18), 1);  // where the two headers meet
    qvtest::release(t, 30, 18);
    EXPECT_EQ(t->selection(), Quad(0, 0, 4, 2));
    // Drags stretch a selection along what was pushed: columns, rows, or a
    // block of cells that a header does not change.
    const struct { Fl_Table::TableContext from; int r1, c1; Fl_Table::TableContext to; int r2, c2; Quad want; int taken; } drags[] = {
        {ROWH, 2, 0, ROWH, 2, 0, {2, 0, 2, 2}, 1},  {COLH, 0, 1, COLH, 0, 1, {0, 1, 4, 1}, 1},
        {COLH, 0, 1, COLH, 0, 2, {0, 1, 4, 2}, 1},  {COLH, 0, 2, CELL, 3, 0, {0, 2, 4, 0}, 1},
        {ROWH, 1, 0, CELL, 3, 1, {1, 0, 3, 2}, 1},  {CELL, 1, 2, ROWH, 3, 0, {1, 2, 1, 2}, 0},
        {CELL, 1, 2, CELL, 2, 0, {1, 2, 2, 0}, 1},
    };
    for (auto& k : drags) {
        auto [x1, y1] = t->middle(k.from, k.r1, k.c1);
        auto [x2, y2] = t->middle(k.to, k.r2, k.c2);
        EXPECT_EQ(qvtest::push(t, x1, y1), 1);
        EXPECT_EQ(qvtest::drag(t, x2, y2), k.taken);
        qvtest::release(t, x2, y2);
        EXPECT_EQ(t->selection(), k.want) << k.from << " " << k.r1 << "," << k.c1 << " to " << k.to;
    }
    // The selection is the rectangle between anchor and cursor, either way round.
    t->set_selection(3, 2, 1, 0);
    int top, left, bottom, right;
    t->get_selection(top, left, bottom, right);
    EXPECT_EQ(Quad(top, left, bottom, right), Quad(1, 0, 3, 2));
    for (auto [r, c, in] : {std::tuple{1, 0, 1}, {3, 2, 1}, {2, 1, 1}, {0, 1, 0}, {4, 1, 0}, {2, 3, 0}, {2, -1, 0}})
        EXPECT_EQ(t->is_selected(r, c), in) << r << "," << c;

    log.attach(*t);
    Fl::focus(nullptr);
    clickCell(CELL, 1, 2);  // takes the focus, then push and release
    clickCell(CELL, 3, 0, true);
    EXPECT_EQ(log.entries, (Log{{TABLE, -1, -1, 0}, {CELL, 1, 2, 0}, {CELL, 1, 2, 0}, {CELL, 3, 0, 0}, {CELL, 3, 0, 0},
                                {CELL, 3, 0, 1}, {CELL, 3, 0, 1}}));
    // The release reports only on the row pushed, with the column released on.
    auto [x1, y1] = t->middle(CELL, 1, 0);
    auto [x2, y2] = t->middle(CELL, 2, 2);
    log.entries.clear();
    qvtest::push(win, x1, y1);
    qvtest::release(win, x2, y2);
    qvtest::push(win, x1, y1);
    qvtest::release(win, x2, y1);
    // A right click reports its cell but leaves the selection; below the
    // last row a push selects nothing and is not taken.
    EXPECT_EQ(qvtest::push(t, x2, y2, 3), 1);
    EXPECT_EQ(qvtest::release(t, x2, y2, 3), 0);
    EXPECT_EQ(t->selection(), Quad(1, 0, 1, 0));
    EXPECT_EQ(qvtest::push(t, x2, 180), 0);
    EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
    // With a single row the column headers still answer.
    t->rows(1);
    auto [hx, hy] = t->middle(COLH, 0, 2);
    qvtest::click(win, hx, hy);
    EXPECT_EQ(log.entries, (Log{{CELL, 1, 0, 0}, {CELL, 1, 0, 0}, {CELL, 1, 2, 0}, {CELL, 2, 2, 0}, {CELL, 2, 2, 0},
                                {TABLE, 0, 0, 0}, {COLH, 0, 2, 0}, {COLH, 0, 2, 0}}));
}

TEST_F(TableTest, HeaderBordersResizeRowsAndColumns) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    t->row_resize(1);
    t->col_resize(1);
    // Pushes at an offset inside header cell 2, then a drag in two steps; 25 x 80 cells.
    const struct { bool row; int offset, by, resized, size; } cases[] = {
        {true, 0, 10, 1, 35},  {false, 0, 16, 1, 96}, {true, 3, 10, 1, 35},   {true, 4, 10, -1, 0},
        {true, 21, 10, -1, 0}, {true, 22, 10, 2, 35}, {true, 24, -100, 2, 1}, {false, 3, 16, 1, 96},
        {false, 4, 16, -1, 0}, {false, 76, 16, -1, 0}, {false, 77, 16, 2, 96}, {false, 79, -200, 2, 1},
    };
    for (auto& k : cases) {
        t->row_height_all(25);
        for (int c = 0; c < 3; ++c) t->col_width(c, 80);
        auto [X, Y, W, H] = t->cell(k.row ? ROWH : COLH, k.row ? 2 : 0, k.row ? 0 : 2);
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
    auto [X, Y, W, H] = t->cell(COLH, 0, 0);
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
        for (int last = bar->value(); bar->value() != target && std::chrono::steady_clock::now() < fin;) {
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
    EXPECT_EQ(qvtest::drag(win, 30, 100), 1);  // the timer is armed: a real drag is ignored
    EXPECT_EQ(std::get<3>(t->selection()), 3);
    qvtest::drag(win, 100, 200);
    follow(t->vscrollbar, 120);
    EXPECT_EQ(std::get<2>(t->selection()), t->botrow);  // the cursor follows the pinned mouse
    EXPECT_EQ(qvtest::drag(win, 30, 100), 1);          // the timer drives: a real drag is ignored
    EXPECT_EQ(std::get<3>(t->selection()), 1);
    qvtest::release(win, 100, 200);
    for (int i = 0; i < 30; ++i) Fl::wait(0.01);
    EXPECT_EQ(t->vscrollbar->value(), 120);
    // Right, then up and left.
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 300, 100);
    follow(t->hscrollbar, 60);
    EXPECT_EQ(std::get<3>(t->selection()), t->rightcol);
    qvtest::drag(win, 12, 12);
    follow(t->vscrollbar, 60);
    qvtest::release(win, 12, 12);
    EXPECT_EQ(std::make_pair(t->vscrollbar->value(), t->hscrollbar->value()), std::make_pair(60, 0));
    // Leaving the table ends the auto-scroll, and so does a release whose
    // callback waits (a dialog).
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 100, 200);
    qvtest::sendEvent(t, FL_LEAVE, qvtest::EventSpec());
    follow(t->vscrollbar, -1, 0.4);
    qvtest::release(win, 100, 200);
    EXPECT_EQ(t->vscrollbar->value(), 60);
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

int clipWarnings = 0;
void countWarning(const char*, ...) { ++clipWarnings; }

// A full draw, then partial repaints of the cells a selection change touches;
// both leave the clipping as they found it, so a widget drawn after the
// table in the same pass still shows.
TEST_F(TableTest, FullDrawThenPartialRepaints) {
    build(3, 2, 200, true);
    Fl_Box* after = new Fl_Box(FL_FLAT_BOX, 320, 10, 50, 50, nullptr);
    win->add(after);
    qvtest::showAndDraw(*win);
    auto* saved = Fl::warning;
    Fl::warning = countWarning;
    enum { REDRAW, CLICK, DRAG, SET, KEY };
    const struct { int how, r, c; Fl_Color color; const char* order; } steps[] = {
        {REDRAW, 0, 0, FL_GREEN, "S R0,0 R1,0 R2,0 C0,0 C0,1 c0,0 c0,1 c1,0 c1,1 c2,0 c2,1 E"},
        {CLICK, 1, 1, FL_BLUE, "S c0,0 c1,0 c0,1 c1,1 E"},  // from no cursor: from (0, 0)
        {CLICK, 2, 0, FL_RED, "S c1,0 c2,0 c1,1 c2,1 E"}, {DRAG, 2, 1, FL_BLUE, "S c2,0 c2,1 E"},
        {DRAG, 1, 1, FL_RED, "S c1,0 c2,0 c1,1 c2,1 E"},
        {SET, 0, 1, FL_GREEN, "S c0,0 c1,0 c2,0 c0,1 c1,1 c2,1 E"},  // the cells leaving it too
        {SET, 0, 0, FL_BLUE, "S c0,0 c0,1 E"}, {KEY, 1, 0, FL_RED, "S c0,0 c1,0 E"},  // Down, within column 0
    };
    for (auto& k : steps) {
        after->color(k.color);
        after->redraw();
        auto [x, y] = t->middle(CELL, k.r, k.c);
        if (k.how == CLICK) qvtest::push(win, x, y);
        if (k.how == DRAG) qvtest::drag(win, x, y);
        t->calls.clear();
        k.how == REDRAW ? t->redraw() : k.how == SET ? t->set_selection(k.r, k.c, k.r, k.c) : void();
        if (k.how == KEY) qvtest::key(t, FL_Down);
        EXPECT_EQ(pixelAt(*win, 340, 30), rgbOf(k.color));
        EXPECT_EQ(t->order(), k.order);
    }
    t->rows(0);  // column headers only
    t->calls.clear();
    qvtest::flushDrawing();
    EXPECT_EQ(t->order(), "S C0,0 C0,1 E");
    Fl::warning = saved;
    EXPECT_EQ(clipWarnings, 0);
}

// The square between the scrollbars and the bands at the ends of the header
// strips show the table's colours, before and after scrolls; cells and
// header cells are cut at the data area's edges.
TEST_F(TableTest, PixelsAroundTheCellsAfterAScroll) {
    build(20, 10, 200, true);
    win->color(FL_CYAN);  // unlike the table, so that unpainted pixels show
    qvtest::showAndDraw(*win);
    auto [X, Y, W, H] = t->area();
    const qvtest::Rgb header = rgbOf(t->headerColor), white = rgbOf(FL_WHITE), rowBand = rgbOf(t->row_header_color()),
                      colBand = rgbOf(t->col_header_color());
    auto seen = [&](int x, int y, qvtest::Rgb want) { EXPECT_EQ(pixelAt(*win, x, y), want) << x << "," << y; };
    seen(t->vscrollbar->x() + 8, t->hscrollbar->y() + 8, rgbOf(t->color()));
    for (int x : {10, X - 2}) EXPECT_NE(pixelAt(*win, x, Y + 50), rgbOf(FL_CYAN)) << x;  // the frames
    for (int scroll : {50, 0, 2000}) {
        t->scrollTo(t->hscrollbar, scroll);
        t->scrollTo(t->vscrollbar, scroll);
        for (auto [x, y, want] : {std::tuple{X, 20, header}, {X - 1, 20, colBand}, {X + W - 1, 20, header},
                                  {X + W, 20, colBand}, {30, Y, header}, {30, Y - 1, rowBand}, {30, Y + H - 1, header},
                                  {30, Y + H, rowBand}, {X + W - 1, Y + H - 1, white}})
            seen(x, y, want);
        EXPECT_NE(pixelAt(*win, X + 10, Y + H + 2), white) << scroll;
        EXPECT_NE(pixelAt(*win, X + W + 2, Y + 10), white) << scroll;
    }
    // Each header setter repaints the table: a pixel that changes sides.
    t->row_header_width(60);
    seen(60, 60, header);
    t->col_header_height(30);
    seen(100, 38, header);
    t->col_header(0);
    seen(100, 20, white);
    t->row_header(0);
    seen(30, 60, white);
}

// A callback may delete the table, as a window closing would.
TEST_F(TableTest, ACallbackMayDeleteTheTable) {
    static int deleteOn;
    for (int event : {FL_PUSH, FL_RELEASE, FL_KEYBOARD}) {
        build(3, 3);
        Fl::focus(nullptr);
        deleteOn = event;
        t->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
        t->callback([](Fl_Widget* w, void*) {
            if (Fl::event() == deleteOn) Fl::delete_widget(w), Fl::do_widget_deletion();
        });
        auto [x, y] = t->middle(CELL, 1, 1);
        EXPECT_EQ(event == FL_KEYBOARD ? qvtest::key(t, FL_Down)
                  : event == FL_PUSH   ? qvtest::push(t, x, y)
                                       : (qvtest::push(t, x, y), qvtest::release(t, x, y)),
                  1)
            << event;
        EXPECT_EQ(win->children(), 0) << event;
    }
}

// A click into a cell widget is the widget's: the table neither selects nor
// reports it; a cell widget beyond the cells brings no scrollbar of its own.
TEST_F(TableTest, ACellWidgetKeepsItsClicks) {
    static Fl_Input* in;
    build(3, 3, 200, false, [] {
        in = new Fl_Input(100, 100, 60, 20);
        new Fl_Input(500, 400, 60, 20);
    });
    EXPECT_TRUE(in->visible_r());
    qvtest::showAndDraw(*win);
    EXPECT_FALSE(t->table->hscrollbar.visible() || t->table->scrollbar.visible());
    log.attach(*t);
    EXPECT_EQ(qvtest::push(t, 110, 110), 1);
    qvtest::release(t, 110, 110);
    EXPECT_EQ(Fl::focus(), in);
    EXPECT_EQ(log.entries, Log{});
    EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
}

}  // namespace
