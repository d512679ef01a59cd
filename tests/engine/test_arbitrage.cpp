#include "engine/arbitrage.h"

#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class Tournoi : public PartieNeuve {};

TEST_F(Tournoi, SaveFileMustExist) {
    MessageRecorder rec;
    arbitrage.noms = {"Alice", "Bruno"};
    EXPECT_FALSE(arbitrage.lireFichierSVG("absent.svg"));
    EXPECT_EQ(arbitrage.noms.size(), 2u) << "a refused file changes nothing";
    ecrireFichier("tournoi.svg", "[Joueurs]\nnb=0\n");
    EXPECT_TRUE(arbitrage.lireFichierSVG("tournoi.svg"));
    EXPECT_TRUE(arbitrage.noms.empty());
    EXPECT_EQ(rec.boites(), std::vector<std::string>{"Le fichier 'absent.svg' est introuvable"});
}
