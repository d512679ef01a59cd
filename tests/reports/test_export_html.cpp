#include "reports/export_html.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "app/messagebox.h"
#include "reports/export_html_cadre.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pagehtml;

namespace {

std::string page(const InTempDir& tmp) {
    export_html(tmp.file("histo.html"));
    return lireFichier(tmp.file("histo.html"));
}

const char* const kTitre = "<h2 class=\"GrosTitre\">R\351capitulatif d'une partie ";

}  // namespace

TEST(ExportHtml, NormalGamePage) {
    InTempDir tmp;
    fixtures::partieNormale();
    const std::string p = page(tmp);
    verifierPage(p);
    EXPECT_EQ(p.rfind("<!DOCTYPE html", 0), 0u);
    EXPECT_TRUE(contient(p, "</head>\n<body>\n<script language=\"javascript\">\nfunction ShowHide(id) {\n"
                            "    status = (document.getElementById(id).style.display == 'none') ? 'block' : 'none';\n"
                            "    document.getElementById(id).style.display = status;\n}\n</script>\n\n" +
                                std::string(kTitre) + " libre jou\351e avec DezedizIZIZ</h2>\n"
                            "<h3 class=\"GrosTitre\"><a name=\"sommaire\">Sommaire</a></h3>\n"
                            "<a href=\"#recap\">R\351capitulatif</a><br/>\n<a href=\"#dicos\">Dico utilis\351</a><br />\n"
                            "<a href=\"#plateau\">Plateau de jeu</a><br/>\n<a href=\"#distrib\">Distribution des lettres"
                            "</a><br/>\n<a href=\"#statistiques\">Statistiques</a><br/>\n"
                            "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"recap\">r\351capitulatif</a></h3>\n"
                            "Joueurs:<br />\n1 - 86 pts - Alice<br />\n2 - 5 pts - Ordi (niveau: Excellent)<br />\n"
                            "  <br />\n  <table>\n"));
    const auto r = rangees(p);
    ASSERT_GE(r.size(), 8u);
    EXPECT_EQ(valeurs(r[0]), "N\260|J|Tirage|Solution|R\351f.|Sc.|Raccord(s)|Top|Nb Tops");
    EXPECT_EQ(r[0][7], "      <th style=\"cursor: pointer; cursor: hand;\" onclick=\"OpenAll()\">Top</th>");
    EXPECT_EQ(valeurs(r[1]), "1|1|AIMNOSE|MAISON|H4| 22||MAISON H4 (22)|"
                             "<a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 2 (* 2)<br/></a>"
                             "<div id=\"affcach_1\" style=\"display:none;\">[MAISON H4]<br/>[MAISON H5]<br/></div>");
    EXPECT_TRUE(contient(p, "    <tr class=\"cj1\">\n      <td>1</td>\n"));
    EXPECT_TRUE(contient(p, "    <tr class=\"cj2\">\n      <td>2</td>\n"));
    // A computer's move has no count; the whole rack shows "* "; " (* 2)" only on the first row.
    EXPECT_EQ(valeurs(r[2]), "2|2|ERTUVWX|M(E)R|4H| 5|||&nbsp;");
    EXPECT_EQ(valeurs(r[3]), "3|1|AEILNOT|RELATION|J4|* 64||RELATION J4 (64)|1<br/>");
    EXPECT_EQ(valeurs(r[4]), "4|2|TUVWXYZ|echange 'VWX'|| 0|||&nbsp;");
    EXPECT_EQ(valeurs(r[5]), "5|1|BCDEFGH|ZOU|| 0|||0<br/>");
    EXPECT_EQ(valeurs(r[6]), "6|2|TUABCDE|passe son tour|| 0|||&nbsp;");
    // No row for the record of the move to come; the foot, then the notes.
    EXPECT_TRUE(contient(p, "    </tbody>\n    <tfoot>\n    <tr>\n      <td colspan=4>&nbsp;</td>\n"
                            "      <td colspan=2>Total: 91</td>\n      <td colspan=3>&nbsp;</td>\n    </tr>\n    </tfoot>\n"
                            "  </table>\n*: les 7 lettres sont plac\351es (bonus de 50 points)<br/>\n(* 2): pour la "
                            "verticalit\351 des solutions lors de 1er coup (ce qui double le nb de solutions)<br/>\n"));
    EXPECT_EQ(vdef, (Lignes{"MAISON", "MER", "RELATION"}));
    EXPECT_TRUE(contientLigne(p, "MAISON: ?<br />"));
    // Sections in page order.
    size_t pos = 0;
    for (const char* s : {"name=\"recap\"", "name=\"dicos\"", "name=\"definitions\"", "name=\"plateau\"",
                          "lettres restantes: ", "name=\"distrib\"", "name=\"statistiques\"", "\n<!--\n"}) {
        EXPECT_GT(p.find(s), pos) << s;
        pos = p.find(s);
    }
    // Each page numbers its folded blocks from 1 again.
    EXPECT_EQ(page(tmp), p);
    EXPECT_EQ(gi_nb_affcach, 1u);
}

TEST(ExportHtml, DataTextsAreEscapedMarkupIsNot) {
    InTempDir tmp;
    fixtures::partieNormale();
    partie.joueurs[0].nom = "<b>Al & co</b>";
    v_histo[0].texteTops = "[M<A> H4][&]";
    v_histo[3].coupJoue = "echange <VWX>";
    const std::string p = page(tmp);
    verifierPage(p);
    EXPECT_FALSE(contient(p, "<b>"));
    EXPECT_TRUE(contientLigne(p, "1 - 86 pts - &lt;b&gt;Al &amp; co&lt;/b&gt;<br />"));
    EXPECT_TRUE(contient(p, "[M&lt;A&gt; H4]<br/>[&amp;]<br/></div>"));
    EXPECT_TRUE(contientLigne(p, "      <td>echange &lt;VWX&gt;</td>"));
    EXPECT_TRUE(contientLigne(p, "      <th class=\"cj1\">&lt;b&gt;Al &amp; co&lt;/b&gt;</th>"));
}

TEST(ExportHtml, DuplicateGameWithoutCompleteRoundLeavesTheOldPage) {
    InTempDir tmp;
    const std::string ancienne = "<html>ancienne page \351</html>\n";
    ecrireFichier(tmp.file("histo.html"), ancienne);
    fixtures::partieCommencee();
    partie.modeDuplicate = 1;
    export_html(tmp.file("histo.html"));
    EXPECT_EQ(lireFichier(tmp.file("histo.html")), ancienne);
    EXPECT_EQ(std::filesystem::directory_iterator(tmp.dir().path())->path().filename(), "histo.html");

    // The same game in test mode has its recap table.
    partie.modeTest = 1;
    const std::string p = page(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, "name=\"recap\""));
    EXPECT_TRUE(contientLigne(p, std::string(kTitre) + " duplicate jou\351e avec DezedizIZIZ</h2>"));
}

TEST(ExportHtml, DuplicateGamePage) {
    InTempDir tmp;
    fixtures::partieDuplicate();
    v_histo[2].typeCoup = COUP_FIN_DUPLICATE;
    result_best[2].mot = "ReLATION";
    partie.partieJoker = 1;
    const std::string p = page(tmp);
    verifierPage(p);
    EXPECT_TRUE(contientLigne(p, std::string(kTitre) + " duplicate  joker jou\351e avec DezedizIZIZ</h2>"));
    EXPECT_TRUE(contient(p, "<a href=\"#synthese\">Synth\350se de tous les joueurs</a><br/>\n"
                            "  <a href=\"#dj1\">D\351tail joueur 1: Alice</a><br/>\n"
                            "  <a href=\"#dj2\">D\351tail joueur 2: Bruno</a><br/>\n"
                            "  <a href=\"#dj3\">D\351tail joueur 3: Ordi (niveau: Excellent)</a><br/>\n"
                            "<a href=\"#dicos\">"));
    EXPECT_FALSE(contient(p, "name=\"recap\""));
    // Three complete rounds in the synthesis and each detail; the fourth is still open.
    EXPECT_EQ(compte(p, "      <td>3</td>\n"), 4);
    EXPECT_EQ(compte(p, "      <td>4</td>\n"), 0);
    EXPECT_TRUE(contientLigne(p, "      <td class=\"cj3\"> 22 # </td>"));
    EXPECT_TRUE(contientLigne(p, "      <td class=\"cj2\">* 64 # </td>"));
    EXPECT_TRUE(contientLigne(p, "      <td class=\"cj1\">ZUT</td>"));
    EXPECT_TRUE(contientLigne(p, "      <td class=\"ctop\">ReLATION</td>"));
    EXPECT_TRUE(contientLigne(p, "      <td class=\"cj1\">M(E)R</td>"));
    EXPECT_EQ(gi_nb_affcach, 3u);  // one folded block per player's detail
    EXPECT_TRUE(contientLigne(p, "      <td class=\"ctop\">100,00 %</td>"));
}

TEST(ExportHtml, TestModeBatchAndThemedTitles) {
    InTempDir tmp;
    fixtures::partieTest();
    v_histo[1].joueur = 3;  // a computer's move
    std::string p = page(tmp);
    verifierPage(p);
    EXPECT_FALSE(contient(p, ">Top</th>"));
    EXPECT_TRUE(contientLigne(p, "      <td colspan=2>&nbsp;</td>"));
    EXPECT_TRUE(contientLigne(p, "Mode test : oui"));
    // In test mode every move shows its count, a computer's too.
    EXPECT_TRUE(contient(p, "    <tr class=\"cj3\">\n      <td>2</td>\n"));
    EXPECT_EQ(valeurs(rangees(p)[2]), "2|3|ERTUVWX|MER|4H| 6||0<br/>");

    fixtures::partieNormale();
    gl_generationParties2 = true;
    p = page(tmp);
    verifierPage(p);
    EXPECT_TRUE(contientLigne(p, std::string(kTitre) + " g\351n\351r\351e par DezedizIZIZ</h2>"));
    EXPECT_FALSE(contient(p, "Joueurs:"));
    EXPECT_FALSE(contient(p, "(* 2)"));
    EXPECT_EQ(compte(p, "*: les 7 lettres sont plac\351es (bonus de 50 points)<br/>\n"), 1);
    gl_generationParties2 = false;

    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    p = page(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, std::string(kTitre) + " libre \340 th\350me \njou\351e avec DezedizIZIZ</h2>\n"));
    EXPECT_TRUE(contientLigne(p, "<a href=\"#dicos\">Th\350me utilis\351</a><br />"));
    EXPECT_FALSE(contient(p, "name=\"definitions\""));

    fixtures::partieNormale();
    partie.nbJoueurs = 1;
    EXPECT_TRUE(contientLigne(page(tmp), "Joueur:<br />"));
}

TEST(ExportHtml, EveryFixtureGivesAWellFormedPage) {
    InTempDir tmp;
    for (void (*f)() : {fixtures::partieNormale, fixtures::partieDuplicate, fixtures::partieCommencee,
                        fixtures::partieResolution, fixtures::partieTest, fixtures::partieArbitrage}) {
        f();
        std::filesystem::remove(tmp.file("histo.html"));
        const std::string p = page(tmp);
        SCOPED_TRACE(p.substr(0, 300));
        verifierPage(p);
    }
}

TEST(ExportHtml, UnwritablePathGoesToTheDebugOutput) {
    InTempDir tmp;
    MessageRecorder rec;
    gl_debugAfficher = true;
    fixtures::partieNormale();
    export_html(tmp.file("absent/histo.html"));
    EXPECT_FALSE(fichierExiste(tmp.file("absent/histo.html")));
    ASSERT_EQ(rec.journal().size(), 1u);
    EXPECT_EQ(rec.journal()[0], "Creation du fichier recap. impossible (" + tmp.file("absent/histo.html") + ")");

    // A page that cannot be replaced stays as it was.
    ecrireFichier(tmp.file("histo.html"), "ancienne");
    std::filesystem::create_directory(tmp.file("histo.htm~"));
    export_html(tmp.file("histo.html"));
    EXPECT_EQ(lireFichier(tmp.file("histo.html")), "ancienne");
    EXPECT_EQ(rec.journal().size(), 2u);
}

TEST(ExportHtml, CrosswordGridGameWritesTheGridPageOnly) {
    InTempDir tmp;
    fixtures::partieNormale();
    params.typePartie = TYPE_PARTIE_GRILLE;
    const std::string p = page(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, "Grille de mots crois\351s \340 th\350me"));
    EXPECT_FALSE(contient(p, "Statistiques"));
    EXPECT_FALSE(contient(p, "ShowHide(id)"));
}
