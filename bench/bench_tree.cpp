// The tree browser against the toolkit's Fl_Tree holding the same paths:
// building the tree, 1,000 path lookups and clear, for a balanced tree of
// three levels and a flat one; then (the widget shown) the first layout, a
// draw at the top and at the bottom, and opening and closing a branch of
// 1,000 leaves; and n leaves added to one branch in each insertion mode.
// Needs a display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build-rel/bench/bench_tree

#include "widgets/Flu_Tree_Browser.h"

#include <benchmark/benchmark.h>

#include <FL/Fl.H>
#include <FL/Fl_Tree.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// Leaf paths: balanced as a x b x c, or flat below the root; in a shuffled
// order, so that sorted insertion has work to do.
std::vector<std::string> leafPaths(int n, bool flat) {
    std::vector<std::string> out;
    char buf[64];
    if (flat) {
        for (int i = 0; i < n; ++i) {
            std::snprintf(buf, sizeof buf, "/leaf%06d", i);
            out.push_back(buf);
        }
    } else {
        int a = n == 1000 ? 10 : n == 10000 ? 20 : 50;
        int b = n == 1000 ? 10 : n == 10000 ? 25 : 50;
        int c = n / (a * b);
        for (int i = 0; i < a; ++i)
            for (int j = 0; j < b; ++j)
                for (int k = 0; k < c; ++k) {
                    std::snprintf(buf, sizeof buf, "/branch%02d/sub%02d/leaf%03d", i, j, k);
                    out.push_back(buf);
                }
    }
    std::shuffle(out.begin(), out.end(), std::mt19937(42));
    return out;
}

std::vector<std::string> lookups(const std::vector<std::string>& paths) {
    std::vector<std::string> out;
    std::mt19937 rng(7);
    for (int i = 0; i < 1000; ++i) out.push_back(paths[rng() % paths.size()]);
    return out;
}

struct Flu {
    Flu_Tree_Browser tree{0, 0, 400, 400};
    void add(const std::string& p) { tree.add(p.c_str()); }
    void fill(const std::vector<std::string>& paths) {
        for (auto& p : paths) add(p);
    }
    bool find(const std::string& p) { return tree.find(p.c_str()) != nullptr; }
    void clear() { tree.clear(); }
};

// A name straight below the root can skip the search of the siblings, which
// would make a flat tree of 10^5 leaves take a minute to build: the lookup
// and clear measures fill the toolkit's tree that way.
void fillToolkitTree(Fl_Tree& tree, const std::vector<std::string>& paths) {
    for (auto& p : paths) {
        // clear() leaves the toolkit's tree without a root; a path add makes one.
        if (p.find('/', 1) == std::string::npos && tree.root())
            tree.add(tree.root(), p.c_str() + 1);
        else
            tree.add(p.c_str());
    }
}

struct Toolkit {
    Fl_Tree tree{0, 0, 400, 400};
    void add(const std::string& p) { tree.add(p.c_str()); }
    void fill(const std::vector<std::string>& paths) { fillToolkitTree(tree, paths); }
    bool find(const std::string& p) { return tree.find_item(p.c_str()) != nullptr; }
    void clear() { tree.clear(); }
};

template <class T>
void BM_Build(benchmark::State& state, bool flat) {
    fl_open_display();
    auto paths = leafPaths(int(state.range(0)), flat);
    for (auto _ : state) {
        state.PauseTiming();
        auto* t = new T;
        state.ResumeTiming();
        for (auto& p : paths) t->add(p);
        state.PauseTiming();
        delete t;
        state.ResumeTiming();
    }
}

template <class T>
void BM_Lookup(benchmark::State& state, bool flat) {
    fl_open_display();
    auto paths = leafPaths(int(state.range(0)), flat);
    auto wanted = lookups(paths);
    T t;
    t.fill(paths);
    for (auto _ : state)
        for (auto& p : wanted) benchmark::DoNotOptimize(t.find(p));
}

template <class T>
void BM_Clear(benchmark::State& state, bool flat) {
    fl_open_display();
    auto paths = leafPaths(int(state.range(0)), flat);
    T t;
    for (auto _ : state) {
        state.PauseTiming();
        t.fill(paths);
        state.ResumeTiming();
        t.clear();
    }
}

void flush() {
    Fl::flush();
    XSync(fl_display, False);
}

// The trees shown, every branch open, each in its own window.
struct ShownFlu {
    Fl_Window win{0, 0, 400, 400};
    Flu_Tree_Browser* tree;
    ShownFlu() : tree(new Flu_Tree_Browser(0, 0, 400, 400)) { win.end(); }
    void add(const std::string& p) { tree->add(p.c_str()); }
    void openAll() {
        tree->root_node()->always_open(true);
        for (Flu_Tree_Browser::Node* n = tree->root_node(); n; n = n->next()) n->open(true);
    }
    void top() { tree->vscrollbar()->value(0); }
    void bottom() { tree->vscrollbar()->value(tree->vscrollbar()->maximum()); }
    void draw() { tree->redraw(); }
    void relayout() { tree->resize(0, 0, 400, 400); }
    Flu_Tree_Browser::Node* branch(const char* p) { return tree->find(p); }
    void open(Flu_Tree_Browser::Node* n, bool b) { n->open(b); }
};

struct ShownToolkit {
    Fl_Window win{0, 0, 400, 400};
    Fl_Tree* tree;
    ShownToolkit() : tree(new Fl_Tree(0, 0, 400, 400)) { win.end(); }
    void add(const std::string& p) { fillToolkitTree(*tree, {p}); }
    void openAll() {}
    void top() { tree->vposition(0); }
    void bottom() { tree->show_item_bottom(tree->last()); }
    void draw() { tree->redraw(); }
    // This toolkit's tree lays its rows out in every draw.
    void relayout() {
        tree->redraw();
        flush();
    }
    Fl_Tree_Item* branch(const char* p) { return tree->find_item(p); }
    void open(Fl_Tree_Item* i, bool b) {
        if (b)
            tree->open(i, 0);
        else
            tree->close(i, 0);
    }
};

template <class T>
T* shown(int n, bool flat) {
    auto* t = new T;
    for (auto& p : leafPaths(n, flat)) t->add(p);
    t->openAll();
    t->win.show();
    t->win.wait_for_expose();
    for (int i = 0; i < 3; ++i) Fl::wait(0.01);
    flush();
    return t;
}

// The first measure of every row after the tree was built.
template <class T>
void BM_Layout(benchmark::State& state, bool flat) {
    fl_open_display();
    T* t = shown<T>(int(state.range(0)), flat);
    for (auto _ : state) t->relayout();
    delete t;
}

template <class T>
void BM_DrawTop(benchmark::State& state, bool flat) {
    fl_open_display();
    T* t = shown<T>(int(state.range(0)), flat);
    t->top();
    for (auto _ : state) {
        t->draw();
        flush();
    }
    delete t;
}

template <class T>
void BM_DrawBottom(benchmark::State& state, bool flat) {
    fl_open_display();
    T* t = shown<T>(int(state.range(0)), flat);
    t->bottom();
    flush();
    t->bottom();
    for (auto _ : state) {
        t->draw();
        flush();
    }
    delete t;
}

// Opening and closing (each followed by its draw) a branch of 1,000 leaves
// added to the tree.
template <class T>
void BM_OpenClose(benchmark::State& state, bool flat) {
    fl_open_display();
    auto* t = new T;
    for (auto& p : leafPaths(int(state.range(0)), flat)) t->add(p);
    char buf[64];
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(buf, sizeof buf, "/big/leaf%04d", i);
        t->add(buf);
    }
    t->openAll();
    t->win.show();
    t->win.wait_for_expose();
    flush();
    auto* big = t->branch("/big");
    for (auto _ : state) {
        t->open(big, false);
        t->draw();
        flush();
        t->open(big, true);
        t->draw();
        flush();
    }
    delete t;
}

// n leaves added by path to one branch, in a shuffled order, in each
// insertion mode. The toolkit's tree sorts or appends by its sort order; it
// has no front insertion by path, so its front row inserts at 0 below the
// branch, which searches nothing.
std::vector<std::string> branchLeaves(int n) {
    std::vector<std::string> out;
    char buf[64];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, "/branch/leaf%06d", i);
        out.push_back(buf);
    }
    std::shuffle(out.begin(), out.end(), std::mt19937(42));
    return out;
}

void BM_OneBranch_Flu(benchmark::State& state, int mode) {
    fl_open_display();
    auto paths = branchLeaves(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto* t = new Flu_Tree_Browser(0, 0, 400, 400);
        t->insertion_mode(mode);
        state.ResumeTiming();
        for (auto& p : paths) t->add(p.c_str());
        state.PauseTiming();
        delete t;
        state.ResumeTiming();
    }
}

void BM_OneBranch_Toolkit(benchmark::State& state, int mode) {
    fl_open_display();
    auto paths = branchLeaves(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto* t = new Fl_Tree(0, 0, 400, 400);
        t->sortorder(mode == Flu_Tree_Browser::InsertSorted          ? FL_TREE_SORT_ASCENDING
                     : mode == Flu_Tree_Browser::InsertSortedReverse ? FL_TREE_SORT_DESCENDING
                                                                     : FL_TREE_SORT_NONE);
        Fl_Tree_Item* branch = t->add("/branch");
        state.ResumeTiming();
        if (mode == Flu_Tree_Browser::InsertFront)
            for (auto& p : paths) t->insert(branch, p.c_str() + 8, 0);
        else
            for (auto& p : paths) t->add(p.c_str());
        state.PauseTiming();
        delete t;
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

}  // namespace

// Names read BM_<operation>_<tree>_<shape>/<nodes>.
#define TREE_BENCH(op, impl, shape, flat) \
    void BM_##op##_##impl##_##shape(benchmark::State& s) { BM_##op<impl>(s, flat); } \
    BENCHMARK(BM_##op##_##impl##_##shape)->Apply(sizes);

TREE_BENCH(Build, Flu, balanced, false)
TREE_BENCH(Build, Toolkit, balanced, false)
TREE_BENCH(Build, Flu, flat, true)
TREE_BENCH(Build, Toolkit, flat, true)
TREE_BENCH(Lookup, Flu, balanced, false)
TREE_BENCH(Lookup, Toolkit, balanced, false)
TREE_BENCH(Lookup, Flu, flat, true)
TREE_BENCH(Lookup, Toolkit, flat, true)
TREE_BENCH(Clear, Flu, balanced, false)
TREE_BENCH(Clear, Toolkit, balanced, false)
TREE_BENCH(Clear, Flu, flat, true)
TREE_BENCH(Clear, Toolkit, flat, true)
TREE_BENCH(Layout, ShownFlu, balanced, false)
TREE_BENCH(Layout, ShownToolkit, balanced, false)
TREE_BENCH(Layout, ShownFlu, flat, true)
TREE_BENCH(Layout, ShownToolkit, flat, true)
TREE_BENCH(DrawTop, ShownFlu, balanced, false)
TREE_BENCH(DrawTop, ShownToolkit, balanced, false)
TREE_BENCH(DrawTop, ShownFlu, flat, true)
TREE_BENCH(DrawTop, ShownToolkit, flat, true)
TREE_BENCH(DrawBottom, ShownFlu, balanced, false)
TREE_BENCH(DrawBottom, ShownToolkit, balanced, false)
TREE_BENCH(DrawBottom, ShownFlu, flat, true)
TREE_BENCH(DrawBottom, ShownToolkit, flat, true)
TREE_BENCH(OpenClose, ShownFlu, balanced, false)
TREE_BENCH(OpenClose, ShownToolkit, balanced, false)
TREE_BENCH(OpenClose, ShownFlu, flat, true)
TREE_BENCH(OpenClose, ShownToolkit, flat, true)

// Names read BM_OneBranch_<tree>_<insertion mode>/<leaves>.
#define BRANCH_BENCH(impl, mode) \
    void BM_OneBranch_##impl##_##mode(benchmark::State& s) { BM_OneBranch_##impl(s, Flu_Tree_Browser::mode); } \
    BENCHMARK(BM_OneBranch_##impl##_##mode)->Apply(sizes);

BRANCH_BENCH(Flu, InsertFront)
BRANCH_BENCH(Flu, InsertBack)
BRANCH_BENCH(Flu, InsertSorted)
BRANCH_BENCH(Flu, InsertSortedReverse)
BRANCH_BENCH(Toolkit, InsertFront)
BRANCH_BENCH(Toolkit, InsertBack)
BRANCH_BENCH(Toolkit, InsertSorted)
BRANCH_BENCH(Toolkit, InsertSortedReverse)

BENCHMARK_MAIN();
