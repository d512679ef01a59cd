#include "reports/statistiques.h"

#include "PageHtml.h"
#include "engine/chargerpeau2.h"
#include "engine/params.h"
#include "reports/export_html_cadre.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

using namespace pagehtml;

namespace {

// The next history record, without touching the board.
c_historique& coup(short joueur, const std::string& mot, const std::string& mots, short score,
                   short typeCoup = COUP_NORMAL) {
    c_historique& h = v_histo.back();
    h.joueur = joueur;
    h.coupJoue = mot;
    h.mots = mots;
    h.score = h.scoreMeilleurCoup = score;
    h.typeCoup = typeCoup;
    h.sens = 1;
    h.nbLettresPosees = static_cast<short>(mot.size());
    ajouterEnregHisto();
    return v_histo[v_histo.size() - 2];
}

// Each expected row: its label and its cells joined by "|" ("" when the row must be absent).
void verifierTable(const std::vector<std::pair<std::string, std::string>>& attendu) {
    alimStats();
    const Lignes rangs = rangees(ecrit(affStats));
    for (const auto& a : attendu) {
        std::string v;
        for (const std::string& r : rangs)
            if (r.rfind(a.first + "|", 0) == 0) v = r.substr(a.first.size() + 1);
        EXPECT_EQ(v, a.second) << a.first;
    }
}

}  // namespace

class Statistiques : public PartieNeuve {};

TEST_F(Statistiques, PartieNormaleLueDansLHistorique) {
    nouvellePartie({0, 6, 0});  // J3 has no move
    coup(1, "MAISON", "MAISON, AS", 20);
    coup(2, "\311T\311", "\311T\311, ET, TE", 10).scoreMeilleurCoup = 12;  // not a top
    coup(1, "", "", 0, COUP_PASSE);
    c_historique& abritant = coup(2, "ABRITANT", "ABRITANT", 64);
    abritant.nbLettresPosees = 7;
    abritant.sens = 0;
    coup(9, "HORS", "HORS", 99);  // a player number no game has: not counted
    coup(0, "", "", 0, COUP_FIN_PARTIE);
    verifierTable({{"nb de tessarels", "0|1|0"},
                   {"nb de tops trouv\351s", "1 / 2|&nbsp;|0 / 0"},
                   {"nb de mots satellites", "1|2|0"},
                   {"nb de coups horizontaux", "1|1|0"},
                   {"nb de coups verticaux", "0|1|0"},
                   {"valeur maximum", "20 pts|64 pts|0 pt "},
                   {"valeur minimum", "0 pt |10 pts|999999 pts"},
                   {"valeur moyenne", "10,00 pts|37,00 pts|0,00 pt "},
                   {"% / top (partie)", ""},
                   // Lengths are measured accent-free; empty rows are left out.
                   {"nb de mots de 3 lettres", "0|1|0"},
                   {"nb de mots de 4 lettres", ""},
                   {"nb de mots de 8 lettres", "0|1|0"}});
    partie.joueurs[1].type = 8;  // every level is named, the last one too
    EXPECT_TRUE(contient(ecrit(affStats), "<th class=\"cj2\">J2<br />(Valeur de 15 points maxi)</th>\n"));
}

TEST_F(Statistiques, DuplicateAvecSaColonneTopEtDiviseursNuls) {
    nouvellePartie({0, 6}, true);
    partie.saisieDuplicateEnCours = 1;
    tour("CHATON", 30, 7, {{30, "CHATON"}, {30, "CHATON"}}, "CHATON, AH");
    tour("MER", 20, 3, {{10, "ME"}, {20, "MER"}});
    tour("OS", 10, 2, {{0, ""}, {10, "SO"}});
    result_best[2].horizontal = saisie_duplicate[1][2].horizontal = false;
    verifierTable({{"nb de tessarels", "1|0|0"},
                   {"nb de tops trouv\351s", "3|1 / 3|3 / 3"},
                   {"nb de mots satellites", "1|0|0"},
                   {"nb de coups horizontaux", "2|2|2"},
                   {"nb de coups verticaux", "1|0|1"},
                   {"valeur maximum", "30 pts|30 pts|30 pts"},
                   // The tops count the words of the round's record, the players those of their entries.
                   {"nb de mots de 2 lettres", "2|1|1"},
                   {"nb de mots de 3 lettres", "1|0|1"},
                   {"nb de mots de 6 lettres", "1|1|1"},
                   {"valeur minimum", "10 pts|0 pt |10 pts"},
                   {"valeur moyenne", "20,00 pts|13,33 pts|20,00 pts"},
                   {"% / top (partie)", "100,00 %|66,67 %|100,00 %"}});
    // Each column in its player's colour, the computers with their level.
    const std::string table = ecrit(affStats);
    EXPECT_TRUE(contient(table, "      <th class=\"ctop\">Top</th>\n      <th class=\"cj1\">J1</th>\n"
                                "      <th class=\"cj2\">J2<br />(Excellent)</th>\n    </tr>\n"));
    EXPECT_TRUE(contient(table, "      <td class=\"ctop\">1</td>\n      <td class=\"cj1\">0</td>\n"
                                "      <td class=\"cj2\">0</td>\n"));
    // Tops that all scored 0, and one more complete round than tops.
    nouvellePartie({6, 6}, true);
    tour("", 0, 0, {{0, ""}, {0, ""}}, "ANTICONSTITUTIONNELLES, ANTICONSTITUTIONNELLESX");
    saisie_duplicate[0].emplace_back();
    saisie_duplicate[1].emplace_back();
    verifierTable({{"% / top (partie)", "0,00 %|0,00 %|0,00 %"},
                   {"valeur moyenne", "0,00 pt |0,00 pt |0,00 pt "},
                   // 22 letters get a row, 23 and more are counted nowhere.
                   {"nb de mots de 22 lettres", "1|0|0"},
                   {"nb de mots de 23 lettres", ""}});
    nouvellePartie({6}, true);  // no complete round at all
    verifierTable({{"valeur moyenne", "0,00 pt |0,00 pt "}});
    nouvellePartie({});  // no player, no column
    alimStats();
    EXPECT_EQ(rangees(ecrit(affStats)), (Lignes{"&nbsp;", "nb de tessarels", "nb de tops trouv\351s",
                                                "nb de mots satellites", "nb de coups horizontaux",
                                                "nb de coups verticaux", "valeur maximum", "valeur minimum",
                                                "valeur moyenne"}));
}

TEST_F(Statistiques, LeFluxGroupeLesNombresMaisPasLesIdentifiants) {
    parametresParDefaut();
    params.bonus[5] = 1000;
    gi_nb_affcach = 1000;
    // After the statistics the page stream groups digits; block ids must not.
    const std::string p = ecrit(affFinFichier, std::locale(std::locale::classic(), new myPunct));
    EXPECT_TRUE(contient(p, "Bonus pour mots de 5 lettres : 1.000\n-->\n"));
    EXPECT_TRUE(contient(p, "ShowHide('affcach_1000');\n}\n</script>\n\n</body>\n</html>\n"));
    EXPECT_EQ(p.substr(4, p.find("-->") - 4).find("--"), std::string::npos) << "nothing ends the comment early";
}
