#include "reports/export_html_duplicate.h"

#include "PageHtml.h"
#include "reports/export_html_cadre.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace pagehtml;

namespace {

// J1 human, J2 computer level 2, J3 computer level 6; three complete rounds,
// the last one the line that ends the game.
void troisJoueurs() {
    nouvellePartie({0, 2, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    saisieDP t1 = unTop("CHATON", 30, 7);
    t1.mots = "CHATON, AH";
    tour(t1, {{30, "CHATON"}, {12, "CHAT"}, {0, ""}});
    saisieDP t2 = unTop("MaRE", 20, 4);
    t2.nbTops = 2;
    tour(t2, {{-1, "xyz"}, {20, "MARE"}, {20, "maRE"}});
    tour(unTop("fIN", 0, 3), {{0, ""}, {0, ""}, {0, ""}});
    v_histo[1].texteTops = "[MARE H4] [MeRA 4H]";
    v_histo[2].typeCoup = COUP_FIN_DUPLICATE;
    saisie_duplicate[1][0].mots = "CHAT, AH";
}

std::string synthese() {
    std::ostringstream out;
    affSyntheseDuplicate(out);
    return out.str();
}

std::string details() {
    std::ostringstream out;
    affDetailsJoueursDuplicate(out);
    return out.str();
}

// Cells (td or th lines) of each row between "    <tr>" and "    </tr>".
std::vector<std::vector<std::string>> rangees(const std::string& page) {
    std::vector<std::vector<std::string>> r;
    for (const std::string& l : lignes(page)) {
        if (l == "    <tr>") r.emplace_back();
        else if (!r.empty() && (l.rfind("      <td", 0) == 0 || l.rfind("      <th", 0) == 0)) r.back().push_back(l);
    }
    return r;
}

}  // namespace

TEST(DuplicateHtml, SynthesisSetsEachEntryBesideTheTop) {
    troisJoueurs();
    const std::string s = synthese();
    verifierBalises(s);
    const auto r = rangees(s);
    ASSERT_EQ(r.size(), 6u);  // two head rows, three rounds, the foot
    EXPECT_EQ(r[0].size(), 6u);
    EXPECT_EQ(r[0][4], "      <th colspan=3 class=\"cj2\">J2<br />(Mot de 6 lettres maxi)</th>");
    EXPECT_EQ(r[0][3], "      <th colspan=3 class=\"cj1\">J1</th>");
    EXPECT_EQ(r[1].size(), 12u);
    EXPECT_EQ(r[1][3], "      <th width=\"40\" class=\"cj1\">R\351f.</th>");
    for (size_t i = 2; i <= 4; ++i) EXPECT_EQ(r[i].size(), 14u) << "round " << i - 1;
    EXPECT_EQ(r[2], (std::vector<std::string>{
                        "      <td>1</td>", "      <td>ABCDEFG</td>", "      <td class=\"ctop\">H8</td>",
                        "      <td class=\"ctop\">CHATON</td>", "      <td class=\"ctop\">* 30</td>",
                        "      <td class=\"cj1\">H4</td>", "      <td class=\"cj1\">CHATON</td>",
                        "      <td class=\"cj1\"> 30 # </td>", "      <td class=\"cj2\">H4</td>",
                        "      <td class=\"cj2\">CHAT</td>", "      <td class=\"cj2\"> 12  </td>",
                        "      <td class=\"cj3\"> </td>", "      <td class=\"cj3\"></td>",
                        "      <td class=\"cj3\"> 0  </td>"}));
    // A joker's letter is bracketed, but not in an entry without a valid move.
    EXPECT_EQ(r[3][3], "      <td class=\"ctop\">M(A)RE</td>");
    EXPECT_EQ(r[3][5], "      <td class=\"cj1\"> </td>");
    EXPECT_EQ(r[3][6], "      <td class=\"cj1\">xyz</td>");
    EXPECT_EQ(r[3][7], "      <td class=\"cj1\"> -1  </td>");
    EXPECT_EQ(r[3][12], "      <td class=\"cj3\">(M)(A)RE</td>");
    // The round that ended the game shows its top's word as stored.
    EXPECT_EQ(r[4][3], "      <td class=\"ctop\">fIN</td>");
    EXPECT_EQ(r[5], (std::vector<std::string>{
                        "      <td colspan=3>&nbsp;</td>", "      <td colspan=2 class=\"ctop\">Total: 50</td>",
                        "      <td>&nbsp;</td>", "      <td colspan=2 class=\"cj1\">Total: 29</td>",
                        "      <td>&nbsp;</td>", "      <td colspan=2 class=\"cj2\">Total: 32</td>",
                        "      <td>&nbsp;</td>", "      <td colspan=2 class=\"cj3\">Total: 20</td>"}));
    EXPECT_EQ(lignes(s)[2], "*: les 7 lettres sont plac\351es (bonus de 50 points)<br/><br/>");
}

TEST(DuplicateHtml, DetailsFillTheWordListAndFoldTheTops) {
    troisJoueurs();
    viderVdef();
    gi_nb_affcach = 0;
    const std::string d = details();
    verifierBalises(d);
    EXPECT_EQ(vdef, (std::vector<std::string>{"CHATON", "AH", "MARE", "FIN", "CHAT"}));
    EXPECT_TRUE(contientLigne(
        d, "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dj2\">D\351tail joueur 2: J2 (niveau: Mot de 6 "
           "lettres maxi)</a></h3>"));
    EXPECT_TRUE(contientLigne(d, "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dj1\">D\351tail joueur 1: "
                                 "J1</a></h3>"));
    const auto r = rangees(d);
    ASSERT_EQ(r.size(), 3u * 6u);
    EXPECT_EQ(r[0].size(), 4u);
    EXPECT_EQ(r[1].size(), 9u);
    EXPECT_EQ(r[6 + 2], (std::vector<std::string>{
                            "      <td>1</td>", "      <td>ABCDEFG</td>", "      <td class=\"cj2\">H4</td>",
                            "      <td class=\"cj2\">CHAT</td>", "      <td class=\"cj2\"> 12  </td>",
                            "      <td class=\"cj2\">AH</td>", "      <td class=\"cj1\">H8</td>",
                            "      <td class=\"cj1\">CHATON</td>", "      <td class=\"cj1\">* 30</td>",
                            "      <td class=\"cj1\">AH</td>", "      <td class=\"cj1\">1</td>"}));
    // One folded block per player, numbered in page order.
    EXPECT_EQ(r[3][10],
              "      <td class=\"cj1\"><a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 2</a>"
              "<div id=\"affcach_1\" style=\"display:none;\">[MARE H4]<br/> [M(E)RA 4H]<br/></div></td>");
    EXPECT_NE(r[6 + 3][10].find("'affcach_2'"), std::string::npos);
    EXPECT_NE(r[12 + 3][10].find("'affcach_3'"), std::string::npos);
    EXPECT_EQ(r[4][7], "      <td class=\"cj1\">fIN</td>");
    EXPECT_EQ(r[5], (std::vector<std::string>{
                        "      <td colspan=3>&nbsp;</td>", "      <td colspan=2 class=\"cj2\">Total: 29</td>",
                        "      <td colspan=3>&nbsp;</td>", "      <td colspan=2 class=\"cj1\">Total: 50</td>",
                        "      <td>&nbsp;</td>"}));
}

TEST(DuplicateHtml, FivePlayersReuseTheFourColours) {
    nouvellePartie({6, 6, 6, 6, 6}, true);
    tour(unTop("ZOO", 30, 3), {{1, "A"}, {2, "B"}, {3, "C"}, {4, "D"}, {5, "E<"}});
    const std::string s = synthese();
    const auto r = rangees(s);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0][7], "      <th colspan=3 class=\"cj1\">J5<br />(Excellent)</th>");
    EXPECT_EQ(r[2].size(), 5u + 15u);
    EXPECT_EQ(r[2][18], "      <td class=\"cj1\">E&lt;</td>");
    EXPECT_EQ(r[2][12], "      <td class=\"cj3\">C</td>");
}

TEST(DuplicateHtml, MissingTopsAndRecordsReadAsEmpty) {
    nouvellePartie({6}, true);
    tour(unTop("ZOO", 30, 3), {{30, "ZOO"}});
    saisie_duplicate[0].push_back(saisieDP());  // a second round without top
    saisie_duplicate[0].back().score = 12;
    saisie_duplicate[0].back().mot = "AS";
    v_histo.resize(1);
    const auto r = rangees(synthese() + details());
    ASSERT_EQ(r.size(), 2u * 5u);
    EXPECT_EQ(r[3][4], "      <td class=\"ctop\"> 0</td>");
    EXPECT_EQ(r[3][7], "      <td class=\"cj1\"> 12  </td>");
    EXPECT_EQ(r[8][9], "      <td class=\"cj1\"></td>");
}
