#include "engine/divers.h"

#include "engine/dicopartie.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/normal.h"
#include "engine/timers.h"
#include "display/affichage.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <FL/Fl.H>

#include <algorithm>

class Divers : public PartieNeuve {};

TEST_F(Divers, InitBoardStartsAnEmptyGame) {
    // What a game left behind: a tile, moves, scores, racks, a running chrono, a human typing.
    partie.nbJoueurs = 2;
    partie.joueurs[1].type = partie.joueurs[2].type = partie.joueurs[5].type = 4;
    partie.joueurs[0].nom = "Alice";
    partie.joueurs[0].score = partie.joueurs[0].scoreFinal = partie.joueurs[0].sommeMeilleursCoups = 40;
    alimChevalet(1, "ZAZ");
    dicP.plateau[8][8] = dicP.plateauT[8][8] = 'A';
    v_histo.resize(5);
    v_result.resize(3);
    result_best.resize(2);
    saisie_duplicate[1].resize(2);
    partie.nbPasses = 3;
    partie.finPartie = partie.saisieDuplicateEnCours = partie.tempsEcoule = partie.joueurEnCours = 1;
    gs_finPartie = partie.coupEnCours = partie.chevaletEnCours = "fin";
    gl_tourDuplicateOuvert = params.chrono = true;
    params.dureeCoup = 30;
    lancerChrono();
    armerTimerPas();
    AlimLST(10, "MOT", 3, "H8", "MOTABCD");
    drawarea.AffCpteur(5, ZONE_SAC, 0);
    init_board();
    EXPECT_FALSE(Fl::has_timeout(callbackChrono));
    EXPECT_FALSE(Fl::has_timeout(callbacktimer));
    EXPECT_FALSE(gl_tourDuplicateOuvert);
    EXPECT_EQ(dicP.plateau[8][8], 0);
    EXPECT_EQ(dicP.plateauT[8][8], 0);
    EXPECT_EQ((std::vector<int>{int(v_histo.size()), partie.nbLignesHisto, partie.nbLettresSac, drawarea.zones[ZONE_SAC].valeur}),
              (std::vector<int>{1, 1, 102, 102}));  // the new game's empty record; the bag shown
    EXPECT_TRUE(v_result.empty());
    EXPECT_TRUE(result_best.empty());
    EXPECT_TRUE(saisie_duplicate[1].empty());
    EXPECT_TRUE(v_listeContenu.empty());
    EXPECT_EQ(gs_finPartie, "");
    EXPECT_EQ(partie.coupEnCours, "");
    EXPECT_EQ(partie.chevaletEnCours, "");
    EXPECT_EQ(partie.nbPasses, 0);
    EXPECT_EQ(partie.finPartie, 0);
    EXPECT_EQ(partie.saisieDuplicateEnCours, 0);
    EXPECT_EQ(partie.tempsEcoule, 0);
    EXPECT_EQ(partie.joueurEnCours, 0);
    EXPECT_EQ(partie.joueurs[0].score, 0);
    EXPECT_EQ(partie.joueurs[0].scoreFinal, 0);
    EXPECT_EQ(partie.joueurs[0].sommeMeilleursCoups, 0);
    EXPECT_TRUE(chevaletVide(1));
    EXPECT_EQ(partie.joueurs[1].lettres[0], 0);
    EXPECT_EQ(partie.joueurs[1].type, 4);  // seats in play keep their kind
    EXPECT_EQ(partie.joueurs[2].type, 0);  // unused seats become human
    EXPECT_EQ(partie.joueurs[5].type, 0);
    EXPECT_EQ(drawarea.noms[0], "Alice");
    EXPECT_EQ(drawarea.scores[0], "0");
    EXPECT_EQ(drawarea.tracesPlateau, 1);
}

TEST_F(Divers, TheBagFromTheTileSetOrTheFixedOrderLessTheBoard) {
    fillsock();
    EXPECT_EQ(listerLeSac(false, 0),
              "(A * 9) (B * 2) (C * 2) (D * 3) (E * 15) (F * 2) (G * 2) (H * 2) (I * 8) (J * 1) "
              "(K * 1) (L * 5) (M * 3) (N * 6) (O * 6) (P * 2) (Q * 1) (R * 6) (S * 6) (T * 6) "
              "(U * 6) (V * 2) (W * 1) (X * 1) (Y * 1) (Z * 1) (? * 2)");
    params.listeLettresOrdonnees = "EAS?E1 z";  // what is not a letter is skipped
    fillsock();
    EXPECT_EQ(listerLeSac(false, 0) + " " + std::to_string(partie.nbLettresSac), "(A * 1) (E * 2) (S * 1) (Z * 1) (? * 1) 6");
    params.listeLettresOrdonnees = std::string(300, 'B');  // a signed byte holds 127
    fillsock();
    EXPECT_EQ(partie.nbLettresSac, 127);
    params.listeLettresOrdonnees.clear();
    dicP.plateau[1][1] = 'E';
    dicP.plateau[1][2] = 'e';  // a joker
    dicP.plateau[15][15] = 'Z';
    dicP.plateau[16][16] = 'Q';  // off the board
    int sac[NB_LETTRES], n = 0;
    sacMoinsPlateau(sac, n);
    EXPECT_EQ((std::vector<int>{n, sac[5], sac[IDX_JOKER], sac[26], sac[17]}), (std::vector<int>{99, 14, 1, 0, 1}));
    std::fill(sac, sac + NB_LETTRES, 0);
    sac[1] = 2;
    sac[26] = sac[IDX_JOKER] = 1;
    sac[0] = 4;
    EXPECT_EQ(lettresDuSac(sac), "AAZ?");
    const std::pair<char, int> tuiles[] = {{'A', 1}, {'Z', 26}, {'a', 27}, {'z', 27}, {'?', 27}, {'@', 0}, {'[', 0}, {'{', 0}, {'`', 0}};
    for (const auto& [c, k] : tuiles) EXPECT_EQ(indiceTuile(c), k) << c;
}

TEST_F(Divers, CountersOfTheLastRecordAndStrangeCharacters) {
    MessageRecorder rec;
    const std::pair<char, short> cas[] = {{'A', 1}, {'z', 26}, {'?', 27}, {'@', 0}, {'{', 0}, {'\351', 0}};
    for (auto [c, indice] : cas) EXPECT_EQ(indiceLettre(c, 0), indice) << static_cast<int>(c);
    EXPECT_EQ(rec.journal().size(), 3u);  // one line per strange character
    // The rack and the played letters of the last record, as counters.
    v_histo.resize(2);
    v_histo[0].chevalet = "ZZZ";
    v_histo[1].chevalet = "AB?+CAa";
    v_histo[1].reglette = "-E-E?";
    short t1[NB_LETTRES], t2[NB_LETTRES];
    alim_tableaux(t1, t2);
    signed char c1[NB_LETTRES], c2[NB_LETTRES];
    std::copy(t1, t1 + NB_LETTRES, c1);
    std::copy(t2, t2 + NB_LETTRES, c2);
    showrack(c2, true);
    EXPECT_EQ(partie.chevaletEnCours, "EE?");
    c1[0] = 5;  // not a letter
    c1[5] = -1;
    showrack(c1, true);
    EXPECT_EQ(partie.chevaletEnCours, "AAABC?");
    EXPECT_EQ(rec.journal().size(), 3u) << "'+' and '-' are not letters to count";
}
