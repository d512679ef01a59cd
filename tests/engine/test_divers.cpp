#include "engine/divers.h"

#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <algorithm>

class Divers : public PartieNeuve {};

TEST_F(Divers, InitBoardStartsAnEmptyGame) {
    parametresParDefaut();
    partie.nbJoueurs = 2;
    partie.joueurs[5].type = 4;
    dicP.plateau[8][8] = 'A';
    v_histo.resize(5);
    init_board();
    EXPECT_EQ(dicP.plateau[8][8], 0);
    EXPECT_EQ(partie.nbLettresSac, 102);
    EXPECT_EQ(v_histo.size(), 1u);  // the new game's empty record
    EXPECT_EQ(partie.joueurs[5].type, 0);  // unused slots become human
}

TEST_F(Divers, FillsockFromTheTileSetOrTheFixedOrder) {
    parametresParDefaut();
    fillsock();
    EXPECT_EQ(listerLeSac(false, 0),
              "(A * 9) (B * 2) (C * 2) (D * 3) (E * 15) (F * 2) (G * 2) (H * 2) (I * 8) (J * 1) "
              "(K * 1) (L * 5) (M * 3) (N * 6) (O * 6) (P * 2) (Q * 1) (R * 6) (S * 6) (T * 6) "
              "(U * 6) (V * 2) (W * 1) (X * 1) (Y * 1) (Z * 1) (? * 2)");
    params.listeLettresOrdonnees = "EAS?E1 z";  // what is not a letter is skipped
    fillsock();
    EXPECT_EQ(listerLeSac(false, 0), "(A * 1) (E * 2) (S * 1) (Z * 1) (? * 1)");
    params.listeLettresOrdonnees = std::string(300, 'B');  // a signed byte holds 127
    fillsock();
    EXPECT_EQ(partie.nbLettresSac, 127);
}

TEST_F(Divers, IndiceLettreLogsOneLinePerStrangeCharacter) {
    MessageRecorder rec;
    const std::pair<char, short> cas[] = {{'A', 1}, {'z', 26}, {'?', 27}, {'@', 0}, {'{', 0}, {'\351', 0}};
    for (auto [c, indice] : cas) EXPECT_EQ(indiceLettre(c, 0), indice) << static_cast<int>(c);
    EXPECT_EQ(rec.journal().size(), 3u);
    EXPECT_TRUE(rec.boites().empty());
}

TEST_F(Divers, AlimTableauxAndShowrack) {
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
}
