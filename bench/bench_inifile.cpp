// How INIfile's cost grows with the file: open + 10,000 lookups, and
// 10,000 sets (half of them new keys at the end of a section) + close, on
// recap-like files of 1k, 10k and 100k lines.
#include "core/Inifile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

const int kOperations = 10000;
const int kLignesParSection = 10;  // a header and nine keys

std::string dossier() {
    static std::string d = [] {
        char modele[] = "/tmp/bench_inifile.XXXXXX";
        const char* r = mkdtemp(modele);
        return std::string(r ? r : "/tmp");
    }();
    return d;
}

std::string nomSection(int s) { return "Coup " + std::to_string(s); }
std::string nomCle(int k) { return "champ" + std::to_string(k); }

// The file of n lines, written once per size.
const std::string& fichier(int n) {
    static std::map<int, std::string> faits;
    auto it = faits.find(n);
    if (it != faits.end()) return it->second;
    std::string contenu;
    for (int s = 0; s < n / kLignesParSection; ++s) {
        contenu += "[" + nomSection(s) + "]\n";
        for (int k = 1; k < kLignesParSection; ++k)
            contenu += nomCle(k) + "=" + std::to_string(s * k) + "|H8|MAISON|12|0|1|-------|\n";
    }
    std::string chemin = dossier() + "/recap" + std::to_string(n) + ".ini";
    FILE* f = std::fopen(chemin.c_str(), "wb");
    if (!f || std::fwrite(contenu.data(), 1, contenu.size(), f) != contenu.size()) std::abort();
    std::fclose(f);
    return faits[n] = chemin;
}

void BM_OpenAndLookups(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& chemin = fichier(n);
    const int sections = n / kLignesParSection;
    for (auto _ : state) {
        INIfile ini;
        if (!ini.open(chemin)) state.SkipWithError("open");
        size_t total = 0;
        for (int i = 0; i < kOperations; ++i) {
            int s = static_cast<int>(static_cast<long long>(i) * sections / kOperations);
            total += ini(nomSection(s), nomCle(1 + i % (kLignesParSection - 1)), "").size();
        }
        benchmark::DoNotOptimize(total);
        ini.close();
    }
    state.SetComplexityN(n);
}

void BM_SetsAndClose(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string& modele = fichier(n);
    const std::string chemin = dossier() + "/ecrit" + std::to_string(n) + ".ini";
    const int sections = n / kLignesParSection;
    for (auto _ : state) {
        state.PauseTiming();
        std::remove(chemin.c_str());
        if (link(modele.c_str(), chemin.c_str()) != 0) state.SkipWithError("link");
        INIfile ini;
        if (!ini.open(chemin)) state.SkipWithError("open");
        state.ResumeTiming();
        for (int i = 0; i < kOperations; ++i) {
            int s = static_cast<int>(static_cast<long long>(i) * sections / kOperations);
            // Even: an existing key; odd: a new key at the end of its section.
            std::string cle = i % 2 == 0 ? nomCle(1 + i % (kLignesParSection - 1)) : "nouveau" + std::to_string(i);
            ini.set(nomSection(s), cle, i);
        }
        ini.close();
    }
    state.SetComplexityN(n);
}

}  // namespace

BENCHMARK(BM_OpenAndLookups)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(BM_SetsAndClose)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ec;
    std::filesystem::remove_all(dossier(), ec);
    return 0;
}
