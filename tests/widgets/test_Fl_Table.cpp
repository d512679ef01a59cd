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

namespace {

// Exposes what the table keeps for its subclasses.
class Probe : public qvtest::RecordingCells<Fl_Table> {
public:
    using RecordingCells::RecordingCells;
    using Fl_Table::botrow;
    using Fl_Table::current_col;
    using Fl_Table::current_row;
    using Fl_Table::hscrollbar;
    using Fl_Table::leftcol;
    using Fl_Table::rightcol;
    using Fl_Table::select_col;
    using Fl_Table::select_row;
    using Fl_Table::table_h;
    using Fl_Table::table_w;
    using Fl_Table::tih;
    using Fl_Table::tiw;
    using Fl_Table::tix;
    using Fl_Table::tiy;
    using Fl_Table::toprow;
    using Fl_Table::vscrollbar;

    // anchor row, anchor column, cursor row, cursor column
    std::tuple<int, int, int, int> selection() const {
        return std::make_tuple(current_row, current_col, select_row, select_col);
    }
};

using Sel = std::tuple<int, int, int, int>;

// A 300 x 200 table at (10, 10) in a 400 x 300 window; inside its frames the
// data area starts at (14, 14) and is 292 x 192 before scrollbars and headers.
class TableTest : public ::testing::Test {
protected:
    Fl_Window* win = nullptr;
    Probe* t = nullptr;
    TableCallbackLog log;

    void build(int rows, int cols, int h = 200) {
        win = new Fl_Window(0, 0, 400, 300);
        t = new Probe(10, 10, 300, h);
        t->end();
        win->end();
        t->rows(rows);
        t->cols(cols);
    }
    void TearDown() override { delete win; }

    void centre(Fl_Table::TableContext ctx, int r, int c, int& x, int& y) {
        int X, Y, W, H;
        x = y = 0;
        ASSERT_EQ(t->find_cell(ctx, r, c, X, Y, W, H), 0);
        x = X + W / 2;
        y = Y + H / 2;
    }
    void clickCell(Fl_Table::TableContext ctx, int r, int c, int button = 1, int mods = 0) {
        int x, y;
        centre(ctx, r, c, x, y);
        qvtest::click(win, x, y, button, mods);
    }
    int rect(Fl_Table::TableContext ctx, int r, int c, std::tuple<int, int, int, int>& out) {
        int X, Y, W, H;
        int ret = t->find_cell(ctx, r, c, X, Y, W, H);
        out = std::make_tuple(X, Y, W, H);
        return ret;
    }
};

// ---- sizes and geometry ----

TEST_F(TableTest, NewTableIsEmptyAndDrawsNoCell) {
    build(0, 0);
    EXPECT_EQ(t->rows(), 0);
    EXPECT_EQ(t->cols(), 0);
    EXPECT_EQ(std::make_tuple(t->toprow, t->botrow, t->leftcol, t->rightcol),
              std::make_tuple(-1, -1, -1, -1));
    EXPECT_EQ(t->row_header_width(), 40);
    EXPECT_EQ(t->col_header_height(), 18);
    EXPECT_FALSE(t->row_header() || t->col_header() || t->row_resize() || t->col_resize());
    EXPECT_EQ(t->row_resize_min(), 1);
    EXPECT_EQ(t->selection(), Sel(-1, -1, -1, -1));

    qvtest::showAndDraw(*win);
    for (const auto& call : t->calls)
        EXPECT_TRUE(call.context == Fl_Table::CONTEXT_STARTPAGE ||
                    call.context == Fl_Table::CONTEXT_ENDPAGE)
            << call;
}

TEST_F(TableTest, CountsGrowWithTheLastSize) {
    build(3, 2);
    EXPECT_EQ(t->row_height(0), 25);
    EXPECT_EQ(t->row_height(2), 25);
    EXPECT_EQ(t->col_width(1), 80);
    t->row_height(2, 40);
    t->col_width(1, 50);
    t->rows(5);
    t->cols(4);
    EXPECT_EQ(t->row_height(3), 40);
    EXPECT_EQ(t->row_height(4), 40);
    EXPECT_EQ(t->col_width(3), 50);
    EXPECT_EQ(t->row_height(5), 0);   // outside the array
    EXPECT_EQ(t->row_height(-1), 0);
    EXPECT_EQ(t->table_h, 2 * 25 + 3 * 40);

    // A height set past the last row waits for the rows to come.
    t->row_height(7, 30);
    EXPECT_EQ(t->rows(), 5);
    EXPECT_EQ(t->row_height(6), 30);
    t->rows(9);
    EXPECT_EQ(t->row_height(8), 30);

    t->row_height(-1, 10);
    t->rows(-4);
    t->cols(-1);
    EXPECT_EQ(t->rows(), 0);
    EXPECT_EQ(t->cols(), 0);
}

TEST_F(TableTest, SizeChangesCallBackOnlyWhenSomethingChanged) {
    build(3, 3);
    log.attach(*t);
    t->when(FL_WHEN_CHANGED);
    t->row_height(1, 25);
    t->col_width(1, 80);
    EXPECT_TRUE(log.entries.empty());
    t->row_height(1, 30);
    t->col_width(2, 50);
    std::vector<TableCallbackLog::Entry> want = {{Fl_Table::CONTEXT_RC_RESIZE, 1, 0, 0},
                                                 {Fl_Table::CONTEXT_RC_RESIZE, 0, 2, 0}};
    EXPECT_EQ(log.entries, want);
}

TEST_F(TableTest, FindCellInEveryContext) {
    build(5, 3);
    t->row_header(1);
    t->col_header(1);
    // Data area now starts at (54, 32): the frames, a 40-pixel row header and
    // an 18-pixel column header.
    struct Case {
        Fl_Table::TableContext ctx;
        int r, c, ret, X, Y, W, H;
    } cases[] = {
        {Fl_Table::CONTEXT_CELL, 1, 2, 0, 214, 57, 80, 25},
        {Fl_Table::CONTEXT_TABLE, 4, 0, 0, 54, 132, 80, 25},
        {Fl_Table::CONTEXT_ROW_HEADER, 2, 0, 0, 12, 82, 40, 25},
        {Fl_Table::CONTEXT_COL_HEADER, 0, 1, 0, 134, 12, 80, 18},
        {Fl_Table::CONTEXT_CELL, 5, 0, -1, 0, 0, 0, 0},
        {Fl_Table::CONTEXT_CELL, 0, 3, -1, 0, 0, 0, 0},
        {Fl_Table::CONTEXT_CELL, -1, 0, -1, 0, 0, 0, 0},
        {Fl_Table::CONTEXT_COL_HEADER, 7, 1, -1, 0, 0, 0, 0},
        {Fl_Table::CONTEXT_ROW_HEADER, 0, 5, -1, 0, 0, 0, 0},
        // Unknown context: the cell rectangle stays in the outputs.
        {Fl_Table::CONTEXT_STARTPAGE, 1, 1, -1, 134, 57, 80, 25},
    };
    for (const Case& k : cases) {
        std::tuple<int, int, int, int> got;
        testing::internal::CaptureStderr();
        EXPECT_EQ(rect(k.ctx, k.r, k.c, got), k.ret) << k.ctx << " " << k.r << "," << k.c;
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(got, std::make_tuple(k.X, k.Y, k.W, k.H)) << k.ctx << " " << k.r << "," << k.c;
        EXPECT_EQ(err, k.ctx == Fl_Table::CONTEXT_STARTPAGE
                           ? "Fl_Table::find_cell: unknown context 1\n"
                           : "");
    }

    // Headers still have cells when the other dimension is empty.
    std::tuple<int, int, int, int> got;
    t->cols(0);
    EXPECT_EQ(rect(Fl_Table::CONTEXT_ROW_HEADER, 1, 0, got), 0);
    EXPECT_EQ(got, std::make_tuple(12, 57, 40, 25));
    t->cols(3);
    t->rows(0);
    EXPECT_EQ(rect(Fl_Table::CONTEXT_COL_HEADER, 0, 2, got), 0);
    EXPECT_EQ(got, std::make_tuple(214, 12, 80, 18));

    int X = 7, Y = 7, W = 7, H = 7;
    testing::internal::CaptureStderr();
    t->get_bounds(Fl_Table::CONTEXT_CELL, X, Y, W, H);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Fl_Table::get_bounds(): context 16 unimplemented\n");
    EXPECT_EQ(std::make_tuple(X, Y, W, H), std::make_tuple(7, 7, 7, 7));
    t->get_bounds(Fl_Table::CONTEXT_ROW_HEADER, X, Y, W, H);
    EXPECT_EQ(std::make_tuple(X, Y, W, H), std::make_tuple(12, 30, 40, 178));
}

TEST_F(TableTest, EachScrollbarShowsWhenItsDimensionOverflows) {
    // 292 x 192 available; a scrollbar takes 16 pixels from the other dimension.
    struct Case {
        int rows, rowh, cols, colw;
        bool v, h;
    } cases[] = {
        {7, 25, 3, 80, false, false}, {8, 25, 3, 80, true, false},
        {3, 25, 4, 80, false, true},  {8, 25, 4, 80, true, true},
        {6, 30, 4, 80, true, true},   // 180 fits, but not beside a horizontal bar
        {8, 25, 4, 70, true, true},   // 280 fits, but not beside a vertical bar
        {6, 31, 3, 96, false, false},
    };
    build(0, 0);
    for (const Case& k : cases) {
        t->rows(k.rows);
        t->cols(k.cols);
        t->row_height_all(k.rowh);
        for (int c = 0; c < k.cols; ++c) t->col_width(c, k.colw);
        SCOPED_TRACE(testing::Message() << k.rows << "x" << k.rowh << " " << k.cols << "x" << k.colw);
        EXPECT_EQ(t->vscrollbar->visible() != 0, k.v);
        EXPECT_EQ(t->hscrollbar->visible() != 0, k.h);
        EXPECT_EQ(t->tiw, 292 - (k.v ? 16 : 0));
        EXPECT_EQ(t->tih, 192 - (k.h ? 16 : 0));
        if (k.v && k.h) {
            EXPECT_EQ(std::make_tuple(t->vscrollbar->x(), t->vscrollbar->y(), t->vscrollbar->w(),
                                      t->vscrollbar->h()),
                      std::make_tuple(292, 12, 16, 180));
            EXPECT_EQ(std::make_tuple(t->hscrollbar->x(), t->hscrollbar->y(), t->hscrollbar->w(),
                                      t->hscrollbar->h()),
                      std::make_tuple(12, 192, 280, 16));
        }
    }
}

TEST_F(TableTest, LastRowsReachableAfterARowAboveTheTopGrows) {
    build(100, 1);
    t->row_position(50);
    int X, Y, W, H;
    t->find_cell(Fl_Table::CONTEXT_CELL, 50, 0, X, Y, W, H);
    EXPECT_EQ(Y, t->tiy);
    t->row_height(10, 125);
    EXPECT_EQ(t->table_h, 100 * 25 + 100);
    t->row_position(99);
    EXPECT_EQ(t->botrow, 99);
    ASSERT_EQ(t->find_cell(Fl_Table::CONTEXT_CELL, 99, 0, X, Y, W, H), 0);
    EXPECT_EQ(Y + H, t->tiy + t->tih);
}

// ---- keys on a focused 3 x 4 table ----

class KeyTest : public TableTest {
protected:
    void SetUp() override {
        build(3, 4);
        for (int c = 0; c < 4; ++c) t->col_width(c, 60);
        Fl::focus(t);
    }
    void cursorAt(int r, int c) { t->set_selection(r, c, r, c); }
};

TEST_F(KeyTest, RightArrowWrapsToTheNextRow) {
    struct Case {
        int r, c, mods;
        Sel want;
    } cases[] = {
        {1, 1, 0, Sel(1, 2, 1, 2)},
        {0, 3, 0, Sel(1, 0, 1, 0)},
        {2, 3, 0, Sel(0, 0, 0, 0)},
        {0, 3, FL_SHIFT, Sel(0, 3, 1, 0)},  // the anchor stays with Shift
        {2, 3, FL_SHIFT, Sel(2, 3, 0, 0)},
    };
    for (const Case& k : cases) {
        cursorAt(k.r, k.c);
        EXPECT_EQ(qvtest::key(t, FL_Right, k.mods), 1);
        EXPECT_EQ(t->selection(), k.want) << "from " << k.r << "," << k.c << " mods " << k.mods;
    }
}

TEST_F(KeyTest, KeysThatCannotMoveReachOnlyACallbackThatAsksForThem) {
    cursorAt(2, 1);
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);  // the default callback swallows nothing
    t->when(FL_WHEN_NOT_CHANGED | FL_WHEN_RELEASE);
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);

    log.attach(*t);
    t->when(FL_WHEN_RELEASE);
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);
    EXPECT_TRUE(log.entries.empty());

    t->when(FL_WHEN_NOT_CHANGED | FL_WHEN_RELEASE);
    EXPECT_EQ(qvtest::key(t, FL_Down), 1);
    EXPECT_EQ(qvtest::key(t, 'a', 0, "a"), 1);
    std::vector<TableCallbackLog::Entry> want = {{Fl_Table::CONTEXT_CELL, 2, 1, 0},
                                                 {Fl_Table::CONTEXT_CELL, 2, 1, 0}};
    EXPECT_EQ(log.entries, want);
    EXPECT_EQ(t->selection(), Sel(2, 1, 2, 1));
}

TEST_F(KeyTest, HomeEndAndFocus) {
    log.attach(*t);
    cursorAt(1, 2);
    qvtest::key(t, FL_Home);
    EXPECT_EQ(t->selection(), Sel(1, 0, 1, 0));
    qvtest::key(t, FL_End);
    EXPECT_EQ(t->selection(), Sel(1, 3, 1, 3));
    EXPECT_TRUE(log.entries.empty());

    // A move on a table without the focus reports it and takes the focus.
    Fl::focus(nullptr);
    qvtest::key(t, FL_Left);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0], (TableCallbackLog::Entry{Fl_Table::CONTEXT_TABLE, -1, -1, 0}));
    EXPECT_EQ(Fl::focus(), t);
}

TEST_F(TableTest, PageKeysMoveByTheVisibleRowsLessOne) {
    // Table heights giving 1, 2 and 4 visible rows of 25 pixels.
    struct Case {
        int height, visible, down, up;
    } cases[] = {{33, 1, 5, 5}, {40, 2, 5, 5}, {108, 4, 7, 3}};
    for (const Case& k : cases) {
        build(10, 1, k.height);
        ASSERT_EQ(t->botrow - t->toprow + 1, k.visible);
        t->set_selection(5, 0, 5, 0);
        qvtest::key(t, FL_Page_Down);
        EXPECT_EQ(t->selection(), Sel(k.down, 0, k.down, 0)) << k.visible << " visible";
        t->set_selection(5, 0, 5, 0);
        t->row_position(0);
        qvtest::key(t, FL_Page_Up);
        EXPECT_EQ(t->selection(), Sel(k.up, 0, k.up, 0)) << k.visible << " visible";
        delete win;
        win = nullptr;
    }
}

TEST_F(TableTest, KeysOnAnEmptyTableDoNotMoveTheCursor) {
    build(0, 0);
    Fl::focus(t);
    for (int k : {FL_Right, FL_Down, FL_Home, FL_End, FL_Page_Down}) {
        EXPECT_EQ(qvtest::key(t, k), 0);
        EXPECT_EQ(t->selection(), Sel(-1, -1, -1, -1));
    }
    t->rows(3);  // rows but no columns
    EXPECT_EQ(qvtest::key(t, FL_Down), 0);
    EXPECT_EQ(qvtest::key(t, FL_Right), 0);
    EXPECT_EQ(t->selection(), Sel(-1, -1, -1, -1));
}

// ---- mouse ----

class MouseTest : public TableTest {
protected:
    void SetUp() override {
        build(5, 3);
        t->row_header(1);
        t->col_header(1);
        qvtest::showAndDraw(*win);
    }
};

TEST_F(MouseTest, CornerAndHeaderClicksSelectWholeStrips) {
    qvtest::click(win, 30, 18);  // where the two headers meet
    EXPECT_EQ(t->selection(), Sel(0, 0, 4, 2));
    clickCell(Fl_Table::CONTEXT_ROW_HEADER, 2, 0);
    EXPECT_EQ(t->selection(), Sel(2, 0, 2, 2));
    clickCell(Fl_Table::CONTEXT_COL_HEADER, 0, 1);
    EXPECT_EQ(t->selection(), Sel(0, 1, 4, 1));

    t->rows(0);
    qvtest::click(win, 30, 18);
    EXPECT_EQ(t->selection(), Sel(-1, -1, -1, -1));
}

TEST_F(MouseTest, CellClicksAndDoubleClicks) {
    log.attach(*t);
    Fl::focus(nullptr);
    clickCell(Fl_Table::CONTEXT_CELL, 1, 2);
    using E = TableCallbackLog::Entry;
    std::vector<E> want = {{Fl_Table::CONTEXT_TABLE, -1, -1, 0},
                           {Fl_Table::CONTEXT_CELL, 1, 2, 0},
                           {Fl_Table::CONTEXT_CELL, 1, 2, 0}};
    EXPECT_EQ(log.entries, want);
    EXPECT_EQ(t->selection(), Sel(1, 2, 1, 2));
    EXPECT_EQ(Fl::focus(), t);

    log.entries.clear();
    int x, y;
    centre(Fl_Table::CONTEXT_CELL, 3, 0, x, y);
    qvtest::doubleClick(win, x, y);
    want = {{Fl_Table::CONTEXT_CELL, 3, 0, 0},
            {Fl_Table::CONTEXT_CELL, 3, 0, 0},
            {Fl_Table::CONTEXT_CELL, 3, 0, 1},
            {Fl_Table::CONTEXT_CELL, 3, 0, 1}};
    EXPECT_EQ(log.entries, want);

    // Another button reports the cell without moving the cursor.
    log.entries.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 0, 0, 3);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries[0], (E{Fl_Table::CONTEXT_CELL, 0, 0, 0}));
    EXPECT_EQ(t->selection(), Sel(3, 0, 3, 0));
}

TEST_F(MouseTest, HeaderBordersResizeRowsAndColumns) {
    t->row_resize(1);
    t->col_resize(1);
    // Pushes at an offset inside header cell 2, then a drag; 25 x 80 cells.
    struct Case {
        bool row;
        int offset, by, resized, size;
    } cases[] = {
        {true, 0, 10, 1, 35},   {true, 3, 10, 1, 35},  {true, 4, 10, -1, 0},
        {true, 21, 10, -1, 0},  {true, 22, 10, 2, 35}, {true, 24, -100, 2, 1},
        {false, 2, 15, 1, 95},  {false, 77, 15, 2, 95}, {false, 40, 15, -1, 0},
        {false, 79, -200, 2, 1},
    };
    for (const Case& k : cases) {
        t->row_height_all(25);
        for (int c = 0; c < 3; ++c) t->col_width(c, 80);
        int X, Y, W, H;
        t->find_cell(k.row ? Fl_Table::CONTEXT_ROW_HEADER : Fl_Table::CONTEXT_COL_HEADER,
                     k.row ? 2 : 0, k.row ? 0 : 2, X, Y, W, H);
        int px = k.row ? X + W / 2 : X + k.offset, py = k.row ? Y + k.offset : Y + H / 2;
        qvtest::push(win, px, py);
        qvtest::drag(win, px + (k.row ? 0 : k.by), py + (k.row ? k.by : 0));
        qvtest::release(win, px, py);
        SCOPED_TRACE(testing::Message() << (k.row ? "row" : "column") << " offset " << k.offset);
        for (int i = 0; i < 3; ++i) {
            int want = i == k.resized ? k.size : (k.row ? 25 : 80);
            EXPECT_EQ(k.row ? t->row_height(i) : t->col_width(i), want) << i;
        }
    }
}

TEST_F(MouseTest, WheelOverTheScrollbarScrollsTheRows) {
    t->rows(50);
    qvtest::flushDrawing();
    ASSERT_TRUE(t->vscrollbar->visible());
    qvtest::wheel(win, t->vscrollbar->x() + 8, t->vscrollbar->y() + 40, 0, 3);
    EXPECT_GT(t->toprow, 0);
}

class AutoDragTest : public TableTest {
protected:
    void SetUp() override {
        build(100, 10);
        qvtest::showAndDraw(*win);
    }
    // Pushes on a cell, then drags below the band where the table scrolls by itself.
    void dragPastTheBottom() {
        int x, y;
        centre(Fl_Table::CONTEXT_CELL, 1, 1, x, y);
        qvtest::push(win, x, y);
        qvtest::drag(win, x, 200);
    }
};

TEST_F(AutoDragTest, ScrollsBy30AfterTheDelay) {
    using Clock = std::chrono::steady_clock;
    dragPastTheBottom();
    const Clock::time_point start = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    int last = 0;
    double first_step = -1;
    while (t->vscrollbar->value() < 120 && elapsed() < 5) {
        Fl::wait(0.005);
        int v = t->vscrollbar->value();
        if (v == last) continue;
        EXPECT_EQ(v, last + 30);
        if (first_step < 0) first_step = elapsed();
        last = v;
    }
    EXPECT_GE(first_step, 0.25);
    EXPECT_EQ(t->vscrollbar->value(), 120);
    EXPECT_EQ(t->select_row, t->botrow);  // the cursor follows the pinned mouse

    qvtest::release(win, 100, 200);  // over the horizontal scrollbar
    const double stopped = elapsed();
    while (elapsed() < stopped + 0.3) Fl::wait(0.01);
    EXPECT_EQ(t->vscrollbar->value(), 120);
}

TEST_F(AutoDragTest, TableDeletedWhileTheTimerIsArmed) {
    dragPastTheBottom();
    delete t;
    t = nullptr;
    for (int i = 0; i < 50; ++i) Fl::wait(0.01);
}

// Deletes itself from a timeout queued by the auto-scroll's own drag pass,
// which the timer's event processing then runs.
class DeletedByItsTimer : public Probe {
public:
    using Probe::Probe;
    bool armed = false;
    bool* deleted = nullptr;
    int handle(int event) override {
        if (event == FL_DRAG && armed) Fl::add_timeout(0.0, deleteIt, this);
        return Probe::handle(event);
    }
    static void deleteIt(void* d) {
        DeletedByItsTimer* self = static_cast<DeletedByItsTimer*>(d);
        *self->deleted = true;
        delete self;
    }
};

TEST(AutoDragDeletion, TableDeletedDuringTheTimersPass) {
    Fl_Window win(0, 0, 400, 300);
    DeletedByItsTimer* t = new DeletedByItsTimer(10, 10, 300, 200);
    t->end();
    win.end();
    t->rows(100);
    t->cols(10);
    qvtest::showAndDraw(win);
    bool deleted = false;
    t->deleted = &deleted;
    qvtest::push(&win, 100, 50);
    qvtest::drag(&win, 100, 200);
    t->armed = true;
    for (int i = 0; i < 100 && !deleted; ++i) Fl::wait(0.01);
    EXPECT_TRUE(deleted);
    for (int i = 0; i < 10; ++i) Fl::wait(0.01);
}

// ---- drawing ----

TEST_F(MouseTest, FullDrawThenPartialRepaintOfASelectionChange) {
    t->rows(3);
    t->cols(2);
    qvtest::flushDrawing();
    t->calls.clear();
    t->redraw();
    qvtest::flushDrawing();

    using P = std::vector<std::pair<int, int>>;
    ASSERT_GE(t->calls.size(), 2u);
    EXPECT_EQ(t->calls.front(), (qvtest::CellCall{Fl_Table::CONTEXT_STARTPAGE, 0, 0, 54, 32, 252, 174}));
    EXPECT_EQ(t->calls.back(), (qvtest::CellCall{Fl_Table::CONTEXT_ENDPAGE, 0, 0, 54, 32, 252, 174}));
    EXPECT_EQ(t->cellsOf(Fl_Table::CONTEXT_ROW_HEADER), (P{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(t->cellsOf(Fl_Table::CONTEXT_COL_HEADER), (P{{0, 0}, {0, 1}}));
    EXPECT_EQ(t->cellsOf(Fl_Table::CONTEXT_CELL), (P{{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 0}, {2, 1}}));
    // Headers come before the cells.
    EXPECT_EQ(t->calls[1].context, Fl_Table::CONTEXT_ROW_HEADER);
    EXPECT_EQ(t->calls[4].context, Fl_Table::CONTEXT_COL_HEADER);
    EXPECT_EQ(t->calls[6], (qvtest::CellCall{Fl_Table::CONTEXT_CELL, 0, 0, 54, 32, 80, 25}));

    clickCell(Fl_Table::CONTEXT_CELL, 1, 1);
    qvtest::flushDrawing();
    t->calls.clear();
    clickCell(Fl_Table::CONTEXT_CELL, 2, 1);
    qvtest::flushDrawing();
    std::vector<int> contexts;
    for (const auto& c : t->calls) contexts.push_back(c.context);
    EXPECT_EQ(contexts, (std::vector<int>{Fl_Table::CONTEXT_STARTPAGE, Fl_Table::CONTEXT_CELL,
                                          Fl_Table::CONTEXT_CELL, Fl_Table::CONTEXT_ENDPAGE}));
    EXPECT_EQ(t->cellsOf(Fl_Table::CONTEXT_CELL), (P{{1, 1}, {2, 1}}));
}

TEST_F(TableTest, PixelsOfTheScrollbarSquareAndOfClippedCells) {
    build(20, 10);
    t->row_height_all(30);
    t->color(FL_BLUE);
    qvtest::showAndDraw(*win);
    ASSERT_TRUE(t->vscrollbar->visible() && t->hscrollbar->visible());
    const qvtest::Rgb white = qvtest::rgbOf(FL_WHITE);

    EXPECT_EQ(qvtest::pixelAt(*win, t->vscrollbar->x() + 8, t->hscrollbar->y() + 8),
              qvtest::rgbOf(FL_BLUE));
    // Row 5 is cut by the data area's bottom edge, column 3 by its right edge.
    ASSERT_EQ(t->botrow, 5);
    const int inside_x = t->tix + 10, inside_y = t->tiy + 10;
    EXPECT_EQ(qvtest::pixelAt(*win, inside_x, t->tiy + t->tih - 1), white);
    EXPECT_NE(qvtest::pixelAt(*win, inside_x, t->hscrollbar->y() + 8), white);
    EXPECT_EQ(qvtest::pixelAt(*win, t->tix + t->tiw - 1, inside_y), white);
    EXPECT_NE(qvtest::pixelAt(*win, t->vscrollbar->x() + 8, inside_y), white);
}

}  // namespace
