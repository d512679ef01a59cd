// A game of a given number of records on a 21 x 21 board, for the benchmarks.
#ifndef QV_BENCH_PARTIE_BENCH_H
#define QV_BENCH_PARTIE_BENCH_H

#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/partie.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Game parameters of a plain 21 x 21 board, written once for the run and
// removed at its end.
inline char g_dossierParametres[] = "/tmp/qvbench_pea2.XXXXXX";
inline const std::string& parametres21() {
    static const std::string fichier = [] {
        if (!mkdtemp(g_dossierParametres)) std::abort();
        const std::string f = std::string(g_dossierParametres) + "/plateau21.pea2";
        std::ofstream out(f);
        out << "[Plateau]\nDimension=21\n";
        for (int r = 1; r <= 21; ++r) out << r << "=" << std::string(21, '0') << "\n";
        std::atexit([] {
            std::remove((std::string(g_dossierParametres) + "/plateau21.pea2").c_str());
            rmdir(g_dossierParametres);
        });
        return f;
    }();
    return fichier;
}

inline void partieDe(int nbEnregs) {
    ChargerPeau2(parametres21());
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

}  // namespace

#endif
