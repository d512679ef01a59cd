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
        fixtures::donnerChevalet(n, "MER");
        qvaff_infos_sc();
        EXPECT_EQ(drawarea.noms[2], n == 3 ? "J3" : "");  // a seat of the earlier game shows nothing
        EXPECT_EQ(drawarea.scores[2], n == 3 ? "25" : "");
        EXPECT_EQ(drawarea.chevalets[2], n == 3 ? "MER" : "");
        EXPECT_EQ(drawarea.chevalets[n - 1], "MER");
        EXPECT_EQ(drawarea.zones[ZONE_TOTAL].valeur, 25);
    }
}
