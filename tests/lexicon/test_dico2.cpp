#include "lexicon/dico2.h"

#include "engine/chargerpeau2.h"
#include "engine/partie.h"
#include "support/PartieNeuve.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class Lexicon : public PartieNeuve {};

TEST_F(Lexicon, LoadsAPlainWordListAndAnswersLookUps) {
    ecrireFichier("mots.txt", "# ODS 8 - liste de test\r\nzoo\r\n  \351t\351  \n\n\t\n# second\nABACA\nZoo\nab");
    Lexique l;
    ASSERT_TRUE(l.charger("mots.txt"));
    EXPECT_EQ(l.mots(), (std::vector<std::string>{"AB", "ABACA", "ZOO", "\311T\311"}));
    EXPECT_EQ(l.commentaire(), "ODS 8 - liste de test");
    // word -> contained, a prefix of some word
    const std::tuple<const char*, bool, bool> cas[] = {
        {"ZOO", true, true},     {"AB", true, true},      {"ZO", false, true},     {"zoo", false, false},
        {"ABACAS", false, false}, {"", false, true},      {"\311", false, true},   {"\312", false, false}};
    for (const auto& [mot, present, debut] : cas) {
        EXPECT_EQ(l.contient(mot), present) << mot;
        EXPECT_EQ(l.prefixe(mot), debut) << mot;
    }
    EXPECT_FALSE(l.charger(".") || l.charger("absent.txt"));  // refused: the words stay
    EXPECT_EQ(l.taille(), 4u);
    ecrireFichier("autre.txt", "##  \nMOT\n# suite\n");  // only the first comment is the header
    ASSERT_TRUE(l.charger("autre.txt"));
    EXPECT_EQ(l.commentaire() + l.mots().at(0), "MOT");
}

TEST_F(Lexicon, VerifMotLstDicoNumbersTheDictionariesHoldingTheWord) {
    ecrireFichier("jeu.txt", "MAISON\nCHAT\n");
    ecrireFichier("sup1.txt", "CHAT\nKIWI\n");
    ecrireFichier("sup3.txt", "CHAT\nKIWI\nLOUP\n");
    ecrireFichier("regles.pea2", "[Dicos]\nprincipal=jeu.txt\nnb_dicos_sup=3\ndico_1=sup1.txt\ndico_2=\ndico_3=sup3.txt\n");
    ChargerPeau2("regles.pea2");
    // word, with jokers as lower-case letters -> without and with the joker game's cut at the first blank
    const char* cas[][3] = {{"MAISON", "1", "1"}, {"chAt", "1,2,4", "1,2,4"}, {"LOUP", "4", "4"},
                            {"RIEN", "", ""},     {"KIWI (I)", "", "2,4"}};
    for (auto& c : cas) {
        for (int joker : {0, 1}) {
            partie.partieJoker = static_cast<short>(joker);
            EXPECT_EQ(verifMotLstDico(c[0]), c[1 + joker]) << c[0] << " joker " << joker;
        }
    }
    gl_indexDefinitions = {{"CHAT", "petit f\351lin"}, {"", "jamais"}};
    EXPECT_EQ(valeurDefinition("CHAT") + "|" + valeurDefinition("CHIEN") + "|" + valeurDefinition(""),
              "petit f\351lin|la d\351finition n'a pas \351t\351 trouv\351e|");
}
