#include "reports/export_grille.h"

#include "PageHtml.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "support/TempDir.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

using namespace pagehtml;

class GrilleHtml : public PartieNeuve {};

TEST_F(GrilleHtml, GrilleSansValeursEtCasesInutilisees) {
    fixtures::partieNormale();
    params.typePartie = TYPE_PARTIE_GRILLE;
    dicP.special[1][1] = CASE_NOIRE;
    export_grille_mots_croises_html("grille.html");
    const std::string p = lireFichier("grille.html");
    verifierPage(p);
    EXPECT_TRUE(contient(p, "\">Grille de mots crois\351s \340 th\350me g\351n\351r\351e avec DezedizIZIZ</h2>\n"));
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_EQ(compte(p, td), 16 * 16);  // N = 15 and its headings
    EXPECT_FALSE(contient(p, "<span"));
    EXPECT_TRUE(contient(p, td + ">15</td>\n  </tr>\n  <tr>\n" + td + "> A</td>\n" + td + " bgcolor=\"black\"> </td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"darkorange\">E</td>\n"));
    // 225 cells, 15 tiles: the black square counts as unused.
    EXPECT_TRUE(contient(p, "\nIl y a 210 cases inutilis\351es<br />\n"));
}
