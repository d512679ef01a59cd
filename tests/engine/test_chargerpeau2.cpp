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
    EXPECT_EQ(params.ficRecords + " " + params.langue + " " + partie.ficRecords, "defaut.bst fr defaut.bst");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_ORDINAIRE);
    // The classic board: T/D word x3/x2, t/d letter x3/x2, symmetric about its centre lines.
    const char* const quart[] = {"T..d...T", ".D...t..", "..D...d.", "d..D...d", "....D...", ".t...t..", "..d...d.",
                                 "T..d...D"};
    for (int l = 1; l <= 15; ++l) {
        std::string ligne, attendu;
        for (int c = 1; c <= 15; ++c) {
            const short m = partie.coefMot[l][c], k = partie.coefLettre[l][c];
            ligne += m == 3 ? 'T' : m == 2 ? 'D' : k == 3 ? 't' : k == 2 ? 'd' : m == 1 && k == 1 ? '.' : '?';
            attendu += quart[(l <= 8 ? l : 16 - l) - 1][(c <= 8 ? c : 16 - c) - 1];
        }
        EXPECT_EQ(ligne, attendu) << "row " << l;
    }
    EXPECT_EQ(partie.dimPlateau * 10000 + partie.ligneDepart * 100 + partie.colDepart, 150808);
    // The French tile set, 'A' to 'Z' then the joker: counts and values.
    std::string jeu;
    for (int k = 1; k < NB_LETTRES; ++k) jeu += std::to_string(partie.nbLettre[k]) + "x" + std::to_string(partie.valeurLettre[k]) + " ";
    EXPECT_EQ(jeu, "9x1 2x3 2x3 3x2 15x1 2x4 2x2 2x4 8x1 1x8 1x10 5x1 3x2 6x1 6x1 2x3 1x8 6x1 6x1 6x1 6x1 2x4 1x10 "
                   "1x10 1x10 1x10 2x0 ");
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
    EXPECT_EQ(rec.journal(), std::vector<std::string>{"ERR : dictionnaire 'absent.txt' non charg\351\n"});
    const short bonus[16] = {0, 0, 0, 0, 0, 0, 0, 10, 20};  // out-of-range values give 0
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(params.bonus[i], bonus[i]) << i;
    EXPECT_EQ(params.ficRecords + " " + params.langue + " " + params.listeLettresOrdonnees, "mes_records.bst en EAS?");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_THEMATIQUE);
    EXPECT_TRUE(dicP.lexique.contient("CHAT"));
    ASSERT_EQ(params.dicos2.size(), 2u);
    EXPECT_EQ(params.dicos2[0].commentaire, "Noms propres");
    EXPECT_EQ(vect_regpt, (std::vector<short>{3, 0}));
    EXPECT_EQ(params.rubriques, (std::vector<std::string>{"Jeu", "Villes", ""}));  // one per dictionary
    // The game type: a crossword grid, or ordinary when the file says nothing.
    for (const auto& [texte, type] : {std::pair{"[General]\ngmc=VRAI\nthematique=oui\n", TYPE_PARTIE_GRILLE},
                                      {"[General]\n", TYPE_PARTIE_ORDINAIRE}}) {
        ecrireFichier("type.pea2", texte);
        ChargerPeau2("type.pea2");
        EXPECT_EQ(params.typePartie, type) << texte;
        EXPECT_TRUE(dicP.lexique.vide()) << "no game dictionary named: none kept from before";
    }
    // A file that is gone gives the built-in rules again, nothing of the one before.
    ChargerPeau2("parti.pea2");
    EXPECT_EQ(params.ficRecords + params.listeLettresOrdonnees + params.langue, "defaut.bstfr");
    EXPECT_TRUE(params.dicos2.empty() && vect_regpt.empty() && params.rubriques.empty());
    EXPECT_TRUE(dicP.lexique.vide() && dicP.nomFichier.empty());
    EXPECT_EQ(params.bonus[8] + params.typePartie, 0);
    EXPECT_EQ(partie.fichierPea2, "parti.pea2");
}
