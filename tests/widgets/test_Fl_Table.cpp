#include "widgets/Fl_Table.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

using qv::Fl_Table;
using qvtest::TableCallbackLog;
using Quad = std::tuple<int, int, int, int>;

namespace {

// Exposes what the table keeps for its subclasses; deletes itself from the
// next drag once `deletedOnDrag` is set.
class Probe : public qvtest::RecordingCells<Fl_Table> {
public:
    using RecordingCells::RecordingCells;
    using Fl_Table::botrow;
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
    // The recorded calls as context, row and column: start S, end E, row
    // header R, column header C, cell c.
    std::string order() const {
        std::string s;
        for (const qvtest::CellCall& k : calls) {
            char nom = k.context == CONTEXT_STARTPAGE ? 'S' : k.context == CONTEXT_ENDPAGE ? 'E'
                     : k.context == CONTEXT_ROW_HEADER ? 'R' : k.context == CONTEXT_COL_HEADER ? 'C' : 'c';
            s += (s.empty() ? "" : " ") + std::string(1, nom) + std::to_string(k.row) + std::to_string(k.col);
        }
        return s;
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
    // A click in the middle of a cell; the second one of a double click with `twice`.
    void clickCell(Fl_Table::TableContext ctx, int r, int c, bool twice = false) {
        auto [X, Y, W, H] = t->cell(ctx, r, c);
        twice ? qvtest::doubleClick(win, X + W / 2, Y + H / 2) : qvtest::click(win, X + W / 2, Y + H / 2);
    }
};

TEST_F(TableTest, CountsGrowWithTheLastSize) {
    build(3, 2);
    t->row_height(2, 40);
    t->col_width(1, 50);
    t->rows(5);
    t->cols(4);
    EXPECT_EQ(t->row_height(4), 40);
    EXPECT_EQ(t->col_width(3), 50);
    EXPECT_EQ(t->row_height(5) + t->row_height(-1), 0);  // outside the array
    // The last rows stay reachable after a row above the top grows.
    t->rows(100);
    t->row_position(50);
    t->row_height(10, 125);
    t->row_position(99);
    EXPECT_EQ(t->botrow, 99);
    auto [X, Y, W, H] = t->cell(Fl_Table::CONTEXT_CELL, 99, 0);
    EXPECT_EQ(Y + H, std::get<1>(t->area()) + std::get<3>(t->area()));
}

TEST_F(TableTest, TheWheelScrollsTheRows) {
    build(100, 2);
    win->show();
    qvtest::wheel(win, 100, 100, 3);
    EXPECT_GT(t->vscrollbar->value(), 0);
    const int bas = t->vscrollbar->value();
    qvtest::wheel(win, 100, 100, -3);
    EXPECT_LT(t->vscrollbar->value(), bas);
}

TEST_F(TableTest, FindCellInEveryContext) {
    build(5, 3, 200, true);
    // The data area starts at (54, 32): the frames, a 40-pixel row header and
    // an 18-pixel column header.
    const struct { Fl_Table::TableContext ctx; int r, c, ret; Quad rect; } cases[] = {
        {Fl_Table::CONTEXT_CELL, 1, 2, 0, {214, 57, 80, 25}},  {Fl_Table::CONTEXT_TABLE, 4, 0, 0, {54, 132, 80, 25}},
        {Fl_Table::CONTEXT_ROW_HEADER, 2, 0, 0, {12, 82, 40, 25}},
        {Fl_Table::CONTEXT_COL_HEADER, 0, 1, 0, {134, 12, 80, 18}},
        {Fl_Table::CONTEXT_CELL, 5, 0, -1, {0, 0, 0, 0}},  {Fl_Table::CONTEXT_CELL, 0, 3, -1, {0, 0, 0, 0}},
        {Fl_Table::CONTEXT_CELL, -1, 0, -1, {0, 0, 0, 0}},
    };
    for (auto& k : cases) {
        int ret = 0;
        EXPECT_EQ(t->cell(k.ctx, k.r, k.c, &ret), k.rect) << k.ctx << " " << k.r << "," << k.c;
        EXPECT_EQ(ret, k.ret) << k.ctx << " " << k.r << "," << k.c;
    }
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
    build(3, 4);
    Fl::focus(t);
    log.attach(*t);
    const struct { int r, c, key, mods, when, ret; Quad want; size_t callbacks; } cases[] = {
        {1, 1, FL_Right, 0, FL_WHEN_RELEASE, 1, {1, 2, 1, 2}, 0},
        {0, 3, FL_Right, 0, FL_WHEN_RELEASE, 1, {1, 0, 1, 0}, 0},  // wraps to the next row
        {2, 3, FL_Right, 0, FL_WHEN_RELEASE, 1, {0, 0, 0, 0}, 0},
        {0, 3, FL_Right, FL_SHIFT, FL_WHEN_RELEASE, 1, {0, 3, 1, 0}, 0},  // the anchor stays
        {2, 3, FL_Right, FL_SHIFT, FL_WHEN_RELEASE, 1, {2, 3, 0, 0}, 0},
        {1, 2, FL_Home, 0, FL_WHEN_RELEASE, 1, {1, 0, 1, 0}, 0},
        {1, 2, FL_End, 0, FL_WHEN_RELEASE, 1, {1, 3, 1, 3}, 0},
        // A key that cannot move reaches only a callback that asks for it.
        {2, 1, FL_Down, 0, FL_WHEN_RELEASE, 0, {2, 1, 2, 1}, 0},
        {2, 1, FL_Down, 0, FL_WHEN_NOT_CHANGED | FL_WHEN_RELEASE, 1, {2, 1, 2, 1}, 1},
    };
    for (auto& k : cases) {
        t->set_selection(k.r, k.c, k.r, k.c);
        t->when(k.when);
        log.entries.clear();
        EXPECT_EQ(qvtest::key(t, k.key, k.mods), k.ret) << k.r << "," << k.c << " key " << k.key;
        EXPECT_EQ(t->selection(), k.want) << k.r << "," << k.c << " key " << k.key << " mods " << k.mods;
        EXPECT_EQ(log.entries.size(), k.callbacks);
    }
    t->callback(Fl_Widget::default_callback);  // which the default callback does not
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);
}

TEST_F(TableTest, PageDownMovesByTheVisibleRowsLessOne) {
    // Table heights giving 1, 2 and 4 visible rows of 25 pixels.
    for (auto [height, visible, down] : {std::tuple{33, 1, 5}, {40, 2, 5}, {108, 4, 7}}) {
        build(10, 1, height);
        ASSERT_EQ(t->botrow - t->toprow + 1, visible);
        t->set_selection(5, 0, 5, 0);
        qvtest::key(t, FL_Page_Down);
        EXPECT_EQ(t->selection(), Quad(down, 0, down, 0)) << visible << " visible";
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

TEST_F(TableTest, CornerHeaderAndCellClicks) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    qvtest::click(win, 30, 18);  // where the two headers meet
    EXPECT_EQ(t->selection(), Quad(0, 0, 4, 2));
    clickCell(Fl_Table::CONTEXT_ROW_HEADER, 2, 0);
    EXPECT_EQ(t->selection(), Quad(2, 0, 2, 2));
    clickCell(Fl_Table::CONTEXT_COL_HEADER, 0, 1);
    EXPECT_EQ(t->selection(), Quad(0, 1, 4, 1));
    using E = TableCallbackLog::Entry;
    const int cell = Fl_Table::CONTEXT_CELL;
    log.attach(*t);
    Fl::focus(nullptr);
    clickCell(Fl_Table::CONTEXT_CELL, 1, 2);  // takes the focus, then push and release
    EXPECT_EQ(log.entries, (std::vector<E>{{Fl_Table::CONTEXT_TABLE, -1, -1, 0}, {cell, 1, 2, 0}, {cell, 1, 2, 0}}));
    EXPECT_EQ(t->selection(), Quad(1, 2, 1, 2));

    log.entries.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 3, 0, true);
    EXPECT_EQ(log.entries, (std::vector<E>{{cell, 3, 0, 0}, {cell, 3, 0, 0}, {cell, 3, 0, 1}, {cell, 3, 0, 1}}));
}

TEST_F(TableTest, HeaderBordersResizeRowsAndColumns) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    t->row_resize(1);
    t->col_resize(1);
    // Pushes at an offset inside header cell 2, then a drag; 25 x 80 cells.
    const struct { bool row; int offset, by, resized, size; } cases[] = {
        {true, 3, 10, 1, 35},  {true, 4, 10, -1, 0},  {true, 21, 10, -1, 0},   {true, 22, 10, 2, 35},
        {true, 24, -100, 2, 1}, {false, 2, 15, 1, 95}, {false, 77, 15, 2, 95}, {false, 79, -200, 2, 1},
    };
    for (auto& k : cases) {
        t->row_height_all(25);
        for (int c = 0; c < 3; ++c) t->col_width(c, 80);
        auto [X, Y, W, H] = t->cell(k.row ? Fl_Table::CONTEXT_ROW_HEADER : Fl_Table::CONTEXT_COL_HEADER,
                                    k.row ? 2 : 0, k.row ? 0 : 2);
        int px = k.row ? X + W / 2 : X + k.offset, py = k.row ? Y + k.offset : Y + H / 2;
        qvtest::push(win, px, py);
        qvtest::drag(win, px + (k.row ? 0 : k.by), py + (k.row ? k.by : 0));
        qvtest::release(win, px, py);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(k.row ? t->row_height(i) : t->col_width(i), i == k.resized ? k.size : (k.row ? 25 : 80))
                << (k.row ? "row" : "column") << " offset " << k.offset << " size of " << i;
    }
}

TEST_F(TableTest, AutoDragScrollsBy30UntilTheReleaseOrTheDeletion) {
    build(100, 10);
    qvtest::showAndDraw(*win);
    qvtest::push(win, 100, 50);
    qvtest::drag(win, 100, 200);  // below the band where the table scrolls by itself
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int last = 0;
    while (t->vscrollbar->value() < 120 && std::chrono::steady_clock::now() < fin) {
        Fl::wait(0.005);
        if (t->vscrollbar->value() == last) continue;
        EXPECT_EQ(t->vscrollbar->value(), last + 30);
        last = t->vscrollbar->value();
    }
    EXPECT_EQ(std::get<2>(t->selection()), t->botrow);  // the cursor follows the pinned mouse
    qvtest::release(win, 100, 200);
    for (int i = 0; i < 30; ++i) Fl::wait(0.01);
    EXPECT_EQ(t->vscrollbar->value(), 120);

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
    EXPECT_EQ(t->order(), "S00 R00 R10 R20 C00 C01 c00 c01 c10 c11 c20 c21 E00");

    clickCell(Fl_Table::CONTEXT_CELL, 1, 1);
    qvtest::flushDrawing();
    t->calls.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 2, 1);
    qvtest::flushDrawing();
    EXPECT_EQ(t->order(), "S00 c11 c21 E00");
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

}  // namespace
