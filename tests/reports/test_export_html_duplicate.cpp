#include "reports/export_html_duplicate.h"

#include "PageHtml.h"
#include "reports/export_html_cadre.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

using namespace pagehtml;

namespace {

// J1 human, J2 computer level 2, J3 level 6; three rounds, the last one ending
// the game. J1 places his whole rack for the top in round 1.
class DuplicateHtml : public PartieNeuve {
protected:
    void SetUp() override {
        PartieNeuve::SetUp();
        nouvellePartie({0, 2, 6}, true);
        partie.saisieDuplicateEnCours = 1;
        tour("CHATON", 30, 7, {{30, "CHATON"}, {12, "CHAT"}, {0, ""}}, "CHATON, AH");
        tour("MaRE", 20, 4, {{-1, "xyz"}, {20, "MARE"}, {20, "maRE"}});
        tour("fIN", 0, 3, {{0, ""}, {0, ""}, {0, ""}});
        v_histo[0].texteTops = "[CHATON H8][CHATON 8H]";
        v_histo[2].typeCoup = COUP_FIN_DUPLICATE;
        saisie_duplicate[0][0].nbLettresPosees = 7;
        saisie_duplicate[0][0].mots = "CHATON, AH, Oe";
    }
};

}  // namespace

TEST_F(DuplicateHtml, SyntheseAuxCotesDuTop) {
    const std::string s = ecrit(affSyntheseDuplicate);
    EXPECT_EQ(s.substr(0, s.find("  <table>")),
              "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"synthese\">Synth\350se de tous les joueurs</a></h3>\n"
              "#: le top est trouv\351<br/>\n*: les 7 lettres sont plac\351es (bonus de 50 points)<br/><br/>\n");
    const Lignes r = rangees(s);
    ASSERT_EQ(r.size(), 6u);  // two head rows, three rounds, the foot
    EXPECT_EQ(r[0], "N\260|Tirage|Top|J1|J2<br />(Mot de 6 lettres maxi)|J3<br />(Excellent)");
    EXPECT_EQ(r[1], "R\351f.|Mot|Sc.|R\351f.|Mot|Sc.|R\351f.|Mot|Sc.|R\351f.|Mot|Sc.");
    // "# " ends a score equal to the top's, "* " opens a whole rack; no joker marks without a valid move.
    EXPECT_EQ(r[2], "1|ABCDEFG|H8|CHATON|* 30|H4|CHATON|* 30 # |H4|CHAT| 12  | || 0  ");
    EXPECT_EQ(r[3], "2|ABCDEFG|H8|M(A)RE| 20| |xyz| -1  |H4|MARE| 20 # |H4|(M)(A)RE| 20 # ");
    EXPECT_EQ(r[4], "3|ABCDEFG|H8|fIN| 0| || 0 # | || 0 # | || 0 # ") << "the last round shows its top as stored";
    EXPECT_EQ(r[5], "&nbsp;|Total: 50|&nbsp;|Total: 29|&nbsp;|Total: 32|&nbsp;|Total: 20");
    EXPECT_TRUE(contient(s, "      <td colspan=3>&nbsp;</td>\n      <td colspan=2 class=\"ctop\">Total: 50</td>\n"
                            "      <td>&nbsp;</td>\n      <td colspan=2 class=\"cj1\">Total: 29</td>\n"));
    EXPECT_TRUE(contient(s, "      <td class=\"cj2\">CHAT</td>\n      <td class=\"cj2\"> 12  </td>\n"));
}

TEST_F(DuplicateHtml, DetailDeChaqueJoueurFaceAuTop) {
    vdef = {"FIN"};  // words already listed are not listed again
    const std::string s = ecrit(affDetailsJoueursDuplicate);
    verifierPage(s);
    EXPECT_TRUE(contient(s, "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dj1\">D\351tail joueur 1: J1</a></h3>\n"
                            "  <table>\n"));
    EXPECT_TRUE(contient(s, "name=\"dj2\">D\351tail joueur 2: J2 (niveau: Mot de 6 lettres maxi)</a></h3>\n"));
    const Lignes r = rangees(s);
    ASSERT_EQ(r.size(), 3u * 6u);  // per player: two head rows, three rounds, the foot
    EXPECT_EQ(r[0], "N\260|Tirage|Joueur|Top");
    EXPECT_EQ(r[1], "R\351f.|Mot|Sc.|Raccord(s)|R\351f.|Mot|Sc.|Raccord(s)|Nb Tops");
    EXPECT_EQ(r[2], "1|ABCDEFG|H4|CHATON|* 30 # |AH, O(E)|H8|CHATON|* 30|AH|"
                    "<a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 1</a>"
                    "<div id=\"affcach_1\" style=\"display:none;\">[CHATON H8]<br/>[CHATON 8H]<br/></div>");
    EXPECT_EQ(r[3], "2|ABCDEFG| |xyz| -1  ||H8|M(A)RE| 20||1");
    EXPECT_EQ(r[4], "3|ABCDEFG| || 0 # ||H8|fIN| 0||1");
    EXPECT_EQ(r[5], "&nbsp;|Total: 29|&nbsp;|Total: 50|&nbsp;");
    EXPECT_EQ(r[8], "1|ABCDEFG|H4|CHAT| 12  ||H8|CHATON|* 30|AH|"
                    "<a class=\"affcach\" onclick=\"ShowHide('affcach_2')\">Afficher : 1</a>"
                    "<div id=\"affcach_2\" style=\"display:none;\">[CHATON H8]<br/>[CHATON 8H]<br/></div>");
    EXPECT_EQ(r[17], "&nbsp;|Total: 20|&nbsp;|Total: 50|&nbsp;") << "each player's totals start at 0";
    EXPECT_EQ(gi_nb_affcach, 3u);
    // The words of the tops, then those of the entries that scored.
    EXPECT_EQ(vdef, (Lignes{"FIN", "CHATON", "AH", "OE", "MARE", "CHAT"}));
}

TEST_F(DuplicateHtml, TopsEtEnregistrementsManquantsLusVides) {
    nouvellePartie({6}, true);
    tour("ZOO", 30, 3, {{30, "ZOO"}});
    tour("AS", 12, 2, {{12, "AS"}});
    result_best.pop_back();  // the second round has neither top nor record
    v_histo.resize(1);
    v_histo.shrink_to_fit();  // nothing to read past the last record
    const Lignes r = rangees(ecrit(affSyntheseDuplicate) + ecrit(affDetailsJoueursDuplicate));
    ASSERT_EQ(r.size(), 2u * 5u);
    EXPECT_EQ(r[3], "2|||| 0|H4|AS| 12  ");
    EXPECT_EQ(r[8], "2||H4|AS| 12  |||| 0||0");
    EXPECT_EQ(vdef, (Lignes{"ZOO", "AS"}));
}
