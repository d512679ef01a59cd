#include "reports/export_html_cadre.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/statistiques.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace pagehtml;

namespace {

std::string tete() {
    std::ostringstream out;
    affHeadHtml(out);
    return out.str();
}

std::string pied() {
    std::ostringstream out;
    affFinFichier(out);
    return out.str();
}

}  // namespace

TEST(CadreHtml, HeadDeclaresLatin1XhtmlWithTheStyleSheet) {
    const std::vector<std::string> l = lignes(tete());
    ASSERT_GE(l.size(), 20u);
    EXPECT_EQ(l[0],
              "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
    EXPECT_EQ(l[1], "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"fr\">");
    EXPECT_EQ(l[3], "    <title>R\351capitulatif de partie</title>");
    EXPECT_EQ(l[7], "    <meta name=\"author\" content=\"quorvel fltk\" />");
    EXPECT_EQ(l[11], "    <meta http-equiv=\"content-Type\" content=\"text/html; charset=iso-8859-1\" />");
    EXPECT_EQ(l[14], " <style type=\"text/css\">");
    EXPECT_EQ(l[15], "    <!--");
    EXPECT_EQ(l[16], "a.affcach {");
    EXPECT_EQ(l[17], "    cursor: pointer;");
    EXPECT_EQ(l[l.size() - 3], "     -->");
    EXPECT_EQ(l[l.size() - 2], "     </style>");
    EXPECT_EQ(l.back(), "</head>");
    const std::string t = tete();
    EXPECT_NE(t.find("td {\n    border:1px solid #6495cd;\n    padding:5px;\n    text-align:left;\n}\n"), std::string::npos);
    EXPECT_NE(t.find("h3.GrosTitre {\n    color: blue;\n    font-size: 1.5em;\n    font-weight: bold;\n"
                     "    text-decoration: none;\n    border-bottom : 1px solid grey\n}\n     -->"),
              std::string::npos);
    EXPECT_EQ(compte(t, "\n}\n"), 19);
    EXPECT_EQ(compte(t, "<body>"), 0);
}

TEST(CadreHtml, FootRecordsTheOptionsInAComment) {
    parametresParDefaut();
    partie.unSeulChevalet = 1;
    params.typeChoixTop = 2;
    gl_menus.joker = true;  // the menu item checked, the game not a joker game
    vect_regpt = {3, 7};
    params.bonus[0] = 9;
    params.bonus[5] = 10;
    params.bonus[15] = 20;
    gi_nb_affcach = 2;
    const std::string p = pied();
    const std::vector<std::string> attendu = {
        "<!--",
        "Regroupement de dico 1 : 3",
        "Regroupement de dico 2 : 7",
        "type choix : coef. par lettre",
        "Un seul chevalet (normal) : option coch\351e",
        "Saisie tirage (duplicate) : option d\351coch\351e",
        "Valeur facultative (duplicate) : option d\351coch\351e",
        "Joker Tessarel : option coch\351e (mais vaut d\351coch\351e)",
        "Duplicate : option d\351coch\351e",
        "R\351solution : option d\351coch\351e",
        "Afficher toutes les solutions (r\351solution) : option d\351coch\351e",
    };
    const std::vector<std::string> l = lignes(p);
    ASSERT_GT(l.size(), attendu.size());
    EXPECT_EQ(std::vector<std::string>(l.begin(), l.begin() + static_cast<long>(attendu.size())), attendu);
    EXPECT_EQ(l[attendu.size()].rfind("Version : quorvel 1.0 ", 0), 0u) << l[attendu.size()];
    EXPECT_EQ(p.substr(p.find("Bonus")),
              "Bonus pour mots de 5 lettres : 10\n"
              "Bonus pour mots de 15 lettres : 20\n"
              "-->\n<script language=\"javascript\">\nfunction OpenAll() {\n"
              "ShowHide('affcach_1');\nShowHide('affcach_2');\n}\n</script>\n\n</body>\n</html>\n");
    // Nothing inside the comment may end it early.
    std::string commentaire = p.substr(4, p.find("-->") - 4);
    EXPECT_EQ(commentaire.find("--"), std::string::npos);
    EXPECT_EQ(commentaire.find("Mode test"), std::string::npos);
}

TEST(CadreHtml, FootOddModesAndNoBlocks) {
    parametresParDefaut();
    params.typeChoixTop = 7;
    partie.modeTest = 1;
    gi_nb_affcach = 0;
    const std::string p = pied();
    EXPECT_TRUE(contientLigne(p, "type choix : "));
    EXPECT_TRUE(contientLigne(p, "Mode test : oui"));
    EXPECT_EQ(p.find("Regroupement"), std::string::npos);
    EXPECT_EQ(p.find("Bonus"), std::string::npos);
    EXPECT_NE(p.find("function OpenAll() {\n}\n"), std::string::npos);
}

TEST(CadreHtml, BlockNumbersKeepDigitsWhateverTheStreamFormat) {
    // After the statistics the page stream groups digits by three.
    gi_nb_affcach = 1000;
    std::ostringstream out;
    out.imbue(std::locale(std::locale::classic(), new myPunct));
    affFinFichier(out);
    EXPECT_NE(out.str().find("ShowHide('affcach_1000');"), std::string::npos);
}

TEST(CadreHtml, VdefKeepsEachFoldedWordOnceInOrder) {
    parametresParDefaut();
    viderVdef();
    for (const char* w : {"\311t\351", "ETE", "maison", "ETE", "Ma\357s"}) ajoutMotVDef(w);
    EXPECT_EQ(vdef, (std::vector<std::string>{"ETE", "MAISON", "MAIS"}));
    partie.partieJoker = 1;
    ajoutMotVDef("CHAT ?");
    ajoutMotVDef("CHAT");
    EXPECT_EQ(vdef.back(), "CHAT");
    EXPECT_EQ(vdef.size(), 4u);
}

TEST(CadreHtml, TextHelpers) {
    parametresParDefaut();
    EXPECT_EQ(neGarderQueRaccords("MAISON, AS, ON"), "AS, ON");
    EXPECT_EQ(neGarderQueRaccords("MAISON"), "");
    EXPECT_EQ(neGarderQueRaccords(""), "");

    struct Cas {
        const char* texte;
        const char* attendu;
    };
    const Cas cas[] = {
        {"", ""},
        {"MAiSON", "MA(I)SON"},
        {"\351T\351", "\351T\351"},  // accented lower case stays
        {"[AB] [cD]", "[AB]<br/> [(C)D]<br/>"},
        {"A<B>&C", "A&lt;B&gt;&amp;C"},  // data escaped, the marks we add not
    };
    for (const Cas& c : cas) EXPECT_EQ(remplaceJokerDsTexte(c.texte), c.attendu) << c.texte;
    params.typePartie = TYPE_PARTIE_GRILLE;
    EXPECT_EQ(remplaceJokerDsTexte("MAiSON [x]"), "MAiSON [x]");
    EXPECT_EQ(remplaceJokerDsTexte("a&b"), "a&amp;b");

    EXPECT_EQ(texteHtml("<b>&amp;"), "&lt;b&gt;&amp;amp;");
    EXPECT_EQ(nomNiveau(1), "Mot de 5 lettres maxi");
    EXPECT_EQ(nomNiveau(8), "Valeur de 15 points maxi");
    EXPECT_EQ(nomNiveau(0), "");
    EXPECT_EQ(nomNiveau(9), "");
    EXPECT_EQ(couleurs[4], "cj1");
    EXPECT_EQ(banniereVersion().find("--"), std::string::npos);
}

TEST(CadreHtml, FoldedBlocksAreNumberedInPageOrder) {
    parametresParDefaut();
    gi_nb_affcach = 0;
    EXPECT_EQ(blocPliable(3, " (* 2)<br/>", "[A<b]"),
              "<a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 3 (* 2)<br/></a>"
              "<div id=\"affcach_1\" style=\"display:none;\">[A&lt;(B)]<br/></div>");
    EXPECT_NE(blocPliable(1, "", "x").find("'affcach_2'"), std::string::npos);
    EXPECT_EQ(gi_nb_affcach, 2u);
}
