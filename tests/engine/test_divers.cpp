#include "engine/divers.h"

#include "display/affichage.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

namespace {

// The built-in rules, as the program gets them when no game-parameter file exists.
void reglesParDefaut() {
    MessageRecorder silence;
    ChargerPeau2("");
}

TEST(Divers, InitBoardStartsAnEmptyGame) {
    reglesParDefaut();
    partie.nbJoueurs = 2;
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
        partie.joueurs[i].type = 4;
        partie.joueurs[i].score = 30;
        partie.joueurs[i].scoreFinal = 25;
        partie.joueurs[i].lettres[0] = 'E';
        partie.chevalet[i][5] = 1;
    }
    partie.joueurs[0].nom = "Ana";
    dicP.plateau[8][8] = 'A';
    dicP.plateauT[8][8] = 'A';
    v_histo.resize(5);
    v_result.resize(3);
    result_best.resize(2);
    saisie_duplicate[7].resize(1);
    partie.nbPasses = 3;
    partie.finPartie = 1;
    partie.joueurEnCours = 1;
    gs_finPartie = "fin";

    init_board();
    EXPECT_EQ(dicP.plateau[8][8], 0);
    EXPECT_EQ(dicP.plateauT[8][8], 0);
    EXPECT_EQ(partie.nbLettresSac, 102);
    EXPECT_EQ(partie.sac['E' - 'A' + 1], 15);
    ASSERT_EQ(v_histo.size(), 1u);
    EXPECT_EQ(v_histo[0].joueur, 0);
    EXPECT_EQ(v_histo[0].reglette, "");
    EXPECT_EQ(partie.nbLignesHisto, 1);
    EXPECT_TRUE(v_result.empty());
    EXPECT_TRUE(result_best.empty());
    EXPECT_TRUE(saisie_duplicate[7].empty());
    EXPECT_EQ(partie.nbPasses, 0);
    EXPECT_EQ(partie.finPartie, 0);
    EXPECT_EQ(partie.joueurEnCours, 0);
    EXPECT_TRUE(gs_finPartie.empty());
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
        EXPECT_EQ(partie.joueurs[i].type, i < 2 ? 4 : 0) << i;  // unused slots become human
        EXPECT_EQ(partie.joueurs[i].score, 0);
        EXPECT_EQ(partie.joueurs[i].scoreFinal, 0);
        EXPECT_EQ(partie.joueurs[i].lettres[0], 0);
        EXPECT_EQ(partie.chevalet[i][5], 0);
    }
    EXPECT_EQ(drawarea.noms[0], "Ana");
    EXPECT_EQ(drawarea.scores[1], "0");
    EXPECT_EQ(drawarea.zones[ZONE_SAC].valeur, 102);
    EXPECT_EQ(drawarea.tracesPlateau, 1);
}

TEST(Divers, FillsockFromTheTileSetOrTheFixedOrder) {
    reglesParDefaut();
    fillsock();
    EXPECT_EQ(partie.nbLettresSac, 102);
    for (int k = 1; k < NB_LETTRES; ++k) EXPECT_EQ(partie.sac[k], partie.nbLettre[k]) << k;
    EXPECT_EQ(listerLeSac(false, 0),
              "(A * 9) (B * 2) (C * 2) (D * 3) (E * 15) (F * 2) (G * 2) (H * 2) (I * 8) (J * 1) "
              "(K * 1) (L * 5) (M * 3) (N * 6) (O * 6) (P * 2) (Q * 1) (R * 6) (S * 6) (T * 6) "
              "(U * 6) (V * 2) (W * 1) (X * 1) (Y * 1) (Z * 1) (? * 2)");

    params.listeLettresOrdonnees = "EAS?E1 z";  // what is not a letter is skipped
    fillsock();
    EXPECT_EQ(partie.nbLettresSac, 6);
    EXPECT_EQ(listerLeSac(false, 0), "(A * 1) (E * 2) (S * 1) (Z * 1) (? * 1)");

    params.listeLettresOrdonnees = std::string(300, 'B');  // a signed byte holds 127
    fillsock();
    EXPECT_EQ(partie.sac[2], 127);
    EXPECT_EQ(partie.nbLettresSac, 127);

    params.listeLettresOrdonnees = "-";
    fillsock();
    EXPECT_EQ(partie.nbLettresSac, 0);
    EXPECT_EQ(listerLeSac(false, 0), "");
}

TEST(Divers, IndiceLettreLogsOneLinePerStrangeCharacter) {
    MessageRecorder rec;
    struct Cas {
        char c;
        short indice;
    } cas[] = {{'A', 1}, {'Z', 26}, {'a', 1}, {'m', 13}, {'z', 26}, {'?', 27}, {'@', 0}, {'[', 0},
               {'`', 0}, {'{', 0}, {' ', 0}, {'0', 0}, {'\351', 0}, {'\0', 0}, {'+', 0}};
    int erreurs = 0;
    for (const Cas& c : cas) {
        EXPECT_EQ(indiceLettre(c.c, 0), c.indice) << static_cast<int>(c.c);
        erreurs += c.indice == 0;
        EXPECT_EQ(static_cast<int>(rec.journal().size()), erreurs) << static_cast<int>(c.c);
    }
    EXPECT_TRUE(rec.boites().empty());
    EXPECT_EQ(rec.journal().back().rfind("ERR : ", 0), 0u);
}

TEST(Divers, AlimTableauxCountsTheLastRecord) {
    MessageRecorder rec;
    short t1[NB_LETTRES], t2[NB_LETTRES];
    std::fill(t1, t1 + NB_LETTRES, 9);
    std::fill(t2, t2 + NB_LETTRES, 9);
    alim_tableaux(t1, t2);  // no history: both empty
    for (int k = 0; k < NB_LETTRES; ++k) EXPECT_EQ(t1[k] + t2[k], 0);

    v_histo.resize(2);
    v_histo[0].chevalet = "ZZZ";
    v_histo[1].chevalet = "AB?+CAa";
    v_histo[1].reglette = "-E-E?";
    alim_tableaux(t1, t2);
    short a1[NB_LETTRES] = {}, a2[NB_LETTRES] = {};
    a1[1] = 3, a1[2] = 1, a1[3] = 1, a1[27] = 1;
    a2[5] = 2, a2[27] = 1;
    for (int k = 0; k < NB_LETTRES; ++k) {
        EXPECT_EQ(t1[k], a1[k]) << k;
        EXPECT_EQ(t2[k], a2[k]) << k;
    }
    EXPECT_TRUE(rec.journal().empty());

    v_histo[1].chevalet = "A B";
    alim_tableaux(t1, t2);
    EXPECT_EQ(t1[1] + t1[2], 2);
    EXPECT_EQ(rec.journal().size(), 1u);
}

TEST(Divers, ShowrackAndTheBagLessTheBoard) {
    signed char compteurs[NB_LETTRES] = {};
    compteurs[0] = 5;  // not a letter
    compteurs[1] = 2;
    compteurs[26] = 1;
    compteurs[5] = -1;
    compteurs[IDX_JOKER] = 2;
    showrack(compteurs, true);
    EXPECT_EQ(partie.chevaletEnCours, "AAZ??");

    reglesParDefaut();
    dicP.plateau[8][5] = 'C';
    dicP.plateau[8][6] = 'h';  // a joker standing for H
    dicP.plateau[8][7] = 'A';
    dicP.plateau[8][8] = 'T';
    dicP.plateau[22][22] = 'E';  // outside the 15 x 15 board
    int sac[NB_LETTRES];
    int nb = 0;
    sacMoinsPlateau(sac, nb);
    EXPECT_EQ(nb, 98);
    EXPECT_EQ(sac[3], 1);
    EXPECT_EQ(sac[8], 2);
    EXPECT_EQ(sac[IDX_JOKER], 1);
    EXPECT_EQ(sac[5], 15);
    std::string lettres = lettresDuSac(sac);
    EXPECT_EQ(lettres.size(), 98u);
    EXPECT_EQ(lettres.substr(0, 12), "AAAAAAAABBCD");
    EXPECT_EQ(lettres.substr(96), "Z?");
}

}  // namespace
