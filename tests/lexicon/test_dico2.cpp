#include "lexicon/dico2.h"

#include "engine/chargerpeau2.h"
#include "engine/partie.h"
#include "support/PartieNeuve.h"
#include "support/TempDir.h"
#include "core/utile_gcc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

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
    EXPECT_FALSE(l.charger("."));  // refused: the words stay
    EXPECT_FALSE(l.charger("absent.txt"));
    EXPECT_EQ(l.taille(), 4u);
    ecrireFichier("autre.txt", "##  \nMOT\n# suite\n");  // only the first comment is the header
    ASSERT_TRUE(l.charger("autre.txt"));
    EXPECT_EQ(l.commentaire(), "");
    EXPECT_EQ(l.mots(), std::vector<std::string>{"MOT"});
    // An editor's byte-order mark is no part of the first line.
    ecrireFichier("bom.txt", "\357\273\277# Liste\r\nMOT\r\n");
    ASSERT_TRUE(l.charger("bom.txt"));
    EXPECT_EQ(l.commentaire(), "Liste");
    EXPECT_EQ(l.mots(), std::vector<std::string>{"MOT"});
    ecrireFichier("bom.txt", "\357\273\277zoo");
    ASSERT_TRUE(l.charger("bom.txt"));
    EXPECT_EQ(l.mots(), std::vector<std::string>{"ZOO"});
    // A pipe or a file over the size limit is no word list: refused at once.
    ASSERT_EQ(mkfifo("tube.txt", 0600), 0);
    ecrireFichier("enorme.txt", "MOT\n");
    std::filesystem::resize_file("enorme.txt", TAILLE_FICHIER_MAX + 1);
    EXPECT_FALSE(l.charger("tube.txt"));
    EXPECT_FALSE(l.charger("enorme.txt"));
    EXPECT_EQ(l.mots(), std::vector<std::string>{"ZOO"});
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
    EXPECT_EQ(valeurDefinition("CHAT"), "petit f\351lin");
    EXPECT_EQ(valeurDefinition("CHIEN"), "la d\351finition n'a pas \351t\351 trouv\351e");
    EXPECT_EQ(valeurDefinition(""), "");
}
