// Cost of rebuilding the recap file as a game grows: it is rewritten after
// every move, so the cost per record must stay flat.
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "reports/recap.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

void partieDe(int nbEnregs) {
    parametresParDefaut();
    partie.dimPlateau = 21;
    partie.nbJoueurs = 2;
    init_board();
    partie.partieEnCours = 1;
    partie.joueurs[0].nom = "Alice";
    partie.joueurs[1].nom = "Ordi";
    partie.joueurs[1].type = 6;
    for (int r = 1; r <= 21; ++r)
        for (int c = 1; c <= 21; c += 2) dicP.plateau[r][c] = static_cast<char>('A' + (r + c) % 26);
    for (int i = 0; i < nbEnregs; ++i) {
        c_historique& h = v_histo.back();
        h.joueur = static_cast<short>(1 + i % 2);
        h.score = static_cast<short>(10 + i % 50);
        h.nbLettresPosees = 5;
        h.coupJoue = "MAISONS";
        h.mots = "MAISONS, AS, ON";
        h.position = "H4";
        h.reglette = "AEIMNOS";
        h.chevalet = "AEIMNOS";
        for (int k = 0; k < 5; ++k) {
            h.lettres[k] = static_cast<char>('A' + k);
            h.coord1[k] = static_cast<short>(4 + k);
            h.coord2[k] = 8;
        }
        ajouterEnregHisto();
    }
}

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

}  // namespace

BENCHMARK_MAIN();
