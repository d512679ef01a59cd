#include "reports/export_html_duplicate.h"

#include "PageHtml.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

using namespace pagehtml;

class DuplicateHtml : public PartieNeuve {};

TEST_F(DuplicateHtml, SyntheseAuxCotesDuTop) {
    // J1 human, J2 computer level 2, J3 level 6; three rounds, the last one ending the game.
    nouvellePartie({0, 2, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    tour("CHATON", 30, 7, {{30, "CHATON"}, {12, "CHAT"}, {0, ""}}, "CHATON, AH");
    tour("MaRE", 20, 4, {{-1, "xyz"}, {20, "MARE"}, {20, "maRE"}});
    tour("fIN", 0, 3, {{0, ""}, {0, ""}, {0, ""}});
    v_histo[2].typeCoup = COUP_FIN_DUPLICATE;
    const std::string s = ecrit(affSyntheseDuplicate);
    const Lignes r = rangees(s);
    ASSERT_EQ(r.size(), 6u);  // two head rows, three rounds, the foot
    EXPECT_EQ(r[0], "N\260|Tirage|Top|J1|J2<br />(Mot de 6 lettres maxi)|J3<br />(Excellent)");
    EXPECT_EQ(compte(r[1], "|"), 12 - 1);
    // "# " ends a score equal to the top's, "* " opens a whole rack; no joker marks without a valid move.
    EXPECT_EQ(r[2], "1|ABCDEFG|H8|CHATON|* 30|H4|CHATON| 30 # |H4|CHAT| 12  | || 0  ");
    EXPECT_EQ(r[3], "2|ABCDEFG|H8|M(A)RE| 20| |xyz| -1  |H4|MARE| 20 # |H4|(M)(A)RE| 20 # ");
    EXPECT_EQ(r[4], "3|ABCDEFG|H8|fIN| 0| || 0 # | || 0 # | || 0 # ") << "the last round shows its top as stored";
    EXPECT_EQ(r[5], "&nbsp;|Total: 50|&nbsp;|Total: 29|&nbsp;|Total: 32|&nbsp;|Total: 20");
}

TEST_F(DuplicateHtml, CinqJoueursReprennentLesQuatreCouleurs) {
    nouvellePartie({6, 6, 6, 6, 6}, true);
    tour("ZOO", 30, 3, {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E<"}});
    const std::string s = ecrit(affSyntheseDuplicate);
    EXPECT_EQ(compte(rangees(s)[2], "|"), 5 + 15 - 1);
    EXPECT_TRUE(contient(s, "      <th colspan=3 class=\"cj1\">J5<br />(Excellent)</th>\n"));
    EXPECT_TRUE(contient(s, "      <td class=\"cj3\">C</td>\n"));
    EXPECT_TRUE(contient(s, "      <td class=\"cj1\">E&lt;</td>\n"));
}

TEST_F(DuplicateHtml, TopsEtEnregistrementsManquantsLusVides) {
    nouvellePartie({6}, true);
    tour("ZOO", 30, 3, {{30, "ZOO"}});
    tour("AS", 12, 2, {{12, "AS"}});
    result_best.pop_back();  // the second round has neither top nor record
    v_histo.resize(1);
    const Lignes r = rangees(ecrit(affSyntheseDuplicate) + ecrit(affDetailsJoueursDuplicate));
    ASSERT_EQ(r.size(), 2u * 5u);
    EXPECT_EQ(r[3], "2|||| 0|H4|AS| 12  ");
    EXPECT_EQ(r[8], "2||H4|AS| 12  |||| 0||0");
}
