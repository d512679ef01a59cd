#include "reports/export_html.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/arbitrage.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "reports/export_html_cadre.h"
#include "support/LimiteEcriture.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

using namespace pagehtml;

class ExportHtml : public PartieNeuve {};

TEST_F(ExportHtml, PageDeLaPartieNormale) {
    fixtures::partieNormale();
    vdef = {"MOT", "D'UNE", "AUTRE", "PAGE"};
    const std::string p = page();
    verifierPage(p);
    // A browser or an XML reader learns the page is Latin-1 before its first accented letter.
    EXPECT_EQ(p.substr(0, p.find("    <title>")),
              "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n<html xmlns=\"http://www.w3.org/1999/xhtml\" "
              "xml:lang=\"fr\">\n<head>\n    <meta http-equiv=\"content-Type\" content=\"text/html; charset=iso-8859-1\" />\n");
    EXPECT_EQ(compte(p, "charset="), 1);
    dansLOrdre(p, {"    <title>R\351capitulatif de partie</title>\n", "</style>\n</head>\n<body>\n<script",
                   "function ShowHide(id) {", "</script>\n\n<h2", "name=\"sommaire\"", "name=\"recap\"", "name=\"dicos\"",
                   "name=\"definitions\"", "name=\"plateau\"", "lettres restantes", "name=\"distrib\"",
                   "name=\"statistiques\"", "<!--\ntype choix", "function OpenAll", "</body>\n</html>\n"});
    EXPECT_TRUE(contient(p, "\n<h2 class=\"GrosTitre\">R\351capitulatif d'une partie  libre jou\351e avec DezedizIZIZ"
                            "</h2>\n<h3 class=\"GrosTitre\"><a name=\"sommaire\">Sommaire</a></h3>\n<a href=\"#recap\">"
                            "R\351capitulatif</a><br/>\n<a href=\"#dicos\">Dico utilis\351</a><br />\n<a href=\"#plateau\">"
                            "Plateau de jeu</a><br/>\n<a href=\"#distrib\">Distribution des lettres</a><br/>\n"
                            "<a href=\"#statistiques\">Statistiques</a><br/>\n"));
    EXPECT_TRUE(contient(p, "Joueurs:<br />\n1 - 86 pts - Alice<br />\n2 - 5 pts - Ordi (niveau: Excellent)<br />\n"));
    const Lignes r = rangees(p);
    ASSERT_GE(r.size(), 8u);
    EXPECT_EQ(r[0], "N\260|J|Tirage|Solution|R\351f.|Sc.|Raccord(s)|Top|Nb Tops");
    EXPECT_EQ(r[1], "1|1|AIMNOSE|MAISON|H4| 22||MAISON H4 (22)|"
                    "<a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 2 (* 2)<br/></a>"
                    "<div id=\"affcach_1\" style=\"display:none;\">[MAISON H4]<br/>[MAISON H5]<br/></div>");
    // A computer's move has no count; the whole rack shows "* "; the move to come has no row.
    EXPECT_EQ(r[2], "2|2|ERTUVWX|M(E)R|4H| 5|||&nbsp;");
    EXPECT_EQ(r[3], "3|1|AEILNOT|RELATION|J4|* 64||RELATION J4 (64)|1<br/>");
    EXPECT_EQ(r[4], "4|2|TUVWXYZ|echange 'VWX'|| 0|||&nbsp;");
    EXPECT_EQ(r[5], "5|1|BCDEFGH|ZOU|| 0|||0<br/>");
    EXPECT_EQ(r[7], "&nbsp;|Total: 91|&nbsp;");
    EXPECT_TRUE(contient(p, "    <tr class=\"cj2\">\n      <td>6</td>\n"));
    EXPECT_TRUE(contient(p, "</table>\n*: les 7 lettres sont plac\351es (bonus de 50 points)<br/>\n(* 2): pour la "
                            "verticalit\351 des solutions lors de 1er coup (ce qui double le nb de solutions)<br/>\n"));
    EXPECT_EQ(vdef, (Lignes{"MAISON", "MER", "RELATION"}));
    EXPECT_EQ(page(), p) << "each page numbers its folded blocks from 1 again";
    v_histo[0].joueur = 4;
    v_histo[1].joueur = 5;       // players 5 to 8 have no row colour
    partie.joueurs[0].type = 3;  // computers of every level, first player included
    partie.joueurs[1].type = 1;
    const std::string q = page();
    EXPECT_TRUE(contient(q, "2 - 5 pts - Ordi (niveau: Mot de 5 lettres maxi)<br />\n"));
    EXPECT_EQ(rangees(q)[3], "3|1|AEILNOT|RELATION|J4|* 64||RELATION J4 (64)|&nbsp;");
    EXPECT_TRUE(contient(q, "    <tr class=\"cj4\">\n      <td>1</td>\n      <td>4</td>\n"));
    EXPECT_TRUE(contient(q, "    <tr>\n      <td>2</td>\n      <td>5</td>\n"));
    fixtures::partieResolution();
    EXPECT_TRUE(contient(page(), "Joueur:<br />\n1 - 26 pts - Alice<br />\n  <br />\n"));
}

TEST_F(ExportHtml, LaPartieDuplicateMontreSaSynthesePuisChaqueJoueur) {
    fixtures::partieDuplicate();
    const std::string p = page();
    verifierPage(p);
    dansLOrdre(p, {"<a href=\"#synthese\">Synth\350se de tous les joueurs</a><br/>\n"
                   "  <a href=\"#dj1\">D\351tail joueur 1: Alice</a><br/>\n"
                   "  <a href=\"#dj2\">D\351tail joueur 2: Bruno</a><br/>\n"
                   "  <a href=\"#dj3\">D\351tail joueur 3: Ordi (niveau: Excellent)</a><br/>\n<a href=\"#dicos\">",
                   "name=\"synthese\"", "name=\"dj1\"", "name=\"dj2\"", "name=\"dj3\"", "name=\"dicos\"",
                   "name=\"plateau\"", "name=\"statistiques\"", "% / top (partie)"});
    EXPECT_FALSE(contient(p, "name=\"recap\""));
    EXPECT_EQ(compte(p, "<div id=\"affcach_"), 3) << "the tops of the three rounds, folded in each detail";
}

TEST_F(ExportHtml, TitresEtSectionsSelonLaPartie) {
    const std::string debut = "<h2 class=\"GrosTitre\">R\351capitulatif d'une partie ";
    const struct { void (*preparer)(); const char* suite; } cas[] = {
        {fixtures::partieDuplicate, " duplicate jou\351e avec DezedizIZIZ</h2>\n"},
        {[] { fixtures::partieDuplicate(); partie.partieJoker = 1; }, " duplicate  joker jou\351e avec DezedizIZIZ</h2>\n"},
        {[] { fixtures::partieNormale(); partie.partieJoker = 1; }, " libre jou\351e avec DezedizIZIZ</h2>\n"},
        {[] { fixtures::partieNormale(); params.typePartie = TYPE_PARTIE_THEMATIQUE; },
         " libre \340 th\350me \njou\351e avec DezedizIZIZ</h2>\n"},
        {[] { fixtures::partieDuplicate(); gl_generationParties2 = true; }, " g\351n\351r\351e par DezedizIZIZ</h2>\n"},
    };
    for (const auto& c : cas) {
        gl_generationParties2 = false;
        c.preparer();
        EXPECT_TRUE(contient(page(), debut + c.suite)) << c.suite;
    }
    // A themed batch game: its theme for dictionaries; no player named, the bonus noted first, no count doubled.
    fixtures::partieNormale();
    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    dicP.commentaire = "Les animaux & co";
    gl_generationParties2 = true;
    const std::string p = page();
    EXPECT_TRUE(contient(p, debut + "\340 th\350me \n g\351n\351r\351e par DezedizIZIZ</h2>\n"));
    EXPECT_TRUE(contient(p, "<a href=\"#dicos\">Th\350me utilis\351</a><br />\n<a href=\"#plateau\">"));
    EXPECT_TRUE(contient(p, "name=\"dicos\">Th\350me utilis\351</a></h3>\nLes animaux &amp; co<br /><br />\n"));
    EXPECT_TRUE(contient(p, "name=\"recap\">r\351capitulatif</a></h3>\n*: les 7 lettres sont plac\351es (bonus de 50 "
                            "points)<br/>\n  <br />\n  <table>\n"));
    EXPECT_FALSE(contient(p, "Joueurs:"));
    EXPECT_FALSE(contient(p, "(* 2)"));
    EXPECT_TRUE(contient(p, "  </table>\n  <h3"));
    // A test game: no top column.
    fixtures::partieTest();
    const std::string t = page();
    EXPECT_EQ(rangees(t)[0], "N\260|J|Tirage|Solution|R\351f.|Sc.|Raccord(s)|Nb Tops");
    EXPECT_EQ(rangees(t)[1].substr(0, 28), "1|1|AIMNOSE|MAISON|H4| 22||<");
    EXPECT_TRUE(contient(t, "      <td colspan=2>Total: 92</td>\n      <td colspan=2>&nbsp;</td>\n    </tr>\n"));
    EXPECT_TRUE(contient(t, "Mode test : oui\n"));
    EXPECT_FALSE(contient(t, "nb de tops trouv"));
}

TEST_F(ExportHtml, PiedDePageDesOptions) {
    vect_regpt = {3, 1200};
    params.typeChoixTop = 2;
    params.saisieTirage = true;
    partie.unSeulChevalet = 1;
    partie.modeResolution = 1;
    gl_menus.joker = true;  // the menu says joker, the game does not
    params.bonus[1] = 4;
    params.bonus[15] = 9;
    params.bonus[7] = -2;
    std::string p = ecrit(affFinFichier);
    const size_t v = p.find("Version : ");
    ASSERT_NE(v, std::string::npos);
    EXPECT_EQ(p.substr(0, v),
              "<!--\nRegroupement de dico 1 : 3\nRegroupement de dico 2 : 1200\ntype choix : coef. par lettre\n"
              "Un seul chevalet (normal) : option coch\351e\nSaisie tirage (duplicate) : option coch\351e\n"
              "Valeur facultative (duplicate) : option d\351coch\351e\n"
              "Joker Tessarel : option coch\351e (mais vaut d\351coch\351e)\nDuplicate : option d\351coch\351e\n"
              "R\351solution : option coch\351e\nAfficher toutes les solutions (r\351solution) : option d\351coch\351e\n");
    EXPECT_EQ(p.substr(p.find('\n', v)),
              "\nBonus pour mots de 1 lettres : 4\nBonus pour mots de 15 lettres : 9\n-->\n"
              "<script language=\"javascript\">\nfunction OpenAll() {\n}\n</script>\n\n</body>\n</html>\n");
    for (const auto& [mode, nom] : {std::pair{0, "premier"}, {1, "al\351atoire"}, {3, "nb de raccords"}, {4, ""}}) {
        params.typeChoixTop = static_cast<short>(mode);
        EXPECT_TRUE(contient(ecrit(affFinFichier), std::string("type choix : ") + nom + "\nUn seul")) << mode;
    }
}

TEST_F(ExportHtml, UnePageQuiNePeutEtreEcriteLaisseLAncienne) {
    MessageRecorder rec;
    const std::string ancienne = "<html>ancienne page \351</html>\n";
    ecrireFichier("histo.html", ancienne);
    fixtures::partieCommencee();  // a duplicate game with no complete round has nothing to show
    partie.modeDuplicate = 1;
    export_html("histo.html");
    EXPECT_EQ(lireFichier("histo.html"), ancienne);
    fixtures::partieNormale();
    gl_debugAfficher = true;
    {
        LimiteEcriture disquePlein(16);
        export_html("histo.html");
    }
    EXPECT_EQ(lireFichier("histo.html"), ancienne);
    export_html("absent/histo.html");
    EXPECT_EQ(rec.journal(), (std::vector<std::string>{"Creation du fichier recap. impossible (histo.html)\n",
                                                      "Creation du fichier recap. impossible (absent/histo.html)\n"}));
}
