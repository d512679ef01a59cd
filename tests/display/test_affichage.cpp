#include "display/affichage.h"

#include "engine/partie.h"
#include "support/Fixtures.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class ZonesInfos : public PartieNeuve {};

TEST_F(ZonesInfos, InfoZonesShowTheCurrentGameOnly) {
    for (int n : {3, 2, 0}) {
        fixtures::nouvellePartie(n);
        for (int i = 1; i <= n; ++i) fixtures::joueur(i, "J" + std::to_string(i), 0);
        if (n > 0) partie.joueurs[n - 1].score = 25;
        if (n > 0) fixtures::donnerChevalet(n, "MERCI");
        partie.tailleChevalet = 4;     // the rack shows its own size of slots
        partie.joueurs[n].score = 99;  // a seat out of the game counts for nothing
        partie.nbLignesHisto = 12;
        partie.chronoCoup = 40;
        partie.modeDuplicate = n == 0;  // a duplicate game shows the game's chrono
        partie.chronoPartie = 300;
        qvaff_infos_sc();
        // Seats, then total of the scores, tiles in the bag, chrono and move number.
        std::string vu;
        for (int i = 0; i < 3; ++i) vu += drawarea.noms[i] + "/" + drawarea.scores[i] + "/" + drawarea.chevalets[i] + " ";
        for (int z : {ZONE_TOTAL, ZONE_SAC, ZONE_CHRONO, ZONE_NUM_COUP})
            vu += std::to_string(drawarea.zones[z].valeur) + "/" + std::to_string(drawarea.zones[z].joueur) + " ";
        const char* attendu[] = {"J1/0/ J2/0/ J3/25/MERC 25/0 97/0 40/0 12/0 ", "J1/0/ J2/25/MERC // 25/0 97/0 40/0 12/0 ",
                                 "// // // 0/0 102/0 300/0 12/0 "};
        EXPECT_EQ(vu, attendu[3 - n - (n == 0)]) << n;
    }
}

TEST_F(ZonesInfos, OutOfRangeZonesAndSeatsAreIgnored) {
    drawarea.noms[7] = "H";
    drawarea.scores[0] = "S";
    for (int z : {-1, NB_ZONES, 0}) drawarea.AffCpteur(9, z, 0);
    for (int j : {-1, NB_JOUEURS_MAX}) {
        drawarea.affNom(j);
        drawarea.affScore(j);
    }
    EXPECT_EQ(drawarea.noms[7], "H");
    EXPECT_EQ(drawarea.scores[0], "S");
    EXPECT_EQ(drawarea.zones[0].valeur, 9);
    EXPECT_EQ(drawarea.zones[0].traces, 1);
    EXPECT_EQ(drawarea.zones[NB_ZONES - 1].traces, 0);
    partie.joueurEnCours = 2;
    drawarea.AffJoueurEnCours();
    EXPECT_EQ(drawarea.joueurEnCours, 2);
    EXPECT_EQ(drawarea.tracesJoueurEnCours, 1);
    EXPECT_EQ(drawarea.tracesJoueurEnCoursFltk, 1);
}
