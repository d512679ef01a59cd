#include "lexicon/dico2.h"

#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(Lexique, LoadsAPlainWordList) {
    TempDir dir;
    ecrireFichier(dir.file("mots.txt"),
                  "# ODS 8 - liste de test\r\n"
                  "zoo\r\n"
                  "  \351t\351  \n"
                  "\n"
                  "# second comment\n"
                  "ABACA\n"
                  "Zoo\n"
                  "pomme de terre\n"
                  "#\n"
                  "aa");
    Lexique l;
    ASSERT_TRUE(l.charger(dir.file("mots.txt")));
    EXPECT_EQ(l.mots(), (std::vector<std::string>{"AA", "ABACA", "POMME DE TERRE", "ZOO", "\311T\311"}));
    EXPECT_EQ(l.commentaire(), "ODS 8 - liste de test");
    EXPECT_TRUE(l.contient("\311T\311"));
    EXPECT_FALSE(l.contient("zoo"));  // stored upper-case
    EXPECT_FALSE(l.contient("ZO"));
    EXPECT_TRUE(l.prefixe("ZO"));
    EXPECT_TRUE(l.prefixe(""));
    EXPECT_FALSE(l.prefixe("ZOOS"));

    // A list that cannot be read is refused and the loaded words stay.
    EXPECT_FALSE(l.charger(dir.file("absent.txt")));
    EXPECT_FALSE(l.charger(dir.path()));
    EXPECT_EQ(l.taille(), 5u);
    ecrireFichier(dir.file("vide.txt"), "");
    ASSERT_TRUE(l.charger(dir.file("vide.txt")));
    EXPECT_TRUE(l.vide());
    EXPECT_EQ(l.commentaire(), "");
}

TEST(Lexique, VerifMotLstDicoNumbersTheDictionariesHoldingTheWord) {
    InTempDir tmp;
    MessageRecorder rec;
    ecrireFichier("jeu.txt", "MAISON\nCHAT\nZEN\n");
    ecrireFichier("sup1.txt", "CHAT\nKIWI\n");
    ecrireFichier("sup3.txt", "CHAT\nKIWI\nZEN\nLOUP\n");
    ecrireFichier("regles.pea2",
                  "[Dicos]\nprincipal=jeu.txt\nnb_dicos_sup=4\n"
                  "dico_1=sup1.txt\ndico_2=\ndico_3=sup3.txt\ndico_4=absent.txt\n");
    ChargerPeau2("regles.pea2");
    ASSERT_EQ(params.dicos2.size(), 4u);
    EXPECT_EQ(rec.journal().size(), 1u);  // the missing word list, on the log only
    EXPECT_TRUE(rec.boites().empty());

    struct Cas {
        const char* mot;
        const char* attendu;
    } cas[] = {
        {"MAISON", "1"}, {"CHAT", "1,2,4"}, {"KIWI", "2,4"}, {"LOUP", "4"}, {"ZEN", "1,4"},
        {"chAt", "1,2,4"},  // jokers are lower-case letters
        {"RIEN", ""},       {"", ""},       {"MAISON (I)", ""},
    };
    for (const Cas& c : cas) EXPECT_EQ(verifMotLstDico(c.mot), c.attendu) << c.mot;

    // In a joker game only the part before the first blank is looked up.
    partie.partieJoker = 1;
    EXPECT_EQ(verifMotLstDico("MAISON (I)"), "1");
    EXPECT_EQ(verifMotLstDico("LOUP  X"), "4");
    EXPECT_EQ(verifMotLstDico(" CHAT"), "");
}

TEST(Lexique, ValeurDefinitionReadsTheIndex) {
    gl_indexDefinitions["CHAT"] = "petit f\351lin";
    EXPECT_EQ(valeurDefinition("CHAT"), "petit f\351lin");
    EXPECT_EQ(valeurDefinition("CHIEN"), "la d\351finition n'a pas \351t\351 trouv\351e");
    EXPECT_EQ(valeurDefinition(""), "");
}

}  // namespace
