// The directory lister on folders of 100, 1,000, 3,000 and 10,000 files:
// opening the folder (read, keeping the first 3,000 names, sort, shown
// entries), one keystroke in it (the shown entries recomputed for a longer
// name), and the name sort, against the quadratic insertion sort that gives
// the same order. No display needed:
//   build-rel/bench/bench_dir

#include "widgets/Fl_Dir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A folder of n empty files named in no particular order, made once.
const std::string& folderOf(int n) {
    static std::map<int, std::string> made;
    std::string& path = made[n];
    if (!path.empty()) return path;
    std::string base = (fs::temp_directory_path() / "qvbench.XXXXXX").string();
    if (!mkdtemp(&base[0])) std::abort();
    path = base + "/";
    unsigned x = 12345;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        char name[32];
        std::snprintf(name, sizeof name, "f%08x", x);
        std::FILE* f = std::fopen((path + name).c_str(), "w");
        if (f) std::fclose(f);
    }
    return path;
}

struct RemoveFolders {
    ~RemoveFolders() {
        std::error_code ec;
        for (int n : {100, 1000, 3000, 10000}) fs::remove_all(folderOf(n), ec);
    }
} removeAtExit;

void BM_Cd(benchmark::State& state) {
    const std::string& folder = folderOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto d = std::make_unique<Fl_Dir>(folder.c_str(), FL_DIR_SORT_ALPHA, 0);
        benchmark::DoNotOptimize(d->dirFileCount());
    }
    state.SetComplexityN(state.range(0));
}

void BM_Keystroke(benchmark::State& state) {
    const std::string& folder = folderOf(static_cast<int>(state.range(0)));
    auto d = std::make_unique<Fl_Dir>(folder.c_str(), FL_DIR_SORT_ALPHA, 0);
    const std::string typed[] = {folder + "f1", folder + "f1a"};
    int i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(d->cd(typed[i++ & 1].c_str(), 3));
    state.SetComplexityN(state.range(0));
}

// A refused answer reads the folder on screen again, in the lister already open.
void BM_Reread(benchmark::State& state) {
    const std::string& folder = folderOf(static_cast<int>(state.range(0)));
    auto d = std::make_unique<Fl_Dir>(folder.c_str(), FL_DIR_SORT_ALPHA, 0);
    for (auto _ : state) benchmark::DoNotOptimize(d->dirReread(3));
    state.SetComplexityN(state.range(0));
}

void BM_SortByName(benchmark::State& state) {
    const std::string& folder = folderOf(static_cast<int>(state.range(0)));
    auto d = std::make_unique<Fl_Dir>(folder.c_str(), FL_DIR_SORT_NONE, 0);
    for (auto _ : state) {
        d->dirSort(FL_DIR_SORT_NONE);
        d->dirSort(FL_DIR_SORT_ALPHA);
    }
    state.SetComplexityN(state.range(0));
}

// The insertion sort of the display order, for comparison.
void BM_InsertionSortByName(benchmark::State& state) {
    const std::string& folder = folderOf(static_cast<int>(state.range(0)));
    auto d = std::make_unique<Fl_Dir>(folder.c_str(), FL_DIR_SORT_NONE, 0);
    std::vector<const char*> reading;
    for (int i = 0; i < d->dirFileCount(); ++i) reading.push_back(d->dirDisplayed(i)->name);
    std::vector<const char*> order;
    for (auto _ : state) {
        order = reading;
        for (size_t i = 1; i < order.size(); ++i) {
            const char* v = order[i];
            size_t j = i;
            for (; j > 0 && std::strcmp(order[j - 1], v) > 0; --j) order[j] = order[j - 1];
            order[j] = v;
        }
        benchmark::DoNotOptimize(order.data());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_Cd)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity();
BENCHMARK(BM_Reread)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity();
BENCHMARK(BM_Keystroke)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity();
BENCHMARK(BM_SortByName)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity();
BENCHMARK(BM_InsertionSortByName)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Complexity();

BENCHMARK_MAIN();
