#include "reports/export_html.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "reports/export_html_cadre.h"
#include "support/LimiteEcriture.h"
#include "support/MessageRecorder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pagehtml;

static std::string page() {
    export_html("histo.html");
    return lireFichier("histo.html");
}

TEST(ExportHtml, PageDeLaPartieNormale) {
    InTempDir tmp;
    fixtures::partieNormale();
    const std::string p = page();
    verifierPage(p);
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
    EXPECT_EQ(r[7], "&nbsp;|Total: 91|&nbsp;");
    EXPECT_EQ(vdef, (Lignes{"MAISON", "MER", "RELATION"}));
    EXPECT_EQ(page(), p) << "each page numbers its folded blocks from 1 again";
}

TEST(ExportHtml, ChaqueFixtureDonneUnePageBienFormeeEtEchappee) {
    InTempDir tmp;
    for (void (*f)() : {fixtures::partieNormale, fixtures::partieDuplicate, fixtures::partieCommencee,
                        fixtures::partieResolution, fixtures::partieTest, fixtures::partieArbitrage}) {
        f();
        partie.joueurs[0].nom = "<b>Al & co</b>";
        v_histo[0].texteTops = "[M<A> H4][&]";
        v_histo[0].coupJoue = "M<A>";
        const std::string p = page();
        SCOPED_TRACE(p.substr(0, 300));
        verifierPage(p);
        EXPECT_FALSE(contient(p, "<b>") || contient(p, "<A>") || contient(p, "[&]"));
        EXPECT_TRUE(contient(p, "&lt;b&gt;Al &amp; co&lt;/b&gt;"));
    }
}

TEST(ExportHtml, UnePageQuiNePeutEtreEcriteLaisseLAncienne) {
    InTempDir tmp;
    MessageRecorder rec;
    gl_debugAfficher = true;
    const std::string ancienne = "<html>ancienne page \351</html>\n";
    ecrireFichier("histo.html", ancienne);
    fixtures::partieCommencee();  // a duplicate game with no complete round has nothing to show
    partie.modeDuplicate = 1;
    export_html("histo.html");
    EXPECT_EQ(lireFichier("histo.html"), ancienne);
    fixtures::partieNormale();
    {
        LimiteEcriture disquePlein(16);
        export_html("histo.html");
    }
    EXPECT_EQ(lireFichier("histo.html"), ancienne);
    export_html("absent/histo.html");
    EXPECT_EQ(rec.journal(), (std::vector<std::string>{"Creation du fichier recap. impossible (histo.html)",
                                                      "Creation du fichier recap. impossible (absent/histo.html)"}));
}
