#include "core/maChaine.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(maChaine, FormattingHasNoLengthLimit) {
    const std::string longue(5000, 'x');
    EXPECT_EQ(chaine("%s|%d", longue.c_str(), 42), longue + "|42");
    EXPECT_EQ(chaine2("%s%s", longue.c_str(), longue.c_str()), longue + longue);
    EXPECT_EQ(chaine("%05.1f %c", 2.5, 'z'), "002.5 z");
    EXPECT_EQ(chaine("%s", ""), "");
}

TEST(maChaine, Latin1CaseAndAccentFolding) {
    struct Cas {
        const char* texte;
        const char* majuscule;
        const char* sansAccent;
    } cas[] = {
        {"abc xyz", "ABC XYZ", "abc xyz"},
        {"\340\342\347\350\351\352\353\356\357\364\371\373", "\300\302\307\310\311\312\313\316\317\324\331\333",
         "aaceeeeiiouu"},
        {"\311L\310VE", "\311L\310VE", "ELEVE"},
        {"\367 \337 \377", "\367 \337 \377", "\367 \337 y"},  // division sign, sharp s, y diaeresis
        {"\346\306\376\336\327", "\306\306\336\336\327", "\346\306\376\336\327"},
        {"1+2=3 [?]", "1+2=3 [?]", "1+2=3 [?]"},
    };
    for (const Cas& c : cas) {
        EXPECT_EQ(chaineMajuscule(c.texte), c.majuscule) << c.texte;
        EXPECT_EQ(chaineSansAccent(c.texte), c.sansAccent) << c.texte;
    }
    // Every byte keeps its place; lower-case letters only ever move up by 32.
    std::string tous;
    for (int b = 1; b < 256; ++b) tous += static_cast<char>(b);
    EXPECT_EQ(chaineMajuscule(tous).size(), tous.size());
    EXPECT_EQ(chaineSansAccent(tous).size(), tous.size());
    for (int b = 1; b < 256; ++b) {
        unsigned char u = static_cast<unsigned char>(QToUpper(static_cast<char>(b)));
        bool minuscule = (b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7);
        EXPECT_EQ(u, minuscule ? b - 32 : b) << b;
    }
}

TEST(maChaine, ReplaceAll) {
    struct Cas {
        const char* texte;
        const char* de;
        const char* vers;
        const char* resultat;
        int nombre;
    } cas[] = {
        {"a|b|c", "|", "; ", "a; b; c", 2},
        {"aaa", "a", "aa", "aaaaaa", 3},   // a replacement is not searched again
        {"aaaa", "aa", "a", "aa", 2},
        {"abc", "", "x", "abc", 0},        // nothing to search for
        {"abc", "d", "x", "abc", 0},
        {"abcabc", "abc", "", "", 2},
        {"", "a", "b", "", 0},
    };
    for (const Cas& c : cas) {
        std::string t = c.texte;
        EXPECT_EQ(replaceAllNb(t, c.de, c.vers), c.nombre) << c.texte << " " << c.de;
        EXPECT_EQ(t, c.resultat) << c.texte << " " << c.de;
    }
}

TEST(maChaine, FieldLists) {
    struct Cas {
        const char* texte;
        const char* sep;
        int nb;
        unsigned short n;
        const char* champ;
        int valeur;
    } cas[] = {
        {"12|ab|7", "|", 3, 1, "12", 12},
        {"12|ab|7", "|", 3, 2, "ab", 0},
        {"12|ab|7", "|", 3, 3, "7", 7},
        {"12|ab|7", "|", 3, 4, "", 7},    // beyond the last field: lookupInt gives the last
        {"12|ab|7", "|", 3, 60000, "", 7},
        {"12|ab|7", "|", 3, 0, "", 0},
        {"", "|", 1, 1, "", 0},
        {"", "|", 1, 2, "", 0},
        {"5||", "|", 3, 2, "", 0},
        {"1::-2::3", "::", 3, 2, "-2", -2},
        {"1:2", "", 1, 1, "1:2", 1},      // an empty separator gives one field
        {"1:2", "", 1, 2, "", 1},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(std::string(c.texte) + " n=" + std::to_string(c.n));
        EXPECT_EQ(nbElem(c.texte, c.sep), c.nb);
        EXPECT_EQ(lookup(c.texte, c.n, c.sep), c.champ);
        EXPECT_EQ(lookupInt(c.texte, c.n, c.sep), c.valeur);
    }
    EXPECT_EQ(champ("a;b", 2, ";"), "b");
    EXPECT_EQ(champ("a;b", 3, ";"), "");
    EXPECT_EQ(champInt("a;44;b", 2, ";"), 44);
    EXPECT_EQ(champInt("a;44", 5, ";"), 0);
}

TEST(maChaine, NumberParsing) {
    struct Cas {
        const char* texte;
        bool strict;
        long valeur;
        int tolerant;
    } cas[] = {
        {"42", true, 42, 42},     {" 42 ", true, 42, 42}, {"-3", true, -3, -3},
        {"4x", false, 0, 4},      {"", false, 0, 0},      {"abc", false, 0, 0},
        {"101", false, 0, 101},   {"99999999999999999999", false, 0, INT_MAX},
        {"-99999999999", false, 0, INT_MIN},
    };
    for (const Cas& c : cas) {
        long v = -999;
        EXPECT_EQ(entierStrict(c.texte, -100, 100, v), c.strict) << c.texte;
        EXPECT_EQ(v, c.strict ? c.valeur : -999) << c.texte;
        EXPECT_EQ(entierTolerant(c.texte), c.tolerant) << c.texte;
    }
    long v = 0;
    EXPECT_FALSE(entierStrict(std::string("5\0" "1", 3), 0, 100, v));
}

TEST(maChaine, FileTextFormatsNeverReachPrintf) {
    EXPECT_EQ(formaterTexte("Le fichier '%s' est introuvable", {"C:\\100%d\\a.ini"}),
              "Le fichier 'C:\\100%d\\a.ini' est introuvable");
    EXPECT_EQ(formaterTexte("%d / %i = 100%%", {"3", "4"}), "3 / 4 = 100%");
    EXPECT_EQ(formaterTexte("%s %s %n %x %", {"a"}), "a  %n %x %");
    EXPECT_EQ(latin1VersUtf8("\351t\351 A\377"), "\303\251t\303\251 A\303\277");
}

}  // namespace
