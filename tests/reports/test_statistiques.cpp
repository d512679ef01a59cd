#include "reports/statistiques.h"

#include "PageHtml.h"

#include <gtest/gtest.h>

using namespace pagehtml;

namespace {

// Rows expected in a statistics table: label, then the values of the cells
// joined by "|" ("" when the row must be absent).
using Attendu = std::vector<std::pair<std::string, std::string>>;

void verifierTable(const Attendu& attendu, std::ostringstream& out) {
    alimStats();
    affStats(out);
    const std::string t = out.str();
    for (const auto& a : attendu) {
        std::string v;
        for (const Lignes& r : rangees(t))
            if (!r.empty() && r[0] == "      <td>" + a.first + "</td>") v = valeurs(Lignes(r.begin() + 1, r.end()));
        EXPECT_EQ(v, a.second) << a.first;
    }
}

void verifierTable(const Attendu& attendu) {
    std::ostringstream out;
    verifierTable(attendu, out);
}

}  // namespace

TEST(Statistiques, NormalGameColumnsComeFromTheHistory) {
    nouvellePartie({0, 6});
    coup(1, "MAISON", "MAISON, AS", 20);
    c_historique& ete = coup(2, "\311T\311", "\311T\311, ET, TE", 10);
    ete.sens = 0;
    ete.scoreMeilleurCoup = 12;
    coup(1, "", "", 0, COUP_PASSE);
    coup(2, "ABRITANT", "ABRITANT", 64).nbLettresPosees = 7;
    coup(9, "HORS", "HORS", 99);  // a player number no game has: not counted
    coup(0, "", "", 0, COUP_FIN_PARTIE);
    verifierTable({{"nb de tessarels", "0|1"},
                   {"nb de tops trouv\351s", "1 / 2|&nbsp;"},
                   {"nb de mots satellites", "1|2"},
                   {"nb de coups horizontaux", "1|1"},
                   {"nb de coups verticaux", "0|1"},
                   {"valeur maximum", "20 pts|64 pts"},
                   {"valeur minimum", "0 pt |10 pts"},
                   {"valeur moyenne", "10,00 pts|37,00 pts"},
                   {"% / top (partie)", ""},
                   // Lengths are measured accent-free; empty rows are left out.
                   {"nb de mots de 2 lettres", "1|2"},
                   {"nb de mots de 3 lettres", "0|1"},
                   {"nb de mots de 4 lettres", ""},
                   {"nb de mots de 8 lettres", "0|1"}});
    std::ostringstream out;
    affStats(out);
    EXPECT_FALSE(contient(out.str(), "ctop"));
    EXPECT_TRUE(contientLigne(out.str(), "      <th class=\"cj2\">J2<br />(Excellent)</th>"));
}

TEST(Statistiques, PlayerWithoutMoveAndFormatLeftOnTheStream) {
    nouvellePartie({0, 0});
    coup(1, "MAISON", "MAISON", 1234);
    std::ostringstream out;
    verifierTable({{"valeur minimum", "1234 pts|999999 pts"},
                   {"valeur maximum", "1234 pts|0 pt "},
                   {"valeur moyenne", "1.234,00 pts|0,00 pt "},
                   {"nb de tops trouv\351s", "1 / 1|0 / 0"}},
                  out);
    out.str("");
    out << 1234;  // numbers written later on the page keep the grouped format
    EXPECT_EQ(out.str(), "1.234");
}

TEST(Statistiques, DuplicateGameHasATopColumn) {
    nouvellePartie({0, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    tour(unTop("CHATON", 30, 7, "CHATON, AH"), {{30, "CHATON"}, {30, "CHATON"}});
    saisieDP t2 = unTop("MER", 20, 3);
    t2.horizontal = false;
    tour(t2, {{10, "ME"}, {20, "MER"}});
    tour(unTop("OS", 10, 2), {{0, ""}, {10, "SO"}});
    verifierTable({{"nb de tops trouv\351s", "3|1 / 3|3 / 3"},
                   {"nb de tessarels", "1|0|0"},
                   {"nb de coups horizontaux", "2|2|3"},
                   {"nb de coups verticaux", "1|0|0"},
                   {"valeur minimum", "10 pts|0 pt |10 pts"},
                   {"valeur moyenne", "20,00 pts|13,33 pts|20,00 pts"},
                   {"% / top (partie)", "100,00 %|66,67 %|100,00 %"},
                   {"nb de mots satellites", "1|0|0"},
                   {"nb de mots de 6 lettres", "1|1|1"}});
    EXPECT_EQ(statistiques[1].total, 40);
}

TEST(Statistiques, EmptyDivisorsShowZero) {
    // Tops that all scored 0, and one more complete round than tops.
    nouvellePartie({6, 6}, true);
    tour(unTop("", 0, 0), {{0, ""}, {0, ""}});
    saisie_duplicate[0].emplace_back();
    saisie_duplicate[1].emplace_back();
    verifierTable({{"% / top (partie)", "0,00 %|0,00 %|0,00 %"},
                   {"valeur moyenne", "0,00 pt |0,00 pt |0,00 pt "},
                   {"nb de tops trouv\351s", "1|0 / 1|0 / 1"}});
    // No complete round at all.
    nouvellePartie({6}, true);
    verifierTable({{"valeur moyenne", "0,00 pt |0,00 pt "}});
}

TEST(Statistiques, TestModeCountsTheHistoryWithoutTops) {
    nouvellePartie({6, 6}, true);
    partie.modeTest = 1;
    coup(1, "MAISON", "MAISON", 20);
    coup(2, "ETE", "ETE", 8);
    verifierTable({{"nb de tops trouv\351s", ""}, {"% / top (partie)", ""}, {"valeur maximum", "20 pts|8 pts"}});
    std::ostringstream out;
    affStats(out);
    EXPECT_FALSE(contient(out.str(), "ctop"));
}
