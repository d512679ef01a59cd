// The table against the toolkit's Fl_Browser holding the same number of lines
// in the same window: filling, a full draw at the top and at the bottom, and
// finding a visible line. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/bench_table

#include "widgets/Fl_Table.h"

#include <benchmark/benchmark.h>

#include <FL/Fl.H>
#include <FL/Fl_Browser.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int PANE_W = 300, PANE_H = 400;
const int LINE_H = 18;  // close to the browser's own line height at its default size

std::string lineText(int i) { return "Ligne " + std::to_string(i + 1); }

// One column, one line of text a row, painted like a browser line.
class TextTable : public qv::Fl_Table {
public:
    TextTable(int X, int Y, int W, int H) : Fl_Table(X, Y, W, H) { end(); }
    void draw_cell(TableContext ctx, int R, int, int X, int Y, int W, int H) override {
        if (ctx != CONTEXT_CELL) return;
        char text[32];
        std::snprintf(text, sizeof text, "Ligne %d", R + 1);
        fl_color(FL_WHITE);
        fl_rectf(X, Y, W, H);
        fl_color(FL_BLACK);
        fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
        fl_draw(text, X + 2, Y, W - 2, H, FL_ALIGN_LEFT);
    }
    void setRows(int n) {
        rows(1);
        row_height(0, LINE_H);
        rows(n);
        cols(1);
        col_width(0, PANE_W - 24);
    }
    int visibleRow() const { return toprow + 5; }
};

class FindableBrowser : public Fl_Browser {
public:
    using Fl_Browser::Fl_Browser;
    void* itemAt(int y) { return find_item(y); }
};

// Both widgets side by side in one shown window, holding n lines each.
struct Scene {
    Fl_Window* win;
    TextTable* table;
    FindableBrowser* browser;
    int lines = -1;

    Scene() {
        win = new Fl_Window(0, 0, 2 * PANE_W + 30, PANE_H + 20);
        table = new TextTable(10, 10, PANE_W, PANE_H);
        browser = new FindableBrowser(PANE_W + 20, 10, PANE_W, PANE_H);
        win->end();
        win->show();
        win->wait_for_expose();
        for (int i = 0; i < 5; ++i) Fl::wait(0.01);
    }
    void hold(int n) {
        if (n == lines) return;
        table->setRows(n);
        browser->clear();
        for (int i = 0; i < n; ++i) browser->add(lineText(i).c_str());
        lines = n;
    }
};

Scene& scene() {
    static Scene* s = new Scene();
    return *s;
}

void drawNow(Fl_Widget* w) {
    w->redraw();
    Fl::flush();
    XSync(fl_display, False);
}

void BM_TableRows(benchmark::State& state) {
    const int n = state.range(0);
    scene();
    for (auto _ : state) {
        qv::Fl_Table t(0, 0, PANE_W, PANE_H);
        t.end();
        t.rows(n);
        benchmark::DoNotOptimize(t.rows());
    }
}

void BM_BrowserAdd(benchmark::State& state) {
    const int n = state.range(0);
    scene();
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i) texts.push_back(lineText(i));
    for (auto _ : state) {
        Fl_Browser b(0, 0, PANE_W, PANE_H);
        for (const std::string& s : texts) b.add(s.c_str());
        benchmark::DoNotOptimize(b.size());
    }
}

void BM_TableDraw(benchmark::State& state, bool bottom) {
    Scene& s = scene();
    const int n = state.range(0);
    s.hold(n);
    s.table->row_position(bottom ? n - 1 : 0);
    for (auto _ : state) drawNow(s.table);
}

void BM_BrowserDraw(benchmark::State& state, bool bottom) {
    Scene& s = scene();
    const int n = state.range(0);
    s.hold(n);
    if (bottom)
        s.browser->bottomline(n);
    else
        s.browser->topline(1);
    for (auto _ : state) drawNow(s.browser);
}

void BM_TableFindCell(benchmark::State& state) {
    Scene& s = scene();
    const int n = state.range(0);
    s.hold(n);
    s.table->row_position(n - 1);
    const int r = s.table->visibleRow();
    int X, Y, W, H;
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.table->find_cell(qv::Fl_Table::CONTEXT_CELL, r, 0, X, Y, W, H));
    }
}

void BM_BrowserFindItem(benchmark::State& state) {
    Scene& s = scene();
    const int n = state.range(0);
    s.hold(n);
    s.browser->bottomline(n);
    const int y = s.browser->y() + PANE_H / 2;
    for (auto _ : state) benchmark::DoNotOptimize(s.browser->itemAt(y));
}

void sizes(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(100)->Range(100, 1000000)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_TableRows)->Apply(sizes);
BENCHMARK(BM_BrowserAdd)->Apply(sizes);
BENCHMARK_CAPTURE(BM_TableDraw, top, false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_BrowserDraw, top, false)->Apply(sizes);
BENCHMARK_CAPTURE(BM_TableDraw, bottom, true)->Apply(sizes);
BENCHMARK_CAPTURE(BM_BrowserDraw, bottom, true)->Apply(sizes);
BENCHMARK(BM_TableFindCell)->Apply(sizes);
BENCHMARK(BM_BrowserFindItem)->Apply(sizes);

}  // namespace

BENCHMARK_MAIN();
