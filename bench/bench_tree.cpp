// The tree browser against the toolkit's Fl_Tree holding the same paths:
// building the tree, 1,000 path lookups and clear, for a balanced tree of
// three levels and a flat one; then (the widget shown) the first layout, a
// draw at the top and at the bottom, and opening and closing a branch of
// 1,000 leaves. Needs a display:
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
    bool find(const std::string& p) { return tree.find(p.c_str()) != nullptr; }
    void clear() { tree.clear(); }
};

struct Toolkit {
    Fl_Tree tree{0, 0, 400, 400};
    void add(const std::string& p) { tree.add(p.c_str()); }
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
    for (auto& p : paths) t.add(p);
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
        for (auto& p : paths) t.add(p);
        state.ResumeTiming();
        t.clear();
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

BENCHMARK_MAIN();
