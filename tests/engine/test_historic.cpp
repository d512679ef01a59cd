#include "engine/historic.h"

#include "engine/partie.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <ctime>

class Historique : public PartieNeuve {};

TEST_F(Historique, MoveListShowsTheTimeOfANormalGameMove) {
    partie.debutCoup = std::time(nullptr) - 121;
    AlimLST(22, "MAISON", 6, "H4", "AIMNOSE");
    partie.modeDuplicate = 1;  // a duplicate round has its own chrono
    AlimLST(5, "MER", 2, "4H", "ERTUVWX");
    partie.modeDuplicate = 0;
    partie.debutCoup = 0;  // no turn started
    AlimLST(0, "passe", 0, "", "ABC");
    ASSERT_EQ(v_listeContenu.size(), 3u);
    const LigneListe& l = v_listeContenu[0];
    EXPECT_EQ(l.score, 22);
    EXPECT_EQ(l.texte, "MAISON");
    EXPECT_EQ(l.nbLettres, 6);
    EXPECT_EQ(l.position, "H4");
    EXPECT_EQ(l.reglette, "AIMNOSE");
    EXPECT_TRUE(l.duree == "02:01" || l.duree == "02:02") << l.duree;
    EXPECT_EQ(v_listeContenu[1].duree, "");
    EXPECT_EQ(v_listeContenu[2].duree, "");
    ajouterEnregHisto();
    EXPECT_EQ(v_histo.back().reglette, "-------");
    EXPECT_EQ(partie.nbLignesHisto, 2);
}
