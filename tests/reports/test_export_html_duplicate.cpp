#include "reports/export_html_duplicate.h"

#include "PageHtml.h"
#include "reports/export_html_cadre.h"

#include <gtest/gtest.h>

using namespace pagehtml;

namespace {

// J1 human, J2 computer level 2, J3 computer level 6; three complete rounds,
// the last one the line that ends the game.
void troisJoueurs() {
    nouvellePartie({0, 2, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    tour(unTop("CHATON", 30, 7, "CHATON, AH"), {{30, "CHATON"}, {12, "CHAT"}, {0, ""}});
    saisieDP t2 = unTop("MaRE", 20, 4);
    t2.nbTops = 2;
    tour(t2, {{-1, "xyz"}, {20, "MARE"}, {20, "maRE"}});
    tour(unTop("fIN", 0, 3), {{0, ""}, {0, ""}, {0, ""}});
    v_histo[1].texteTops = "[MARE H4] [MeRA 4H]";
    v_histo[2].typeCoup = COUP_FIN_DUPLICATE;
    saisie_duplicate[1][0].mots = "CHAT, AH";
}

std::string synthese() { return ecrit(affSyntheseDuplicate); }
std::string details() { return ecrit(affDetailsJoueursDuplicate); }

}  // namespace

TEST(DuplicateHtml, SynthesisSetsEachEntryBesideTheTop) {
    troisJoueurs();
    const std::string s = synthese();
    verifierBalises(s);
    EXPECT_EQ(lignes(s)[2], "*: les 7 lettres sont plac\351es (bonus de 50 points)<br/><br/>");
    const auto r = rangees(s);
    ASSERT_EQ(r.size(), 6u);  // two head rows, three rounds, the foot
    EXPECT_EQ(valeurs(r[0]), "N\260|Tirage|Top|J1|J2<br />(Mot de 6 lettres maxi)|J3<br />(Excellent)");
    EXPECT_EQ(r[0][3], "      <th colspan=3 class=\"cj1\">J1</th>");
    EXPECT_EQ(r[1].size(), 12u);
    EXPECT_EQ(r[1][3], "      <th width=\"40\" class=\"cj1\">R\351f.</th>");
    // The top mark "# " ends a score that equals the top's, "* " opens a whole rack.
    EXPECT_EQ(valeurs(r[2]), "1|ABCDEFG|H8|CHATON|* 30|H4|CHATON| 30 # |H4|CHAT| 12  | || 0  ");
    EXPECT_EQ(r[2][13], "      <td class=\"cj3\"> 0  </td>");
    // Jokers bracketed, but not in an entry without a valid move.
    EXPECT_EQ(valeurs(r[3]), "2|ABCDEFG|H8|M(A)RE| 20| |xyz| -1  |H4|MARE| 20 # |H4|(M)(A)RE| 20 # ");
    // The round that ended the game shows its top's word as stored.
    EXPECT_EQ(valeurs(r[4]), "3|ABCDEFG|H8|fIN| 0| || 0 # | || 0 # | || 0 # ");
    EXPECT_EQ(valeurs(r[5]), "&nbsp;|Total: 50|&nbsp;|Total: 29|&nbsp;|Total: 32|&nbsp;|Total: 20");
    EXPECT_EQ(r[5][7], "      <td colspan=2 class=\"cj3\">Total: 20</td>");
}

TEST(DuplicateHtml, DetailsFillTheWordListAndFoldTheTops) {
    troisJoueurs();
    viderVdef();
    gi_nb_affcach = 0;
    const std::string d = details();
    verifierBalises(d);
    EXPECT_EQ(vdef, (Lignes{"CHATON", "AH", "MARE", "FIN", "CHAT"}));
    EXPECT_TRUE(contientLigne(d, "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dj2\">D\351tail joueur 2: J2 "
                                 "(niveau: Mot de 6 lettres maxi)</a></h3>"));
    const auto r = rangees(d);
    ASSERT_EQ(r.size(), 3u * 6u);
    EXPECT_EQ(r[1].size(), 9u);
    EXPECT_EQ(valeurs(r[6 + 2]), "1|ABCDEFG|H4|CHAT| 12  |AH|H8|CHATON|* 30|AH|1");
    EXPECT_EQ(r[6 + 2][2], "      <td class=\"cj2\">H4</td>");
    EXPECT_EQ(r[6 + 2][6], "      <td class=\"cj1\">H8</td>");
    // One folded block per player, numbered in page order.
    EXPECT_EQ(r[3][10],
              "      <td class=\"cj1\"><a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 2</a>"
              "<div id=\"affcach_1\" style=\"display:none;\">[MARE H4]<br/> [M(E)RA 4H]<br/></div></td>");
    EXPECT_TRUE(contient(r[6 + 3][10], "'affcach_2'"));
    EXPECT_TRUE(contient(r[12 + 3][10], "'affcach_3'"));
    EXPECT_EQ(valeurs(r[4]), "3|ABCDEFG| || 0 # ||H8|fIN| 0||1");
    EXPECT_EQ(valeurs(r[5]), "&nbsp;|Total: 29|&nbsp;|Total: 50|&nbsp;");
}

TEST(DuplicateHtml, FivePlayersReuseTheFourColours) {
    nouvellePartie({6, 6, 6, 6, 6}, true);
    tour(unTop("ZOO", 30, 3), {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E<"}});
    const auto r = rangees(synthese());
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0][7], "      <th colspan=3 class=\"cj1\">J5<br />(Excellent)</th>");
    EXPECT_EQ(r[2].size(), 5u + 15u);
    EXPECT_EQ(r[2][12], "      <td class=\"cj3\">C</td>");
    EXPECT_EQ(r[2][18], "      <td class=\"cj1\">E&lt;</td>");
}

TEST(DuplicateHtml, MissingTopsAndRecordsReadAsEmpty) {
    nouvellePartie({6}, true);
    tour(unTop("ZOO", 30, 3), {{30, "ZOO"}});
    saisie_duplicate[0].push_back(unTop("AS", 12, 2));  // a second round without top or record
    v_histo.resize(1);
    const auto r = rangees(synthese() + details());
    ASSERT_EQ(r.size(), 2u * 5u);
    EXPECT_EQ(valeurs(r[3]), "2|||| 0|H8|AS| 12  ");
    EXPECT_EQ(valeurs(r[8]), "2||H8|AS| 12  |||| 0||0");
}
