#include "display/affichage.h"

#include "engine/partie.h"
#include "support/Fixtures.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class ZonesInfos : public PartieNeuve {};

TEST_F(ZonesInfos, InfoZonesShowTheCurrentGameOnly) {
    for (int n : {3, 2}) {
        fixtures::nouvellePartie(n);
        for (int i = 1; i <= n; ++i) fixtures::joueur(i, "J" + std::to_string(i), 0);
        partie.joueurs[n - 1].score = 25;
        fixtures::donnerChevalet(n, "MERCI");
        partie.tailleChevalet = 4;  // the rack shows its own size of slots
        partie.joueurs[n].score = 99;  // a seat out of the game counts for nothing
        partie.nbLignesHisto = 12;
        partie.chronoCoup = 40;
        qvaff_infos_sc();
        EXPECT_EQ(drawarea.noms[0], "J1");
        EXPECT_EQ(drawarea.noms[2], n == 3 ? "J3" : "");  // a seat of the earlier game shows nothing
        EXPECT_EQ(drawarea.scores[2], n == 3 ? "25" : "");
        EXPECT_EQ(drawarea.chevalets[2], n == 3 ? "MERC" : "");
        EXPECT_EQ(drawarea.chevalets[n - 1], "MERC");
        // Counters: total of the scores, tiles in the bag, the move's chrono, the move number.
        std::string compteurs;
        for (int z : {ZONE_TOTAL, ZONE_SAC, ZONE_CHRONO, ZONE_NUM_COUP})
            compteurs += std::to_string(drawarea.zones[z].valeur) + "/" + std::to_string(drawarea.zones[z].joueur) + " ";
        EXPECT_EQ(compteurs, "25/0 97/0 40/0 12/0 ");
    }
    fixtures::nouvellePartie(0);
    partie.modeDuplicate = 1;  // a duplicate game shows the game's chrono
    partie.chronoPartie = 300;
    qvaff_infos_sc();
    EXPECT_EQ(drawarea.noms[0] + drawarea.chevalets[0], "");
    EXPECT_EQ(drawarea.zones[ZONE_CHRONO].valeur, 300);
}

TEST_F(ZonesInfos, OutOfRangeZonesAndSeatsAreIgnored) {
    drawarea.noms[7] = "H";
    drawarea.scores[0] = "S";
    drawarea.chevalets[0] = "ABC";
    for (int z : {-1, NB_ZONES, 0}) drawarea.AffCpteur(9, z, 0);
    for (int j : {-1, NB_JOUEURS_MAX}) {
        drawarea.affNom(j);
        drawarea.affScore(j);
    }
    EXPECT_EQ(drawarea.noms[7] + drawarea.scores[0] + drawarea.chevalets[0], "HSABC");
    EXPECT_EQ(drawarea.zones[0].valeur * 10 + drawarea.zones[0].traces, 91);
    EXPECT_EQ(drawarea.zones[NB_ZONES - 1].traces, 0);
    partie.joueurEnCours = 2;
    drawarea.AffJoueurEnCours();
    EXPECT_EQ(drawarea.joueurEnCours * 100 + drawarea.tracesJoueurEnCours * 10 + drawarea.tracesJoueurEnCoursFltk, 211);
}
