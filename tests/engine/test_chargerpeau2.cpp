#include "engine/chargerpeau2.h"

#include "app/interface.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The board as rows of multiplier digits: "3" word x3, "2" word x2,
// "t" letter x3, "d" letter x2, "." none.
std::vector<std::string> plateauBonus() {
    std::vector<std::string> lignes;
    for (int l = 1; l <= partie.dimPlateau; ++l) {
        std::string s;
        for (int c = 1; c <= partie.dimPlateau; ++c) {
            short m = partie.coefMot[l][c], k = partie.coefLettre[l][c];
            EXPECT_TRUE(m == 1 || k == 1) << l << "," << c;
            s += m == 3 ? '3' : m == 2 ? '2' : k == 3 ? 't' : k == 2 ? 'd' : '.';
        }
        lignes.push_back(s);
    }
    return lignes;
}

void verifierReglesParDefaut() {
    const std::vector<std::string> classique = {
        "3..d...3...d..3", ".2...t...t...2.", "..2...d.d...2..", "d..2...d...2..d",
        "....2.....2....", ".t...t...t...t.", "..d...d.d...d..", "3..d...2...d..3",
        "..d...d.d...d..", ".t...t...t...t.", "....2.....2....", "d..2...d...2..d",
        "..2...d.d...2..", ".2...t...t...2.", "3..d...3...d..3",
    };
    EXPECT_EQ(partie.dimPlateau, 15);
    EXPECT_EQ(plateauBonus(), classique);
    EXPECT_EQ(partie.ligneDepart, 8);
    EXPECT_EQ(partie.colDepart, 8);
    EXPECT_EQ(partie.tailleChevalet, 7);
    EXPECT_EQ(partie.bonusTessarel, 50);
    EXPECT_EQ(partie.nbCasesNoires, 0);
    int total = 0;
    std::string valeurs;
    for (int k = 1; k < NB_LETTRES; ++k) {
        total += partie.nbLettre[k];
        valeurs += std::to_string(partie.valeurLettre[k]) + " ";
    }
    EXPECT_EQ(total, 102);
    EXPECT_EQ(partie.nbLettre['E' - 'A' + 1], 15);
    EXPECT_EQ(partie.nbLettre[IDX_JOKER], 2);
    EXPECT_EQ(valeurs, "1 3 3 2 1 4 2 4 1 8 10 1 2 1 1 3 8 1 1 1 1 4 10 10 10 10 0 ");
    for (int r = 0; r < TAILLE_GRILLE; ++r)
        for (int c = 0; c < TAILLE_GRILLE; ++c) EXPECT_NE(dicP.special[r][c], CASE_NOIRE);
}

TEST(ChargerPeau2, MissingFileGivesItsMessageAndTheDefaults) {
    InTempDir tmp;
    MessageRecorder rec;
    ChargerPeau2("absent_100%s.pea2");
    ASSERT_EQ(rec.boites().size(), 1u);
    EXPECT_NE(rec.boites()[0].find("'absent_100%s.pea2'"), std::string::npos) << rec.boites()[0];
    EXPECT_EQ(partie.fichierPea2, "absent_100%s.pea2");
    verifierReglesParDefaut();
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(params.bonus[i], 0);
    EXPECT_EQ(params.ficRecords, "defaut.bst");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_ORDINAIRE);
    EXPECT_EQ(params.langue, "fr");
    EXPECT_TRUE(params.listeLettresOrdonnees.empty());
    EXPECT_TRUE(params.dicos2.empty());
    EXPECT_TRUE(vect_regpt.empty());
    EXPECT_TRUE(dicP.nomFichier.empty());
}

TEST(ChargerPeau2, ReadsTheKeysOfTheFileAndDefaultsTheRest) {
    InTempDir tmp;
    MessageRecorder rec;
    ecrireFichier("jeu.txt", "# Dico de jeu\nCHAT\n");
    ecrireFichier("sup.txt", "#  Noms propres\nPARIS\n");
    const std::string regles =
                  "[Bonus]\r\n1=0\r\n7=10\r\n8=20\r\n9=x\r\n10=-4\r\n15=1001\r\n"
                  "[Fichier des Records]\r\nfic=mes_records.bst\r\n"
                  "[General]\r\ngmc=non\r\nthematique=oui\r\nListeLettresOrdonnees=EAS?\r\n"
                  "[MsgMenus]\r\nlangue=en\r\n"
                  "[Dicos]\r\nprincipal=jeu.txt\r\nnb_dicos_sup=2\r\n"
                  "dico_1=sup.txt\r\nregpt_dico_1=3\r\ndico_2=absent.txt\r\nregpt_dico_2=zz\r\n"
                  "rubrique_1=Jeu\r\nrubrique_2=Villes\r\nrubrique_3=\r\n";
    ecrireFichier("regles.pea2", regles);
    ChargerPeau2("regles.pea2");
    EXPECT_TRUE(rec.boites().empty());
    EXPECT_EQ(partie.fichierPea2, "regles.pea2");
    verifierReglesParDefaut();
    const short bonus[16] = {0, 0, 0, 0, 0, 0, 0, 10, 20, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(params.bonus[i], bonus[i]) << i;
    EXPECT_EQ(params.ficRecords, "mes_records.bst");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_THEMATIQUE);
    EXPECT_EQ(params.listeLettresOrdonnees, "EAS?");
    EXPECT_EQ(params.langue, "en");
    EXPECT_EQ(dicP.nomFichier, "jeu.txt");
    EXPECT_EQ(dicP.commentaire, "Dico de jeu");
    EXPECT_TRUE(dicP.lexique.contient("CHAT"));
    ASSERT_EQ(params.dicos2.size(), 2u);
    EXPECT_EQ(params.dicos2[0].commentaire, "Noms propres");
    EXPECT_TRUE(params.dicos2[0].lexique.contient("PARIS"));
    EXPECT_EQ(params.dicos2[1].nomFichier, "absent.txt");
    EXPECT_EQ(vect_regpt, (std::vector<short>{3, 0}));
    EXPECT_EQ(params.rubriques, (std::vector<std::string>{"Jeu", "Villes", ""}));
    EXPECT_EQ(lireFichier("regles.pea2"), regles);  // read, never rewritten

    // Loading another file starts again from the defaults.
    ecrireFichier("grille.pea2", "[General]\ngmc=Vrai\n[Dicos]\nnb_dicos_sup=10\ndico_1=sup.txt\n");
    ChargerPeau2("grille.pea2");
    EXPECT_EQ(params.typePartie, TYPE_PARTIE_GRILLE);
    EXPECT_EQ(params.bonus[7], 0);
    EXPECT_EQ(params.langue, "fr");
    EXPECT_EQ(params.ficRecords, "defaut.bst");
    EXPECT_TRUE(params.dicos2.empty());  // 10 extra dictionaries is more than allowed
    EXPECT_TRUE(dicP.lexique.vide());
}

}  // namespace
