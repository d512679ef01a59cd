#include "widgets/Fl_Table.h"

#include "support/RecordingTable.h"
#include "support/WidgetEvents.h"
#include "support/WidgetPixels.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

using qv::Fl_Table;
using qvtest::pixelAt;
using qvtest::rgbOf;
using Quad = std::tuple<int, int, int, int>;

namespace {

const auto CELL = Fl_Table::CONTEXT_CELL, TABLE = Fl_Table::CONTEXT_TABLE, ROWH = Fl_Table::CONTEXT_ROW_HEADER,
           COLH = Fl_Table::CONTEXT_COL_HEADER;

// A 300 x 200 table at (10, 10) in a 400 x 300 window; inside its frames the data area starts at (14, 14) and is 292
// x 192 before scrollbars and headers.
class TableTest : public ::testing::Test {
protected:
    Fl_Window* win = nullptr;
    qvtest::TableProbe<Fl_Table>* t = nullptr;

    void build(int rows, int cols, int h = 200, bool headers = false) {
        delete win;
        win = new Fl_Window(0, 0, 400, 300);
        t = new qvtest::TableProbe<Fl_Table>(10, 10, 300, h);
        t->end(), win->end();
        t->rows(rows), t->cols(cols);
        t->row_header(headers), t->col_header(headers);
    }
    void TearDown() override { delete win; }
    // How far the far edges of cell (r, c) lie beyond the data area's.
    std::pair<int, int> beyondTheArea(int r, int c) {
        auto [X, Y, W, H] = t->cell(CELL, r, c);
        auto [AX, AY, AW, AH] = t->area();
        return {X + W - AX - AW, Y + H - AY - AH};
    }
    bool repainted() { return (t->damage() & FL_DAMAGE_ALL) != 0; }
};

TEST_F(TableTest, CountsSizesAndScrollbars) {
    build(3, 2);
    EXPECT_FALSE(t->table->visible());  // no cell widget to show
    t->logCallbacks();
    t->when(FL_WHEN_CHANGED);
    t->row_height_all(40);
    t->row_height(2, 40), t->row_height(-1, 10);  // unchanged, and no such row: no callback
    t->col_width(1, 50);
    t->when(FL_WHEN_RELEASE);
    t->row_height(0, 26);  // a callback that does not ask for changes
    t->rows(5), t->cols(4);
    EXPECT_EQ(std::make_tuple(t->reported, t->row_height(0), t->row_height(4), t->row_height(5), t->col_width(0), t->col_width(3)),
              std::make_tuple("Z0,0 Z1,0 Z2,0 Z0,1", 26, 40, 0, 80, 50));
    // Only a visible row or column repaints when its size changes.
    for (auto [r, c, repaint] : {std::tuple{4, -1, true}, {5, -1, false}, {-1, 3, true}}) {
        t->clear_damage();
        r < 0 ? t->col_width(c, 60) : t->row_height(r, 60);
        EXPECT_EQ(repainted(), repaint) << r << "," << c;
    }
    // A size before the first visible one changes: the scrollbars' ranges follow at once, and the last row and
    // column scroll whole into view.
    t->rows(100), t->cols(100);
    t->row_position(50), t->col_position(50);
    auto range = [&](bool rows) {
        int sum = 0;
        for (int i = 0; i < 100; ++i) sum += rows ? t->row_height(i) : t->col_width(i);
        return sum - (rows ? std::get<3>(t->area()) : std::get<2>(t->area()));
    };
    t->row_height(10, 125);
    EXPECT_EQ(int(t->vscrollbar->maximum()), range(true));
    t->col_width(10, 125);
    EXPECT_EQ(int(t->hscrollbar->maximum()), range(false));
    t->row_position(100);  // past the last: the last
    const int top = t->row_position();
    t->col_position(100);
    EXPECT_EQ(std::make_tuple(top, t->botrow, t->col_position(), t->rightcol, beyondTheArea(99, 99)),
              std::make_tuple(99, 99, 99, 99, std::pair{0, 0}));
    // Fewer rows repaint, and bring a table scrolled past its new end back; more rows below the visible ones do not.
    for (auto [n, repaint] : {std::pair{90, true}, {0, true}, {95, false}, {95, false}, {3, true}, {4, true}}) {
        t->clear_damage();
        n ? t->rows(n) : t->row_position(0);
        EXPECT_EQ(repainted(), repaint) << n;
        EXPECT_TRUE(n != 90 || (beyondTheArea(89, 0).second == 0 && t->vscrollbar->value() == int(t->vscrollbar->maximum())));
    }
    t->clear();
    EXPECT_EQ(std::make_tuple(t->rows(), t->cols(), t->toprow, t->botrow), std::make_tuple(0, 0, -1, -1));
    // 292 x 192 available; a scrollbar takes 16 pixels from the other dimension; only a dimension with a bar scrolls.
    const struct { int rows, rowh, cols, colw; bool v, h; } cases[] = {
        {8, 24, 3, 80, false, false}, {8, 25, 3, 80, true, false}, {3, 25, 4, 80, false, true},
        {6, 30, 4, 80, true, true},   // 180 fits, but not beside a horizontal bar
        {8, 25, 4, 70, true, true},   // 280 fits, but not beside a vertical bar
        {8, 22, 4, 80, false, true}, {8, 25, 4, 69, true, false},  // just fit beside the other bar
    };
    for (auto& k : cases) {
        t->rows(k.rows), t->cols(k.cols);
        t->row_height_all(k.rowh);
        for (int c = 0; c < k.cols; ++c) t->col_width(c, k.colw);
        t->row_position(1), t->col_position(1);
        EXPECT_EQ(std::make_tuple(t->area(), t->vscrollbar->h(), t->hscrollbar->w(), t->vscrollbar->visible() != 0,
                                  t->hscrollbar->visible() != 0, t->vscrollbar->value() != 0, t->hscrollbar->value() != 0),
                  std::make_tuple(Quad(14, 14, 292 - (k.v ? 16 : 0), 192 - (k.h ? 16 : 0)), 196 - (k.h ? 16 : 0),
                                  296 - (k.v ? 16 : 0), k.v, k.h, k.v, k.h));
        t->row_position(0), t->col_position(0);
    }
    t->rows(8), t->row_height_all(24), t->clear_damage();
    t->rows(9);  // rows that fitted exactly, and one more: the vertical bar narrows the cells
    EXPECT_TRUE(repainted());
}

TEST_F(TableTest, FindCellBoundsAndClamps) {
    build(5, 3, 200, true);  // cells from (54, 32): a 40-pixel row header, an 18-pixel column header
    const struct { Fl_Table::TableContext ctx; int r, c, ret; Quad rect; } cases[] = {
        {CELL, 1, 2, 0, {214, 57, 80, 25}}, {ROWH, 2, 0, 0, {12, 82, 40, 25}}, {COLH, 0, 1, 0, {134, 12, 80, 18}},
        {CELL, 5, 0, -1, {0, 0, 0, 0}}, {CELL, 0, 3, -1, {0, 0, 0, 0}}, {COLH, 0, -1, -1, {0, 0, 0, 0}},
        {Fl_Table::CONTEXT_STARTPAGE, 1, 2, -1, {214, 57, 80, 25}},
    };
    for (auto& k : cases) {
        int ret = 0;
        const Quad rect = t->cell(k.ctx, k.r, k.c, &ret);
        EXPECT_EQ(std::make_pair(rect, ret), std::make_pair(k.rect, k.ret)) << k.ctx << " " << k.r << "," << k.c;
    }
    int X = 7, Y = 7, W = 7, H = 7;
    t->get_bounds(CELL, X, Y, W, H);  // not a strip: left alone
    EXPECT_EQ(Quad(X, Y, W, H), Quad(7, 7, 7, 7));
    // Clamped, with 1; headers still have cells when the other dimension is empty.
    for (auto [ctx, r, c, ret, wantR, wantC] : {std::tuple{CELL, -1, 9, 1, 0, 2}, {TABLE, 4, 2, 0, 4, 2},
                                                {ROWH, 9, 3, 1, 9, 2}, {COLH, 5, 7, 1, 4, 7}}) {
        const int clamped = t->row_col_clamp(ctx, r, c);
        EXPECT_EQ(std::make_tuple(clamped, r, c), std::make_tuple(ret, wantR, wantC)) << ctx;
    }
    t->cols(0);
    EXPECT_EQ(t->cell(ROWH, 1, 0), Quad(12, 57, 40, 25));
    t->cols(3), t->rows(0);
    EXPECT_EQ(t->cell(COLH, 0, 2), Quad(214, 12, 80, 18));
    EXPECT_EQ(qvtest::callWord(0x80, 1, 2), "?128");  // an unknown context is never taken for a known one
}

// A 200-pixel table shows rows 0-6 whole and row 7 by one pixel, columns 0-2 whole and column 3 by 36 of its 80
// pixels; heights of 33, 58 and 108 show 1, 2 and 4 rows. A page is the rows between the top and the bottom row (a
// row whose far edge touches the top counts), never backwards.
TEST_F(TableTest, KeysMoveTheCursorAndScrollItIntoView) {
    // Cases on the same table follow each other; -1: the scroll is not checked.
    const struct { int h, rows, cols, r, c, key, mods; Quad want; int vscroll, hscroll; } cases[] = {
        {200, 3, 4, 1, 1, FL_Right, 0, {1, 2, 1, 2}, 0, 0}, {200, 3, 4, 0, 3, FL_Right, 0, {1, 0, 1, 0}, 0, -1},  // wraps
        {200, 3, 4, 2, 3, FL_Right, 0, {0, 0, 0, 0}, 0, 0}, {200, 3, 4, 0, 3, FL_Right, FL_SHIFT, {0, 3, 1, 0}, 0, -1},
        {200, 3, 4, 2, 3, FL_Right, FL_SHIFT, {2, 3, 0, 0}, 0, 0},  // the anchor stays
        {200, 3, 4, 1, 2, FL_Home, 0, {1, 0, 1, 0}, 0, 0}, {200, 3, 4, 1, 2, FL_End, 0, {1, 3, 1, 3}, 0, 28},
        {200, 3, 4, 1, 1, FL_Left, 0, {1, 0, 1, 0}, 0, 0}, {200, 3, 4, 1, 1, FL_Up, 0, {0, 1, 0, 1}, 0, -1},
        {200, 3, 4, 1, 0, FL_Left, 0, {1, 0, 1, 0}, 0, -1}, {200, 3, 4, -1, -1, FL_Right, 0, {0, 1, 0, 1}, 0, -1},  // from (0, 0)
        {200, 3, 4, -1, -1, FL_Down, FL_SHIFT, {1, 0, 1, 0}, 0, -1},  // no anchor to stretch from: it starts there
        {200, 3, 4, 0, 1, FL_Page_Down, 0, {1, 1, 1, 1}, 0, -1}, {200, 3, 4, 2, 1, FL_Page_Up, 0, {1, 1, 1, 1}, 0, -1},
        {33, 10, 1, 5, 0, FL_Page_Down, 0, {5, 0, 5, 0}, 0, 0}, {58, 10, 1, 0, 0, FL_Page_Down, 0, {0, 0, 0, 0}, 0, 0},
        {108, 10, 1, 5, 0, FL_Page_Down, 0, {7, 0, 7, 0}, 150, 0}, {108, 10, 1, 5, 0, FL_Page_Up, 0, {2, 0, 2, 0}, 50, 0},
        {200, 20, 10, 6, 0, FL_Down, 0, {7, 0, 7, 0}, 175, 0},  // row 7 goes to the top
        {200, 20, 10, 8, 0, FL_Down, 0, {9, 0, 9, 0}, 175, 0},  // rows 7-14 are whole: no scroll
        {200, 20, 10, 7, 0, FL_Up, 0, {6, 0, 6, 0}, 150, 0},    // row 6 lies above the top row
        {200, 20, 10, 0, 2, FL_Right, 0, {0, 3, 0, 3}, 0, 240}, {200, 20, 10, 0, 5, FL_Left, 0, {0, 4, 0, 4}, 0, 240},
        {200, 20, 10, 0, 3, FL_Left, 0, {0, 2, 0, 2}, 0, 160},
    };
    for (auto& k : cases) {
        if (!t || t->h() != k.h || t->rows() != k.rows || t->cols() != k.cols) build(k.rows, k.cols, k.h);
        t->set_selection(k.r, k.c, k.r, k.c);
        Fl::focus(t);
        const int taken = qvtest::key(t, k.key, k.mods), v = t->vscrollbar->value(), h = t->hscrollbar->value();
        EXPECT_EQ(std::make_tuple(t->selection(), taken, v, h),
                  std::make_tuple(k.want, int(std::get<2>(k.want) != k.r || std::get<3>(k.want) != k.c),
                                  k.vscroll < 0 ? v : k.vscroll, k.hscroll < 0 ? h : k.hscroll))
            << k.r << "," << k.c << " key " << k.key;
    }
    t->set_selection(18, 0, 18, 0);  // a caller's moves
    const int moved = t->move_cursor(1, 0);
    EXPECT_EQ(std::make_pair(moved, t->move_cursor(1, 0)), std::make_pair(1, 0));
    // A key that cannot move reaches only a callback that asks for it; a move from elsewhere takes the focus and
    // tells the callback first.
    t->logCallbacks();
    for (auto [r, key, when, focused, ret, reports] :
         {std::tuple{19, FL_Down, FL_WHEN_RELEASE, true, 0, ""}, {19, FL_Down, FL_WHEN_NOT_CHANGED, true, 1, "c19,1"},
          {1, int('a'), FL_WHEN_NOT_CHANGED, true, 1, "c1,1"}, {1, FL_Down, FL_WHEN_RELEASE, false, 1, "T-1,-1"}}) {
        t->set_selection(r, 1, r, 1);
        t->when(when);
        Fl::focus(focused ? t : nullptr);
        t->reported.clear();
        const int taken = qvtest::key(t, key);
        EXPECT_EQ(std::make_tuple(taken, t->reported, Fl::focus() == t), std::make_tuple(ret, reports, true)) << r;
    }
    t->callback(Fl_Widget::default_callback);  // which the default callback does not ask for
    t->when(FL_WHEN_NOT_CHANGED);
    EXPECT_EQ(qvtest::key(t, 'a'), 0);
    for (int cols : {0, 3}) {  // no cell, then no row: no move
        t->cols(cols), t->rows(0);
        for (int k : {FL_Right, FL_Down, FL_End, FL_Page_Down}) EXPECT_EQ(qvtest::key(t, k), 0) << k;
    }
}

// A key the table cannot use is returned unused, and the toolkit offers it round the window as a shortcut: the
// table's own scrollbars take none, wherever the pointer rests, so the view stays on the cursor. A push in a
// scrollbar's trough moves one view. A table of 10^6 rows costs nothing to draw.
TEST_F(TableTest, KeysTheTableCannotUseLeaveTheViewOnTheCursor) {
    build(1000000, 100);
    qvtest::showAndDraw(*win);
    const int tih = std::get<3>(t->area());
    // With the cursor at (r, c) and the view scrolled to (vscroll, hscroll), `keys` in turn; `pointer`: over the
    // cells, or resting on the vertical or the horizontal bar.
    enum { CELLS, VBAR, HBAR };
    const struct { int rows, r, c, vscroll, hscroll, pointer; std::vector<int> keys; Quad want; int hafter; } cases[] = {
        {1000000, 3, 0, 0, 0, CELLS, {FL_End, FL_End}, {3, 99, 3, 99}, 7724},  // to the last column, then nowhere
        {1000000, 3, 99, 0, 7724, VBAR, {FL_End}, {3, 99, 3, 99}, 7724},
        {1000000, 500000, 0, 12500000, 0, CELLS, {FL_Home}, {500000, 0, 500000, 0}, 0},
        {1000000, 0, 0, 10, 0, VBAR, {FL_Page_Up, FL_Up}, {0, 0, 0, 0}, 0},  // row 0 in part: it stays so
        {1000000, 999999, 4, 24999814, 0, CELLS, {FL_Page_Down, FL_Down}, {999999, 4, 999999, 4}, 0},
        {1000000, 7, 0, 0, 40, HBAR, {FL_Left}, {7, 0, 7, 0}, 40},
        {0, -1, -1, 0, 4000, HBAR, {FL_Left, FL_Up, FL_Left}, {-1, -1, -1, -1}, 4000},  // no row: no cell to go to
    };
    for (auto& k : cases) {
        t->rows(k.rows);
        t->set_selection(k.r, k.c, k.r, k.c);
        t->scrollTo(t->vscrollbar, k.vscroll), t->scrollTo(t->hscrollbar, k.hscroll);
        const std::pair<int, int> at[] = {t->middle(CELL, 0, 0), {t->vscrollbar->x() + 8, 100}, {100, t->hscrollbar->y() + 8}};
        qvtest::moveMouse(win, at[k.pointer].first, at[k.pointer].second);
        Fl::focus(t);
        int taken = 0;
        for (int key : k.keys) taken = qvtest::key(win, key);
        EXPECT_EQ(std::make_tuple(t->selection(), taken, int(t->vscrollbar->value()), int(t->hscrollbar->value())),
                  std::make_tuple(k.want, 0, k.vscroll, k.hafter))
            << "from " << k.r << "," << k.c << " key " << k.keys.back();
    }
    // A push in the trough below the thumb moves one view, whatever the rounding of the thumb's size.
    for (int rows : {1000000, 100}) {
        t->rows(rows);
        t->scrollTo(t->vscrollbar, 0);
        qvtest::flushDrawing();
        qvtest::click(win, t->vscrollbar->x() + 8, t->vscrollbar->y() + t->vscrollbar->h() - 30);
        EXPECT_EQ(int(t->vscrollbar->value()), tih) << rows;
    }
}

// A page key moves the cursor by the rows between the top and the bottom row. When the row reached is not one shown
// whole, the view follows by as many rows, so that the cursor keeps its place on screen, but by one view at most:
// paging down, then up, shows every row. Rows of other heights may leave the row reached outside that view: the
// cursor stops at the farthest row shown whole on its way, else shown in part, else the key is unused.
TEST_F(TableTest, PageKeysScrollOneViewAtMostAndShowEveryRow) {
    // The pixel rows of a row's cell that show: none when the first is not above the second.
    auto span = [&](int r) {
        auto [X, Y, W, H] = t->cell(CELL, r, 0);
        auto [AX, AY, AW, AH] = t->area();
        return std::pair{std::max(Y, AY), std::min(Y + H, AY + AH)};
    };
    auto shows = [&](int r) { return span(r).first < span(r).second; };
    auto cursor = [&] { return std::get<2>(t->selection()); };
    // A 10^6-row table paged from row 999,000 to its end and back; rows of 12 and 60 pixels in blocks of a dozen.
    for (bool varied : {false, true}) {
        build(varied ? 240 : 1000000, 1);
        for (int r = 0; varied && r < 240; ++r) t->row_height(r, r / 12 % 2 ? 60 : 12);
        t->cellColors = {FL_RED, FL_GREEN, FL_BLUE, FL_YELLOW};
        qvtest::showAndDraw(*win);
        const int first = varied ? 0 : 999000, last = t->rows() - 1, tih = std::get<3>(t->area());
        t->row_position(first);
        t->set_selection(first, 0, first, 0);
        Fl::focus(t);
        for (int key : {FL_Page_Down, FL_Page_Up}) {
            const int dir = key == FL_Page_Down ? 1 : -1;
            std::vector<bool> seen(last - first + 1);
            auto see = [&] {
                for (int r = std::max(t->toprow, first); r <= t->botrow; ++r) seen[r - first] = seen[r - first] || shows(r);
            };
            see();
            for (int n = 0; n < 1000 && (dir > 0 ? cursor() < last : cursor() > first); ++n) {
                const int before = t->vscrollbar->value(), at = span(cursor()).first;
                ASSERT_EQ(qvtest::key(win, key), 1) << cursor();
                const int moved = dir * (int(t->vscrollbar->value()) - before);
                ASSERT_TRUE(moved >= 0 && moved <= tih && shows(cursor())) << varied << " " << cursor() << " " << moved;
                const int x = t->middle(CELL, cursor(), 0).first, y = (span(cursor()).first + span(cursor()).second) / 2;
                EXPECT_EQ(pixelAt(*win, x, y), rgbOf(t->cellColors[cursor() % 4])) << cursor();
                // Rows of one height: the cursor keeps its place unless the view stopped at an end.
                if (!varied && moved && t->vscrollbar->value() != t->vscrollbar->maximum()) {
                    EXPECT_EQ(span(cursor()).first, at) << cursor();
                }
                see();
            }
            EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0) << varied << " " << key;
            EXPECT_TRUE(dir > 0 ? cursor() == last : cursor() <= first) << varied << " " << cursor();
        }
    }
    // Heights of rows from 0 on, each up to the next; the view's top, the cursor (-1: none), the key: the cursor and
    // the view after it. The view is 192 pixels high.
    const struct { std::vector<std::pair<int, int>> heights; int scroll, from, key, to, after; } cases[] = {
        {{{0, 25}}, 0, -1, FL_Page_Down, 6, 0}, {{{0, 25}}, 100, -1, FL_Page_Up, 0, 0},  // from row 0, in view or not
        {{{0, 25}}, 0, 1, FL_Page_Down, 7, 150},                     // to the bottom row, in part
        {{{0, 25}}, 40, 8, FL_Page_Up, 1, 0},                        // to the top row; the view stops at the top
        {{{0, 24}}, 0, 8, FL_Page_Down, 14, 336},                    // just below the view: out of sight
        {{{0, 20}, {10, 100}}, 0, 5, FL_Page_Down, 10, 192},         // row 11 shows only in part
        {{{0, 20}, {10, 250}, {11, 20}}, 0, 5, FL_Page_Down, 10, 192},  // row 10 is never whole
        {{{0, 20}, {9, 1000}}, 0, 9, FL_Page_Down, 9, 0},           // nothing after the tall row shows: unused
        {{{0, 20}, {6, 100}, {8, 30}, {9, 150}, {10, 50}, {11, 20}}, 550, 15, FL_Page_Up, 10, 358},
        {{{0, 96}, {10, 20}}, 960, 14, FL_Page_Up, 8, 768},          // row 8 at the very top
    };
    for (auto& k : cases) {
        build(40, 1);
        for (size_t i = 0; i < k.heights.size(); ++i)
            for (int r = k.heights[i].first; r < (i + 1 < k.heights.size() ? k.heights[i + 1].first : 40); ++r)
                t->row_height(r, k.heights[i].second);
        t->scrollTo(t->vscrollbar, k.scroll);
        t->set_selection(k.from, k.from < 0 ? -1 : 0, k.from, k.from < 0 ? -1 : 0);
        Fl::focus(t);
        const int taken = qvtest::key(win, k.key);
        EXPECT_EQ(std::make_tuple(taken, t->selection(), int(t->vscrollbar->value())),
                  std::make_tuple(int(k.to != k.from), Quad(k.to, 0, k.to, 0), k.after)) << k.from << " key " << k.key;
    }
}

// A view scrolled to a row's lower edge (a column's right edge) counts that row as its top one, though nothing of it
// shows: a key that moves the cursor there, or a caller, still scrolls it into view. A top row that shows in part
// is left as it is.
TEST_F(TableTest, ScrollingToTheTopRowMovesTheViewOnlyWhenNothingOfItShows) {
    build(20, 10);
    for (auto [vscroll, hscroll, key] : {std::tuple{25, 0, FL_Up}, {0, 80, FL_Left}, {25, 80, 0}}) {
        t->set_selection(1, 1, 1, 1);
        t->scrollTo(t->vscrollbar, vscroll), t->scrollTo(t->hscrollbar, hscroll);
        key ? (void)qvtest::key(t, key) : (t->row_position(0), t->col_position(0));
        EXPECT_EQ(std::make_tuple(int(t->vscrollbar->value()), int(t->hscrollbar->value()), t->toprow, t->col_position()),
                  std::make_tuple(0, 0, 0, 0)) << key;
    }
    // A top row and a left column that show in part are where the view is already.
    t->scrollTo(t->vscrollbar, 35), t->scrollTo(t->hscrollbar, 100);
    t->row_position(1), t->col_position(1);
    EXPECT_EQ(std::make_pair(int(t->vscrollbar->value()), int(t->hscrollbar->value())), std::make_pair(35, 100));
}

TEST_F(TableTest, ClicksAndDragsOnHeadersAndCells) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    EXPECT_EQ(qvtest::moveMouse(t, 60, 60), 1);
    EXPECT_EQ(qvtest::push(t, 30, 18), 1);  // where the two headers meet
    EXPECT_EQ(std::make_pair(t->selection(), qvtest::release(t, 30, 18)), std::make_pair(Quad(0, 0, 4, 2), 1));
    // Drags stretch a selection along what was pushed: columns, rows, or a block of cells that a header does not
    // change.
    const struct { Fl_Table::TableContext from; int r1, c1; Fl_Table::TableContext to; int r2, c2; Quad want; int taken; } drags[] = {
        {ROWH, 2, 0, ROWH, 2, 0, {2, 0, 2, 2}, 1}, {COLH, 0, 1, COLH, 0, 1, {0, 1, 4, 1}, 1}, {COLH, 0, 1, COLH, 0, 2, {0, 1, 4, 2}, 1},
        {COLH, 0, 2, CELL, 3, 0, {0, 2, 4, 0}, 1}, {ROWH, 1, 0, CELL, 3, 1, {1, 0, 3, 2}, 1}, {CELL, 1, 2, ROWH, 3, 0, {1, 2, 1, 2}, 0},
        {CELL, 1, 2, CELL, 2, 0, {1, 2, 2, 0}, 1},
    };
    for (auto& k : drags) {
        auto [x1, y1] = t->middle(k.from, k.r1, k.c1);
        auto [x2, y2] = t->middle(k.to, k.r2, k.c2);
        const int pushed = qvtest::push(t, x1, y1), dragged = qvtest::drag(t, x2, y2);
        qvtest::release(t, x2, y2);
        EXPECT_EQ(std::make_tuple(t->selection(), pushed, dragged), std::make_tuple(k.want, 1, k.taken)) << k.from << " to " << k.to;
    }
    // The selection is the rectangle between anchor and cursor, either way round.
    t->set_selection(3, 2, 1, 0);
    for (auto [r, c, in] : {std::tuple{1, 0, 1}, {3, 2, 1}, {2, 1, 1}, {0, 1, 0}, {4, 1, 0}, {2, 3, 0}, {2, -1, 0}})
        EXPECT_EQ(t->is_selected(r, c), in) << r << "," << c;
    // Focus first, then push and release; double clicks count. The release reports only on the row pushed, with the
    // column released on. A right click reports its cell but leaves the selection; below the last row a push selects
    // nothing and is not taken.
    t->logCallbacks();
    Fl::focus(nullptr);
    auto [x1, y1] = t->middle(CELL, 1, 0);
    auto [x2, y2] = t->middle(CELL, 2, 2);
    qvtest::click(win, x2, y1);
    qvtest::doubleClick(win, x1, y2);
    for (int y : {y2, y1}) qvtest::push(win, x1, y1), qvtest::release(win, x2, y);
    const int pushed3 = qvtest::push(t, x2, y2, 3), released3 = qvtest::release(t, x2, y2, 3);
    EXPECT_EQ(std::make_tuple(pushed3, released3, t->selection()), std::make_tuple(1, 0, Quad(1, 0, 1, 0)));
    const int below = qvtest::push(t, x2, 180);
    EXPECT_EQ(std::make_pair(below, t->selection()), std::make_pair(0, Quad(-1, -1, -1, -1)));
    // With a single row the column headers still answer; with none the corner selects nothing.
    t->rows(1);
    auto [hx, hy] = t->middle(COLH, 0, 2);
    qvtest::click(win, hx, hy);
    EXPECT_EQ(t->reported, "T-1,-1 c1,2 c1,2 c2,0 c2,0 c2,0* c2,0* c1,0 c1,0 c1,2 c2,2 c2,2 T0,0 C0,2 C0,2");
    t->rows(0);
    qvtest::click(t, 30, 18);
    EXPECT_EQ(t->selection(), Quad(-1, -1, -1, -1));
}

TEST_F(TableTest, HeaderBordersResizeRowsAndColumns) {
    build(5, 3, 200, true);
    qvtest::showAndDraw(*win);
    t->row_resize(1), t->col_resize(1);
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
    // Each drag step reports the new size, then the cell under the mouse, to a callback that asks for changes.
    t->logCallbacks();
    for (auto [when, reports] : {std::pair{FL_WHEN_RELEASE, ""}, {FL_WHEN_CHANGED, "Z0,0 Z0,1"}}) {
        t->col_width(0, 80);
        t->when(when);
        t->reported.clear();
        auto [X, Y, W, H] = t->cell(COLH, 0, 0);
        qvtest::push(win, X + W - 1, Y + 5), qvtest::drag(win, X + W + 9, Y + 5), qvtest::release(win, X + W + 9, Y + 5);
        EXPECT_EQ(std::make_pair(t->reported, t->col_width(0)), std::make_pair(std::string(reports), 90));
    }
}

TEST_F(TableTest, AutoDragScrollsBy30UntilTheReleaseOrTheLeave) {
    build(100, 20);
    qvtest::showAndDraw(*win);
    // Waits until the bar reaches or passes `target` (or 5 s pass), checking that it only moves towards it, by whole
    // steps of 30: a timer that comes late runs again in the same wait, so one wait may see several steps. Returns
    // the value reached.
    auto follow = [&](Fl_Scrollbar* bar, int target) {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        const int toward = target > bar->value() ? 1 : -1;
        int last = bar->value();
        while (toward * (last - target) < 0 && std::chrono::steady_clock::now() < fin) {
            Fl::wait(0.005);
            const int moved = toward * (int(bar->value()) - last);
            EXPECT_TRUE(moved >= 0 && moved % 30 == 0) << bar->value() << " after " << last;
            last = bar->value();
        }
        return last;
    };
    // The values of both bars after `seconds` of the event loop.
    auto after = [&](double seconds) {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < fin) Fl::wait(0.005);
        return std::make_pair(int(t->vscrollbar->value()), int(t->hscrollbar->value()));
    };
    qvtest::push(win, 100, 50), qvtest::drag(win, 280, 180);  // inside the band: no scroll
    EXPECT_EQ(after(0.4), std::make_pair(0, 0));
    qvtest::drag(win, 100, 200);  // below the band where the table scrolls by itself
    EXPECT_EQ(qvtest::drag(win, 30, 100), 1);  // the timer is armed: a real drag is ignored
    EXPECT_EQ(std::get<3>(t->selection()), 3);
    qvtest::drag(win, 100, 200);
    const int down = follow(t->vscrollbar, 120);
    EXPECT_EQ(std::get<2>(t->selection()), t->botrow);  // the cursor follows the pinned mouse
    qvtest::release(win, 100, 200);                     // over the horizontal scrollbar
    EXPECT_EQ(after(0.3), std::make_pair(down, 0));
    qvtest::push(win, 100, 50), qvtest::drag(win, 300, 100);  // right, then up and left: both bars step together
    const int right = follow(t->hscrollbar, 60);
    EXPECT_EQ(std::get<3>(t->selection()), t->rightcol);
    qvtest::drag(win, 12, 12);
    const int up = follow(t->vscrollbar, down - 60);
    qvtest::release(win, 12, 12);
    EXPECT_EQ(after(0), std::make_pair(up, std::max(0, right - (down - up))));
    // Leaving the table ends the auto-scroll, and so do a release whose callback waits (a dialog) and a deletion.
    qvtest::push(win, 100, 50), qvtest::drag(win, 100, 200);
    qvtest::sendEvent(t, FL_LEAVE, qvtest::EventSpec());
    EXPECT_EQ(after(0.4).first, up);
    qvtest::release(win, 100, 200);
    t->callback([](Fl_Widget*, void*) { Fl::wait(0.4); });
    qvtest::push(win, 100, 50), qvtest::drag(win, 100, 200), qvtest::release(win, 100, 200);
    EXPECT_EQ(after(0).first, up);
    qvtest::push(win, 100, 50), qvtest::drag(win, 100, 200);
    delete t;
    for (int i = 0; i < 50; ++i) Fl::wait(0.01);  // past the timer's delay
}

// The table scrolls by itself when a drag leaves the band inside its edges: from the row header's width on the left
// and the column header's height on top, shown or not, to 20 pixels before the right and bottom edges. A drag
// outside it arms the timer, which then ignores the real drags: the cursor stays where the drag left the band.
TEST_F(TableTest, AutoDragStartsWhereADragLeavesTheBand) {
    build(100, 20);
    t->row_header_width(60), t->col_header_height(30);  // the band: 70 <= x <= 290, 40 <= y <= 190
    qvtest::showAndDraw(*win);
    const int inside[] = {100, 100};
    for (auto [x, y, armed] : {std::tuple{69, 100, true}, {70, 100, false}, {100, 39, true}, {100, 40, false},
                               {291, 100, true}, {290, 100, false}, {100, 191, true}, {100, 190, false}}) {
        qvtest::push(win, 150, 150), qvtest::drag(win, x, y);
        const Quad left = t->selection();
        qvtest::drag(win, inside[0], inside[1]);
        const Quad now = t->selection();
        qvtest::release(win, inside[0], inside[1]);
        EXPECT_EQ(now == left, armed) << x << "," << y;
    }
}

int clipWarnings = 0;
void countWarning(const char*, ...) { ++clipWarnings; }

// A full draw, then partial repaints of the cells a selection change touches; both leave the clipping as they found
// it, so a widget drawn after the table in the same pass still shows.
TEST_F(TableTest, FullDrawThenPartialRepaints) {
    build(3, 2, 200, true);
    Fl_Box* after = new Fl_Box(FL_FLAT_BOX, 320, 10, 50, 50, nullptr);
    win->add(after);
    qvtest::showAndDraw(*win);
    auto* saved = Fl::warning;
    Fl::warning = countWarning;
    enum { REDRAW, CLICK, DRAG, SET, KEY };
    const struct { int how, r, c; Fl_Color color; const char* order; } steps[] = {
        // A full repaint with a partial one pending draws each cell once.
        {REDRAW, 0, 0, FL_GREEN, "S R0,0 R1,0 R2,0 C0,0 C0,1 c0,0 c0,1 c1,0 c1,1 c2,0 c2,1 E"},
        {CLICK, 1, 1, FL_BLUE, "S c0,0 c1,0 c0,1 c1,1 E"}, {CLICK, 2, 0, FL_RED, "S c1,0 c2,0 c1,1 c2,1 E"},
        {DRAG, 2, 1, FL_BLUE, "S c2,0 c2,1 E"}, {DRAG, 1, 1, FL_RED, "S c1,0 c2,0 c1,1 c2,1 E"},
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
        if (k.how == REDRAW || k.how == SET) t->set_selection(k.r, k.c, k.r, k.c);
        if (k.how == REDRAW) t->redraw();
        if (k.how == KEY) qvtest::key(t, FL_Down);
        const qvtest::Rgb pixel = pixelAt(*win, 340, 30);
        EXPECT_EQ(std::make_pair(pixel, t->calls), std::make_pair(rgbOf(k.color), std::string(k.order)));
    }
    t->rows(0);  // column headers only
    t->calls.clear();
    qvtest::flushDrawing();
    Fl::warning = saved;
    EXPECT_EQ(std::make_pair(t->calls, clipWarnings), std::make_pair(std::string("S C0,0 C0,1 E"), 0));
}

// After each scroll the cells show their colours, cut at the data area's edges, and the header strips end with bands
// of the headers' colours where the data area ends; the square between the scrollbars shows the table's.
TEST_F(TableTest, ScrollsRepaintCellsHeadersAndBands) {
    build(100, 10, 200, true);
    win->color(FL_CYAN);  // unlike the table, so that unpainted pixels show
    t->cellColors = {FL_RED, FL_GREEN, FL_BLUE};
    const qvtest::Rgb color[3] = {rgbOf(FL_RED), rgbOf(FL_GREEN), rgbOf(FL_BLUE)};
    qvtest::showAndDraw(*win);
    auto [X, Y, W, H] = t->area();
    const qvtest::Rgb header = rgbOf(t->headerColor), rowBand = rgbOf(t->row_header_color()), colBand = rgbOf(t->col_header_color());
    auto seen = [&](int x, int y, qvtest::Rgb want) { EXPECT_EQ(pixelAt(*win, x, y), want) << x << "," << y; };
    auto isCell = [&](int x, int y) { return std::count(color, color + 3, pixelAt(*win, x, y)) == 1; };
    seen(t->vscrollbar->x() + 8, t->hscrollbar->y() + 8, rgbOf(t->color()));
    for (int x : {10, X - 2}) EXPECT_NE(pixelAt(*win, x, Y + 50), rgbOf(FL_CYAN)) << x;  // the frames
    // 10 pixels into the data area: cell ((scroll y + 10) / 25, (scroll x + 10) / 80), colour (r + c) % 3.
    const struct { int wheel, hbar, vbar, row, col, want; } steps[] = {
        {0, -1, -1, -1, -1, 0}, {3, -1, -1, -1, -1, 2},  // three lines of 16 pixels: row 2
        {0, 100, -1, -1, -1, 0}, {0, -1, 260, -1, -1, 2}, {0, -1, -1, 20, -1, 0}, {0, -1, -1, -1, 2, 1}, {-40, -1, -1, -1, -1, 2},
    };
    for (auto& k : steps) {
        if (k.wheel) qvtest::wheel(win, 100, 100, k.wheel);
        if (k.hbar >= 0) t->scrollTo(t->hscrollbar, k.hbar);
        if (k.vbar >= 0) t->scrollTo(t->vscrollbar, k.vbar);
        if (k.row >= 0) t->row_position(k.row);
        if (k.col >= 0) t->col_position(k.col);
        seen(X + 10, Y + 10, color[k.want]);
        for (auto [x, y, want] : {std::tuple{X, 20, header}, {X - 1, 20, colBand}, {X + W - 1, 20, header}, {X + W, 20, colBand},
                                  {30, Y, header}, {30, Y - 1, rowBand}, {30, Y + H - 1, header}, {30, Y + H, rowBand}})
            seen(x, y, want);
        EXPECT_EQ(std::make_tuple(isCell(X + W - 1, Y + H - 1), isCell(X + 10, Y + H + 2), isCell(X + W + 2, Y + 10)),
                  std::make_tuple(true, false, false));
    }
    // A click on a scrollbar scrolls, and is not a click on the table.
    t->set_selection(1, 1, 1, 1);
    t->logCallbacks();
    qvtest::click(win, t->vscrollbar->x() + 8, 150);
    EXPECT_EQ(std::make_tuple(t->vscrollbar->value() > 0, t->selection(), t->reported), std::make_tuple(true, Quad(1, 1, 1, 1), ""));
    // Each header setter repaints the table: a pixel that changes sides.
    t->cellColors = {FL_WHITE};
    t->row_header_width(60), seen(60, 60, header);
    t->col_header_height(30), seen(100, 38, header);
    t->col_header(0), seen(100, 20, rgbOf(FL_WHITE));
    t->row_header(0), seen(30, 60, rgbOf(FL_WHITE));
}

// Rows and columns taken away, by a caller or by a callback during a click, take the selection's ends to the last
// cells that remain, or leave no selection; so does a click on a header with nothing beside it, and a drag never
// stretches a selection that ended under it.
TEST_F(TableTest, TakingRowsAndColumnsAwayLeavesASelectionOfCells) {
    const Quad none(-1, -1, -1, -1);
    const struct { int rows, cols; Quad sel; int newRows, newCols; Quad want; } counts[] = {
        {5, 4, {4, 3, 2, 1}, 3, 4, {2, 3, 2, 1}}, {5, 4, {1, 3, 4, 0}, 5, 2, {1, 1, 4, 0}}, {5, 4, {2, 0, 0, 0}, 0, 4, none},
        {5, 4, {2, 1, 2, 1}, 5, 0, none},         {5, 4, none, 2, 2, none},                {5, 4, {1, 1, 3, 3}, 8, 6, {1, 1, 3, 3}},
    };
    for (auto& k : counts) {
        build(k.rows, k.cols);
        t->set_selection(std::get<0>(k.sel), std::get<1>(k.sel), std::get<2>(k.sel), std::get<3>(k.sel));
        t->rows(k.newRows), t->cols(k.newCols);
        EXPECT_EQ(t->selection(), k.want) << k.newRows << "x" << k.newCols;
    }
    // The callback empties the table when it hears of `on`: first the focus, then the push on a header.
    struct Emptier {
        qvtest::TableProbe<Fl_Table>* t;
        Fl_Table::TableContext on;
        bool rows;
    };
    const struct { bool focused; Fl_Table::TableContext on; bool rows; Fl_Table::TableContext where; int r, c; const char* reports; } pushes[] = {
        {false, TABLE, true, CELL, 1, 1, "T-1,-1 T0,0 T0,0"},  // the cell is gone by the push's own report
        {true, ROWH, true, ROWH, 1, 0, "R1,0"}, {true, COLH, false, COLH, 0, 1, "C0,1"},
    };
    for (auto& k : pushes) {
        build(3, 3, 200, true);
        qvtest::showAndDraw(*win);
        auto [x, y] = t->middle(k.where, k.r, k.c);
        Emptier e{t, k.on, k.rows};
        t->callback([](Fl_Widget*, void* p) {
            auto* e = static_cast<Emptier*>(p);
            auto* t = e->t;
            t->reported += (t->reported.empty() ? "" : " ") + qvtest::callWord(t->callback_context(), t->callback_row(), t->callback_col());
            if (t->callback_context() == e->on) e->rows ? t->rows(0) : t->cols(0);
        }, &e);
        Fl::focus(k.focused ? t : nullptr);
        qvtest::click(win, x, y);
        EXPECT_EQ(std::make_pair(t->reported, t->selection()), std::make_pair(std::string(k.reports), none)) << k.on;
    }
    for (auto [rows, cols, where, r, c, want] : {std::tuple{27, 0, ROWH, 3, 0, none}, {0, 3, COLH, 0, 1, none},
                                                 {27, 1, ROWH, 3, 0, Quad(3, 0, 3, 0)}, {1, 3, COLH, 0, 1, Quad(0, 1, 0, 1)}}) {
        build(rows, cols, 200, true);
        auto [x, y] = t->middle(where, r, c);
        qvtest::click(win, x, y);
        EXPECT_EQ(t->selection(), want) << rows << "x" << cols;
    }
    build(5, 3);
    auto [x1, y1] = t->middle(CELL, 1, 1);
    auto [x2, y2] = t->middle(CELL, 3, 2);
    qvtest::push(win, x1, y1);
    t->rows(0), t->rows(5);
    qvtest::drag(win, x2, y2), qvtest::release(win, x2, y2);
    EXPECT_EQ(t->selection(), none);
}

// In a table 29 pixels high the vertical bar is 9 pixels long, shorter than its arrows: a drag on it gives the
// toolkit's slider no number, and the table goes back to its first row.
TEST_F(TableTest, ABarShorterThanItsArrowsScrollsToTheStart) {
    build(20, 10, 29);
    qvtest::showAndDraw(*win);
    Fl_Valuator* bar = t->vscrollbar;
    t->row_position(5);
    const int x = bar->x() + 8, y = bar->y() + 4;
    qvtest::push(win, x, y), qvtest::drag(win, x, y + 60), qvtest::release(win, x, y + 60);
    EXPECT_EQ(std::make_tuple(bar->h(), bar->value(), t->toprow, std::get<1>(t->cell(CELL, 0, 0))),
              std::make_tuple(9, 0.0, 0, std::get<1>(t->area())));
}

// A callback may delete the table, as a window closing would.
TEST_F(TableTest, ACallbackMayDeleteTheTable) {
    for (int event : {FL_PUSH, FL_RELEASE, FL_KEYBOARD}) {
        build(3, 3);
        Fl::focus(nullptr);
        t->when(FL_WHEN_RELEASE | FL_WHEN_NOT_CHANGED);
        t->callback([](Fl_Widget* w, void* on) {
            if (Fl::event() == *static_cast<int*>(on)) Fl::delete_widget(w), Fl::do_widget_deletion();
        }, &event);
        auto [x, y] = t->middle(CELL, 1, 1);
        const int ret = event == FL_KEYBOARD ? qvtest::key(t, FL_Down) : event == FL_PUSH ? qvtest::push(t, x, y)
                                                                                         : (qvtest::push(t, x, y), qvtest::release(t, x, y));
        EXPECT_EQ(std::make_pair(ret, win->children()), std::make_pair(1, 0)) << event;
    }
    // A caller's row_height_all stops at the first size change whose callback deletes the table.
    build(3, 3);
    static int calls;
    calls = 0;
    t->when(FL_WHEN_CHANGED);
    t->callback([](Fl_Widget* w, void*) { ++calls, delete w; });
    t->row_height_all(40);
    EXPECT_EQ(std::make_pair(calls, win->children()), std::make_pair(1, 0));
}

}  // namespace
