// Cost of rewriting the HTML recap page as a game grows: it is rewritten
// after every move, and every word of the game goes through the page's word
// list, whose look-up was once a linear search.
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "reports/export_html.h"
#include "reports/export_html_cadre.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A word of its own for each number, so that the word list keeps growing.
std::string mot(int n) {
    std::string s = "MOT";
    do {
        s += static_cast<char>('A' + n % 26);
        n /= 26;
    } while (n > 0);
    return s;
}

// Two players taking turns, every other column of the board filled, and
// three new words a move, each move with a folded list of its tops.
void partieDe(int nbEnregs) {
    parametresParDefaut();
    partie.nbJoueurs = 2;
    init_board();
    partie.partieEnCours = 1;
    for (int j = 0; j < 2; ++j) {
        partie.joueurs[j].nom = j == 0 ? "Alice" : "Ordi";
        partie.joueurs[j].type = static_cast<short>(6 * j);
    }
    for (int r = 1; r <= 15; ++r)
        for (int c = 1; c <= 15; c += 2) dicP.plateau[r][c] = static_cast<char>('A' + (r + c) % 26);
    for (int i = 0; i < nbEnregs; ++i) {
        c_historique& h = v_histo.back();
        h.joueur = static_cast<short>(1 + i % 2);
        h.score = h.scoreMeilleurCoup = static_cast<short>(10 + i % 50);
        h.nbLettresPosees = 5;
        h.coupJoue = mot(3 * i);
        h.mots = h.coupJoue + ", " + mot(3 * i + 1) + ", " + mot(3 * i + 2);
        h.position = "H4";
        h.reglette = "AEIMNOS";
        h.nbTops = 2;
        h.texteTops = "[" + h.coupJoue + " H4][" + h.coupJoue + " 4H]";
        ajouterEnregHisto();
    }
}

// The page is written for real (temporary file, rename) in a folder of its own.
void BM_export_html(benchmark::State& state) {
    namespace fs = std::filesystem;
    partieDe(static_cast<int>(state.range(0)));
    const fs::path dossier = fs::temp_directory_path() / ("qvbench_html." + std::to_string(getpid()));
    fs::create_directories(dossier);
    const std::string page = (dossier / "histo.html").string();
    for (auto _ : state) export_html(page);
    state.SetItemsProcessed(state.iterations() * state.range(0));
    std::error_code ec;
    fs::remove_all(dossier, ec);
}
BENCHMARK(BM_export_html)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The word list alone: three words a record, each added twice.
void BM_ajoutMotVDef(benchmark::State& state) {
    parametresParDefaut();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        viderVdef();
        for (int i = 0; i < 3 * n; ++i) {
            ajoutMotVDef(mot(i));
            ajoutMotVDef(mot(i));
        }
        benchmark::DoNotOptimize(vdef.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ajoutMotVDef)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
