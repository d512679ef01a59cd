#include "engine/chargerpeau2.h"

#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

class ParametresDeJeu : public PartieNeuve {};

TEST_F(ParametresDeJeu, MissingFileGivesItsMessageAndTheBuiltInRules) {
    MessageRecorder rec;
    ChargerPeau2("absent_100%s.pea2");
    ASSERT_EQ(rec.boites().size(), 1u);
    EXPECT_NE(rec.boites()[0].find("'absent_100%s.pea2'"), std::string::npos) << rec.boites()[0];
    EXPECT_EQ(params.ficRecords + " " + params.langue, "defaut.bst fr");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_ORDINAIRE);
    // Classic board: spot checks of the multipliers and the start cell.
    const int cases[][4] = {  // line, column, word factor, letter factor
        {1, 1, 3, 1}, {8, 8, 2, 1}, {2, 2, 2, 1}, {1, 4, 1, 2}, {2, 6, 1, 3}, {8, 15, 3, 1}, {8, 9, 1, 1}};
    for (auto& c : cases)
        EXPECT_EQ(partie.coefMot[c[0]][c[1]] * 10 + partie.coefLettre[c[0]][c[1]], c[2] * 10 + c[3])
            << c[0] << "," << c[1];
    EXPECT_EQ(partie.dimPlateau * 10000 + partie.ligneDepart * 100 + partie.colDepart, 150808);
    int total = 0;
    for (int k = 1; k < NB_LETTRES; ++k) total += partie.nbLettre[k];
    EXPECT_EQ(total, 102);
}

TEST_F(ParametresDeJeu, ReadsTheKeysOfTheFile) {
    MessageRecorder rec;
    ecrireFichier("jeu.txt", "# Dico de jeu\nCHAT\n");
    ecrireFichier("sup.txt", "#  Noms propres\nPARIS\n");
    ecrireFichier("regles.pea2",
                  "[Bonus]\r\n7=10\r\n8=20\r\n9=x\r\n10=-4\r\n15=1001\r\n"
                  "[Fichier des Records]\r\nfic=mes_records.bst\r\n"
                  "[General]\r\ngmc=non\r\nthematique=oui\r\nListeLettresOrdonnees=EAS?\r\n"
                  "[MsgMenus]\r\nlangue=en\r\n"
                  "[Dicos]\r\nprincipal=jeu.txt\r\nnb_dicos_sup=2\r\n"
                  "dico_1=sup.txt\r\nregpt_dico_1=3\r\ndico_2=absent.txt\r\nregpt_dico_2=zz\r\n"
                  "rubrique_1=Jeu\r\nrubrique_2=Villes\r\n");
    ChargerPeau2("regles.pea2");
    EXPECT_TRUE(rec.boites().empty());
    const short bonus[16] = {0, 0, 0, 0, 0, 0, 0, 10, 20};  // out-of-range values give 0
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(params.bonus[i], bonus[i]) << i;
    EXPECT_EQ(params.ficRecords + " " + params.langue + " " + params.listeLettresOrdonnees, "mes_records.bst en EAS?");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_THEMATIQUE);
    EXPECT_TRUE(dicP.lexique.contient("CHAT"));
    ASSERT_EQ(params.dicos2.size(), 2u);
    EXPECT_EQ(params.dicos2[0].commentaire, "Noms propres");
    EXPECT_EQ(vect_regpt, (std::vector<short>{3, 0}));
    EXPECT_EQ(params.rubriques, (std::vector<std::string>{"Jeu", "Villes", ""}));  // one per dictionary
}
