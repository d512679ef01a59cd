// Cost of the records file: reading it, one insertion with its save, and the
// end-of-game update over a batch of generated games.
#include "app/interface.h"
#include "engine/divers.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/records.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// The benchmark works in a folder of its own, removed at exit.
struct DossierBench {
    std::string chemin;
    DossierBench() {
        std::string modele = (std::filesystem::temp_directory_path() / "qvbench.XXXXXX").string();
        if (!mkdtemp(&modele[0]) || chdir(modele.c_str()) != 0) std::abort();
        chemin = modele;
        params.utiliserRepCourant = true;
        utiliserChemin.clear();
        InitLangue("bench.bst");
    }
    ~DossierBench() {
        std::error_code ec;
        std::filesystem::remove_all(chemin, ec);
    }
};

void preparer() { static DossierBench dossier; }

// A file whose every text is `longueur` characters long.
void fichierDeTextes(size_t longueur) {
    Records& r = partie.records;
    r.defauts();
    const std::string t(longueur, 'x');
    for (int j = 0; j < Records::NB; ++j) {
        for (int k = 0; k < 8; ++k) r.scoresHumains[k][j].texte = r.scoresOrdi[k][j].texte = t;
        r.bestGosHumains[j].joueur = r.bestGosHumains[j].mot = r.bestGosOrdi[j].joueur = r.bestGosOrdi[j].mot = t;
        r.meilleuresParties[j].texte = t;
    }
    r.savescores();
}

void BM_loadscores(benchmark::State& state) {
    preparer();
    fichierDeTextes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        partie.records.loadscores();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(partie.records.contenuFichier().size()));
}
BENCHMARK(BM_loadscores)->Arg(2)->Arg(20)->Arg(200);

// Every call enters the table at the top, so every call rewrites the file
// (texts of range(0) characters): the lock, the re-read and the save.
void BM_insertion_et_sauvegarde(benchmark::State& state) {
    preparer();
    fichierDeTextes(static_cast<size_t>(state.range(0)));
    partie.nbJoueurs = 1;
    partie.joueurs[0].nom = "Alice";
    partie.joueurs[0].type = 0;
    init_board();
    int score = 100;
    const std::string mot = "ZYTHUMS H4";
    for (auto _ : state) {
        if (score == 32767) {
            state.PauseTiming();
            fichierDeTextes(static_cast<size_t>(state.range(0)));
            score = 100;
            state.ResumeTiming();
        }
        partie.records.alterbestgo(++score, mot);
    }
}
BENCHMARK(BM_insertion_et_sauvegarde)->Arg(2)->Arg(20)->Arg(200)->UseRealTime();

// The save alone: the whole file through an exclusive temporary and a rename.
void BM_savescores(benchmark::State& state) {
    preparer();
    fichierDeTextes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) partie.records.savescores();
}
BENCHMARK(BM_savescores)->Arg(2)->Arg(20)->Arg(200)->UseRealTime();

// A batch of generated games between two computers: each game ends with
// alterscores; only the scores that enter a table cost a save.
void BM_alterscores_lot(benchmark::State& state) {
    preparer();
    const int nbParties = static_cast<int>(state.range(0));
    partie.nbJoueurs = 2;
    for (int i = 0; i < 2; ++i) {
        partie.joueurs[i].nom = "Ordi" + std::to_string(i + 1);
        partie.joueurs[i].type = 6;
    }
    init_board();
    int64_t sauvegardes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        partie.records.defauts();
        std::mt19937 alea(1234);
        std::uniform_int_distribution<int> score(250, 650);
        state.ResumeTiming();
        for (int p = 0; p < nbParties; ++p) {
            const short s0 = static_cast<short>(score(alea));
            const short s1 = static_cast<short>(score(alea));
            partie.joueurs[0].scoreFinal = s0;
            partie.joueurs[1].scoreFinal = s1;
            const Records& r = partie.records;
            // at least one insertion, judged on the tables as they stand before the game
            sauvegardes += s0 > r.scoresOrdi[1][19].score || s1 > r.scoresOrdi[1][19].score ||
                           s0 + s1 > r.meilleuresParties[19].score;
            partie.records.alterscores();
        }
    }
    const double total = static_cast<double>(state.iterations()) * nbParties;
    state.counters["par_partie"] = benchmark::Counter(total, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["parties_avec_sauvegarde"] = static_cast<double>(sauvegardes) / total;
}
BENCHMARK(BM_alterscores_lot)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
