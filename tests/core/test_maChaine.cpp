#include "core/maChaine.h"

#include <gtest/gtest.h>

#include <climits>

TEST(maChaine, FormattingAndFileTexts) {
    const std::string longue(5000, 'x');
    EXPECT_EQ(chaine("%s|%d", longue.c_str(), 42), longue + "|42");  // no length limit
    for (size_t n : {255, 256, 257}) EXPECT_EQ(chaine2("%s", std::string(n, 'y').c_str()), std::string(n, 'y'));
    // File texts never reach printf.
    EXPECT_EQ(formaterTexte("Le fichier '%s' est introuvable", {"C:\\100%d\\a.ini"}),
              "Le fichier 'C:\\100%d\\a.ini' est introuvable");
    EXPECT_EQ(formaterTexte("%s %i%% %n %x %", {"a", "2"}), "a 2% %n %x %");
    EXPECT_EQ(latin1VersUtf8("a\351\377") + utf8VersLatin1("\303\251\342\202\254"), "a\303\251\303\277\351?");
}

TEST(maChaine, Latin1CaseAndAccentFolding) {
    const char* cas[][3] = {
        // text, upper case, without accents
        {"\340\342\347\350\351\352\353\356\357\364\371\373", "\300\302\307\310\311\312\313\316\317\324\331\333",
         "aaceeeeiiouu"},
        {"\311L\310VE", "\311L\310VE", "ELEVE"},
        {"azAZ@[`{", "AZAZ@[`{", "azAZ@[`{"},
        {"\300\277", "\300\277", "A\277"},  // the first accented letter, the last sign before them
        {"\367 \337 \376\377", "\367 \337 \336\377", "\367 \337 \376y"},  // division sign, sharp s, thorn, y diaeresis
    };
    for (auto& c : cas) {
        EXPECT_EQ(chaineMajuscule(c[0]), c[1]) << c[0];
        EXPECT_EQ(chaineSansAccent(c[0]), c[2]) << c[0];
    }
}

TEST(maChaine, ReplaceAllAndFieldLists) {
    const struct { const char *texte, *de, *vers, *resultat; int nombre; } remplacements[] = {
        {"a|b|c", "|", "; ", "a; b; c", 2},
        {"aaa", "a", "aa", "aaaaaa", 3},  // a replacement is not searched again
        {"abc", "", "x", "abc", 0},       // nothing to search for
        {"abc", "z", "x", "abc", 0},
    };
    for (auto& c : remplacements) {
        std::string t = c.texte;
        EXPECT_EQ(replaceAllNb(t, c.de, c.vers), c.nombre) << c.texte << " " << c.de;
        EXPECT_EQ(t, c.resultat) << c.texte << " " << c.de;
    }
    const struct { const char *texte, *sep; unsigned short n; const char* champ; int valeur, nombre; } champs[] = {
        {"12|ab|7", "|", 3, "7", 7, 7},
        {"12||ab||7", "||", 4, "", 7, 0},  // beyond the last field: lookupInt gives the last
        {"12|ab|7", "|", 0, "", 0, 0},
        {"1:2", "", 1, "1:2", 1, 1},  // an empty separator gives one field
        {"1:2", "", 2, "", 1, 0},
    };
    for (auto& c : champs) {
        EXPECT_EQ(lookup(c.texte, c.n, c.sep), c.champ) << c.texte << " n=" << c.n;
        EXPECT_EQ(lookupInt(c.texte, c.n, c.sep), c.valeur) << c.texte << " n=" << c.n;
        EXPECT_EQ(champInt(c.texte, c.n, c.sep), c.nombre) << c.texte << " n=" << c.n;
    }
}

TEST(maChaine, Numbers) {
    // text -> value within [0, 100], -1 when refused
    const std::pair<const char*, long> strict[] = {{"42", 42}, {" 7\t", 7}, {"0", 0}, {"100", 100}, {"101", -1},
                                                   {"-1", -1}, {"4x", -1}, {"", -1}, {"99999999999999999999", -1}};
    for (const auto& [texte, valeur] : strict) {
        long v = -1;
        EXPECT_EQ(entierStrict(texte, 0, 100, v), valeur >= 0) << texte;
        EXPECT_EQ(v, valeur) << texte;
    }
    EXPECT_EQ(entierTolerant("12abc") + entierTolerant("abc"), 12);
    EXPECT_EQ(entierTolerant("-99999999999"), INT_MIN);
    EXPECT_EQ(entierTolerant("99999999999"), INT_MAX);
}
