// Cost of rebuilding the recap file as a game grows: it is rewritten after
// every move, so the cost per record must stay flat.
#include "partie_bench.h"
#include "reports/recap.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void BM_save_recap(benchmark::State& state) {
    partieDe(static_cast<int>(state.range(0)));
    char dir[] = "/tmp/qvbench.XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("mkdtemp");
        return;
    }
    const std::string path = std::string(dir) + "/histo.qv2";
    for (auto _ : state) save_recap(path);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
    rmdir(dir);
}
BENCHMARK(BM_save_recap)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// Loading back: the file is read and checked whole, then the game rebuilt.
void BM_AffRecap2(benchmark::State& state) {
    partieDe(static_cast<int>(state.range(0)));
    partie.partieEnCours = 0;
    char dir[] = "/tmp/qvbench.XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("mkdtemp");
        return;
    }
    const std::string path = std::string(dir) + "/partie.qv2";
    save_recap(path);
    for (auto _ : state) {
        partie.partieEnCours = 0;
        AffRecap2(path);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::remove(path.c_str());
    rmdir(dir);
}
BENCHMARK(BM_AffRecap2)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
