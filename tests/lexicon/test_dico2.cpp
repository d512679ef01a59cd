#include "lexicon/dico2.h"

#include "engine/chargerpeau2.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

class Lexicon : public PartieNeuve {};

TEST_F(Lexicon, LoadsAPlainWordList) {
    ecrireFichier("mots.txt", "# ODS 8 - liste de test\r\nzoo\r\n  \351t\351  \n\n\t\n# second\nABACA\nZoo\nab");
    Lexique l;
    ASSERT_TRUE(l.charger("mots.txt"));
    EXPECT_EQ(l.mots(), (std::vector<std::string>{"AB", "ABACA", "ZOO", "\311T\311"}));
    EXPECT_EQ(l.commentaire(), "ODS 8 - liste de test");
    // Look-ups are exact; a prefix is any start of a word, the empty one included.
    const std::pair<const char*, bool> mots[] = {{"ZOO", true}, {"AB", true}, {"ZO", false}, {"zoo", false},
                                                 {"ZOOS", false}, {"", false}, {"\311T\311", true}};
    for (const auto& [mot, present] : mots) EXPECT_EQ(l.contient(mot), present) << mot;
    const std::pair<const char*, bool> debuts[] = {{"", true}, {"ABA", true}, {"ABACA", true}, {"Z", true},
                                                   {"ABACAS", false}, {"B", false}, {"\311", true}, {"\312", false}};
    for (const auto& [debut, present] : debuts) EXPECT_EQ(l.prefixe(debut), present) << debut;
    EXPECT_FALSE(l.charger("."));  // a folder is refused and the words stay
    EXPECT_FALSE(l.charger("absent.txt"));
    EXPECT_EQ(l.taille(), 4u);
    // Only the first comment is the header, here an empty one.
    ecrireFichier("autre.txt", "##  \nMOT\n# suite\n");
    ASSERT_TRUE(l.charger("autre.txt"));
    EXPECT_EQ(l.commentaire(), "");
    EXPECT_EQ(l.mots(), std::vector<std::string>{"MOT"});
    l.vider();
    EXPECT_TRUE(l.vide());
    EXPECT_FALSE(l.prefixe(""));
}

TEST_F(Lexicon, VerifMotLstDicoNumbersTheDictionariesHoldingTheWord) {
    MessageRecorder rec;
    ecrireFichier("jeu.txt", "MAISON\nCHAT\n");
    ecrireFichier("sup1.txt", "CHAT\nKIWI\n");
    ecrireFichier("sup3.txt", "CHAT\nKIWI\nLOUP\n");
    ecrireFichier("regles.pea2", "[Dicos]\nprincipal=jeu.txt\nnb_dicos_sup=3\n"
                                 "dico_1=sup1.txt\ndico_2=\ndico_3=sup3.txt\n");
    ChargerPeau2("regles.pea2");
    const char* cas[][2] = {
        {"MAISON", "1"}, {"CHAT", "1,2,4"}, {"LOUP", "4"}, {"KIWI", "2,4"},
        {"chAt", "1,2,4"},  // jokers are lower-case letters
        {"RIEN", ""},       {"MAISON (I)", ""},
    };
    for (auto& c : cas) EXPECT_EQ(verifMotLstDico(c[0]), c[1]) << c[0];
    partie.partieJoker = 1;  // only the part before the first blank is looked up
    EXPECT_EQ(verifMotLstDico("MAISON (I)"), "1");
    EXPECT_EQ(verifMotLstDico("KIWI"), "2,4");
}

TEST_F(Lexicon, ValeurDefinitionReadsTheIndex) {
    gl_indexDefinitions["CHAT"] = "petit f\351lin";
    gl_indexDefinitions[""] = "jamais";
    EXPECT_EQ(valeurDefinition("CHAT"), "petit f\351lin");
    EXPECT_EQ(valeurDefinition("CHIEN"), "la d\351finition n'a pas \351t\351 trouv\351e");
    EXPECT_EQ(valeurDefinition(""), "");
}
