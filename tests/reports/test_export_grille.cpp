#include "reports/export_grille.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "lexicon/dico2.h"
#include "reports/export_html.h"
#include "reports/export_html_cadre.h"
#include "support/PartieNeuve.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pagehtml;

class GrilleHtml : public PartieNeuve {
protected:
    // The page the recap writer gives a crossword-grid game.
    static std::string page() {
        params.typePartie = TYPE_PARTIE_GRILLE;
        export_html("grille.html");
        return lireFichier("grille.html");
    }
};

TEST_F(GrilleHtml, GrilleSansValeursEtCasesInutilisees) {
    fixtures::partieNormale();
    dicP.special[1][1] = CASE_NOIRE;
    const std::string p = page();
    verifierPage(p);
    EXPECT_TRUE(contient(p, "</head>\n<body>\n\n<h2 class=\"GrosTitre\">Grille de mots crois\351s \340 th\350me "
                            "g\351n\351r\351e avec DezedizIZIZ</h2>\n"));
    for (const char* absent : {"ShowHide(id)", "Statistiques", "restante", "<span"})
        EXPECT_FALSE(contient(p, absent)) << absent;
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_EQ(compte(p, td), 16 * 16);  // N = 15 and its headings
    EXPECT_TRUE(contient(p, td + ">15</td>\n  </tr>\n  <tr>\n" + td + "> A</td>\n" + td + " bgcolor=\"black\"> </td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"darkorange\">E</td>\n"));
    // 225 cells, 15 tiles: the black square counts as unused.
    EXPECT_TRUE(contient(p, "  </table>\nIl y a 210 cases inutilis\351es<br />\n<!--\n"));
    EXPECT_TRUE(contient(p, "function OpenAll() {\n}\n"));  // no folded block on this page
    // A duplicate game: its players in the summary, no table of words; with no complete round, nothing written.
    fixtures::partieDuplicate();
    const std::string d = page();
    EXPECT_TRUE(contient(d, "<a name=\"sommaire\">Sommaire</a></h3>\n<a href=\"#synthese\">Synth\350se de tous les "
                            "joueurs</a><br/>\n  <a href=\"#dj1\">D\351tail joueur 1: Alice</a><br/>\n"));
    EXPECT_FALSE(contient(d, "name=\"recap\""));
    saisie_duplicate[1].clear();
    ecrireFichier("grille.html", "ancienne");
    EXPECT_EQ(page(), "ancienne");
}

TEST_F(GrilleHtml, TableDesMotsEtDefinitionsDesRubriques) {
    fixtures::partieNormale();
    vdef = {"RESTE", "D'UNE", "PAGE"};  // another page's words are not listed
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Jeu]\nMAISON=demeure <de ville>\n[Autre]\nMER=non\n");
    params.rubriques = {"Jeu", "Autre"};
    params.dicos2.emplace_back();
    params.dicos2.back().nomFichier = "sup.txt";
    params.dicos2.back().lexique.definir({"RELATION"});
    gl_indexDefinitions = {{"MER", "eau / ocean"}, {"MAISON", "jamais lue"}};
    const std::string p = page();
    verifierPage(p);
    EXPECT_TRUE(contient(p, "<a href=\"#recap\">R\351capitulatif</a><br/>\n<a href=\"#dicos\">Dicos utilis\351s</a><br />\n"
                            "<a href=\"#plateau\">Plateau de jeu</a><br/>\n  <h3"));
    const Lignes r = rangees(p);
    ASSERT_GE(r.size(), 7u);
    EXPECT_EQ(r[0], "N\260|Mot|&nbsp;");
    // A human's word shows its dictionaries; a computer's move and the end line show nothing.
    EXPECT_EQ(r[1], "1|MAISON|1");
    EXPECT_EQ(r[2], "2|MeR|&nbsp;");  // no joker brackets in a grid game
    EXPECT_EQ(r[3], "3|RELATION|1,2");
    EXPECT_EQ(r[5], "5|ZOU|");
    EXPECT_EQ(r[6], "6|passe son tour|&nbsp;");
    EXPECT_TRUE(contient(p, "    <tr class=\"cj1\">\n      <td>1</td>\n      <td>MAISON</td>\n      <td>1\n</td>\n"));
    EXPECT_TRUE(contient(p, "    </tbody>\n  </table>\n  <h3"));
    // A rubric of the word's own dictionary wins alone; the others take the definitions index.
    EXPECT_TRUE(contient(p, "de la partie</a></h3>\nMAISON: demeure &lt;de ville&gt;<br />\nMER (1): eau<br />\n"
                            "MER (1): ocean<br />\nRELATION (1,2): ?<br />\n  <h3"));
    fixtures::partieNormale();  // the end line of a finished game shows nothing either
    v_histo.back().joueur = 1;
    v_histo.back().typeCoup = COUP_FIN_PARTIE;
    v_histo.back().coupJoue = "Fin de partie";
    EXPECT_EQ(rangees(page())[7], "7|Fin de partie|&nbsp;");
}

TEST_F(GrilleHtml, GrilleDesParametresAvecCasesNoires) {
    fixtures::partieGrande();
    const std::string p = page();
    verifierPage(p);
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_EQ(compte(p, td), 22 * 22);
    // The last row: VIE, then the black square in the corner.
    EXPECT_TRUE(contient(p, td + "> U</td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"burlywood\">E</td>\n" + td + " bgcolor=\"black\"> </td>\n  </tr>\n  </table>\n"));
    EXPECT_EQ(compte(p, " bgcolor=\"black\"> </td>"), 5);
    // 441 cells, 18 tiles: the 5 black squares count as unused.
    EXPECT_TRUE(contient(p, "  </table>\nIl y a 423 cases inutilis\351es<br />\n"));
}
