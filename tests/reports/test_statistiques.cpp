#include "reports/statistiques.h"

#include "PageHtml.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace pagehtml;

namespace {

std::string tableStats() {
    alimStats();
    std::ostringstream out;
    affStats(out);
    return out.str();
}

// The cells of the row labelled `libelle`, label excluded; empty when absent.
std::vector<std::string> ligneStats(const std::string& page, const std::string& libelle) {
    std::vector<std::string> l = lignes(page);
    std::vector<std::string> cellules;
    for (size_t i = 0; i < l.size(); ++i) {
        if (l[i] != "      <td>" + libelle + "</td>") continue;
        for (size_t j = i + 1; j < l.size() && l[j] != "    </tr>"; ++j) {
            const std::string& c = l[j];
            size_t a = c.find('>') + 1;
            cellules.push_back(c.substr(a, c.rfind("</td>") - a));
        }
    }
    return cellules;
}

using Cellules = std::vector<std::string>;

// J1 human: a top of 20 and a pass; J2 computer: 10 and a whole rack of 64.
void partieNormale() {
    nouvellePartie({0, 6});
    coup(1, "MAISON", "MAISON, AS", 20).sens = 1;
    c_historique& ete = coup(2, "\311T\311", "\311T\311, ET, TE", 10);
    ete.sens = 0;
    ete.scoreMeilleurCoup = 12;
    coup(1, "", "", 0, COUP_PASSE);
    c_historique& tess = coup(2, "ABRITANT", "ABRITANT", 64);
    tess.nbLettresPosees = 7;
    coup(9, "HORS", "HORS", 99);  // a player number no game has: not counted
    coup(0, "", "", 0, COUP_FIN_PARTIE);
}

}  // namespace

TEST(Statistiques, NormalGameColumnsComeFromTheHistory) {
    partieNormale();
    const std::string t = tableStats();
    EXPECT_EQ(t.find("ctop"), std::string::npos);
    EXPECT_TRUE(ligneStats(t, "% / top (partie)").empty());
    EXPECT_TRUE(contientLigne(t, "      <th class=\"cj2\">J2<br />(Excellent)</th>"));
    EXPECT_EQ(ligneStats(t, "nb de tessarels"), (Cellules{"0", "1"}));
    EXPECT_EQ(ligneStats(t, "nb de tops trouv\351s"), (Cellules{"1 / 2", "&nbsp;"}));
    EXPECT_EQ(ligneStats(t, "nb de mots satellites"), (Cellules{"1", "2"}));
    EXPECT_EQ(ligneStats(t, "nb de coups horizontaux"), (Cellules{"1", "1"}));
    EXPECT_EQ(ligneStats(t, "nb de coups verticaux"), (Cellules{"0", "1"}));
    EXPECT_EQ(ligneStats(t, "valeur maximum"), (Cellules{"20 pts", "64 pts"}));
    EXPECT_EQ(ligneStats(t, "valeur minimum"), (Cellules{"0 pt ", "10 pts"}));
    EXPECT_EQ(ligneStats(t, "valeur moyenne"), (Cellules{"10,00 pts", "37,00 pts"}));
    // Lengths are measured accent-free; empty rows are left out.
    EXPECT_EQ(ligneStats(t, "nb de mots de 2 lettres"), (Cellules{"1", "2"}));
    EXPECT_EQ(ligneStats(t, "nb de mots de 3 lettres"), (Cellules{"0", "1"}));
    EXPECT_EQ(ligneStats(t, "nb de mots de 6 lettres"), (Cellules{"1", "0"}));
    EXPECT_EQ(ligneStats(t, "nb de mots de 8 lettres"), (Cellules{"0", "1"}));
    EXPECT_TRUE(ligneStats(t, "nb de mots de 4 lettres").empty());
    EXPECT_EQ(statistiques[1].nbCoups, 2);
    EXPECT_EQ(statistiques[2].nbCoups, 2);
}

TEST(Statistiques, PlayerWithoutMoveAndFormatLeftOnTheStream) {
    nouvellePartie({0, 0});
    coup(1, "MAISON", "MAISON", 1234);
    alimStats();
    std::ostringstream out;
    affStats(out);
    const std::string t = out.str();
    EXPECT_EQ(ligneStats(t, "valeur minimum"), (Cellules{"1234 pts", "999999 pts"}));
    EXPECT_EQ(ligneStats(t, "valeur maximum"), (Cellules{"1234 pts", "0 pt "}));
    EXPECT_EQ(ligneStats(t, "valeur moyenne"), (Cellules{"1.234,00 pts", "0,00 pt "}));
    EXPECT_EQ(ligneStats(t, "nb de tops trouv\351s"), (Cellules{"1 / 1", "0 / 0"}));
    // Numbers written after the averages keep the grouped format.
    out.str("");
    out << 1234;
    EXPECT_EQ(out.str(), "1.234");
}

TEST(Statistiques, DuplicateGameHasATopColumn) {
    nouvellePartie({0, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    saisieDP t1 = unTop("CHATON", 30, 7);
    t1.mots = "CHATON, AH";
    tour(t1, {{30, "CHATON"}, {30, "CHATON"}});
    saisieDP t2 = unTop("MER", 20, 3);
    t2.horizontal = false;
    tour(t2, {{10, "ME"}, {20, "MER"}});
    tour(unTop("OS", 10, 2), {{0, ""}, {10, "SO"}});
    const std::string t = tableStats();
    EXPECT_TRUE(contientLigne(t, "      <th class=\"ctop\">Top</th>"));
    EXPECT_EQ(ligneStats(t, "nb de tops trouv\351s"), (Cellules{"3", "1 / 3", "3 / 3"}));
    EXPECT_EQ(ligneStats(t, "nb de tessarels"), (Cellules{"1", "0", "0"}));
    EXPECT_EQ(ligneStats(t, "nb de coups horizontaux"), (Cellules{"2", "2", "3"}));
    EXPECT_EQ(ligneStats(t, "nb de coups verticaux"), (Cellules{"1", "0", "0"}));
    EXPECT_EQ(ligneStats(t, "valeur minimum"), (Cellules{"10 pts", "0 pt ", "10 pts"}));
    EXPECT_EQ(ligneStats(t, "valeur moyenne"), (Cellules{"20,00 pts", "13,33 pts", "20,00 pts"}));
    EXPECT_EQ(ligneStats(t, "% / top (partie)"), (Cellules{"100,00 %", "66,67 %", "100,00 %"}));
    EXPECT_EQ(ligneStats(t, "nb de mots satellites"), (Cellules{"1", "0", "0"}));
    EXPECT_EQ(ligneStats(t, "nb de mots de 6 lettres"), (Cellules{"1", "1", "1"}));
    EXPECT_EQ(statistiques[0].total, 60);
    EXPECT_EQ(statistiques[1].total, 40);
}

TEST(Statistiques, DuplicateEdgesDivideByNothing) {
    nouvellePartie({6, 6}, true);
    // Tops that all scored 0, and one more complete round than tops.
    tour(unTop("", 0, 0), {{0, ""}, {0, ""}});
    saisie_duplicate[0].push_back(saisieDP());
    saisie_duplicate[1].push_back(saisieDP());
    const std::string t = tableStats();
    EXPECT_EQ(ligneStats(t, "% / top (partie)"), (Cellules{"0,00 %", "0,00 %", "0,00 %"}));
    EXPECT_EQ(ligneStats(t, "valeur moyenne"), (Cellules{"0,00 pt ", "0,00 pt ", "0,00 pt "}));
    EXPECT_EQ(statistiques[0].nbTopsTrouves, 1);

    // No complete round at all.
    nouvellePartie({6}, true);
    const std::string vide = tableStats();
    EXPECT_EQ(ligneStats(vide, "valeur moyenne"), (Cellules{"0,00 pt ", "0,00 pt "}));
}

TEST(Statistiques, TestModeCountsTheHistoryWithoutTops) {
    nouvellePartie({6, 6}, true);
    partie.modeTest = 1;
    coup(1, "MAISON", "MAISON", 20);
    coup(2, "ETE", "ETE", 8);
    const std::string t = tableStats();
    EXPECT_EQ(t.find("ctop"), std::string::npos);
    EXPECT_TRUE(ligneStats(t, "nb de tops trouv\351s").empty());
    EXPECT_TRUE(ligneStats(t, "% / top (partie)").empty());
    EXPECT_EQ(ligneStats(t, "valeur maximum"), (Cellules{"20 pts", "8 pts"}));
}
