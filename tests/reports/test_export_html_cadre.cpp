#include "reports/export_html_cadre.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/chargerpeau2.h"
#include "reports/statistiques.h"

#include <gtest/gtest.h>

using namespace pagehtml;

TEST(CadreHtml, HeadDeclaresLatin1XhtmlWithTheStyleSheet) {
    const std::string t = ecrit(affHeadHtml);
    const Lignes l = lignes(t);
    EXPECT_EQ(l[0],
              "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
    EXPECT_EQ(l[1], "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"fr\">");
    EXPECT_EQ(l[3], "    <title>R\351capitulatif de partie</title>");
    EXPECT_EQ(l[7], "    <meta name=\"author\" content=\"quorvel fltk\" />");
    EXPECT_EQ(l[11], "    <meta http-equiv=\"content-Type\" content=\"text/html; charset=iso-8859-1\" />");
    EXPECT_EQ(Lignes(l.begin() + 14, l.begin() + 19),
              (Lignes{" <style type=\"text/css\">", "    <!--", "a.affcach {", "    cursor: pointer;", "    cursor: hand;"}));
    EXPECT_TRUE(contient(t, "\ntd {\n    border:1px solid #6495cd;\n    padding:5px;\n    text-align:left;\n}\n"));
    EXPECT_TRUE(contient(t, "    border-bottom : 1px solid grey\n}\n     -->\n     </style>\n</head>\n"));
    EXPECT_EQ(compte(t, "\n}\n"), 19);
    EXPECT_FALSE(contient(t, "<body>"));
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
    const std::string p = ecrit(affFinFichier);
    const Lignes l = lignes(p);
    EXPECT_EQ(Lignes(l.begin(), l.begin() + 11),
              (Lignes{"<!--", "Regroupement de dico 1 : 3", "Regroupement de dico 2 : 7", "type choix : coef. par lettre",
                      "Un seul chevalet (normal) : option coch\351e", "Saisie tirage (duplicate) : option d\351coch\351e",
                      "Valeur facultative (duplicate) : option d\351coch\351e",
                      "Joker Tessarel : option coch\351e (mais vaut d\351coch\351e)", "Duplicate : option d\351coch\351e",
                      "R\351solution : option d\351coch\351e",
                      "Afficher toutes les solutions (r\351solution) : option d\351coch\351e"}));
    EXPECT_EQ(l[11].rfind("Version : quorvel 1.0 ", 0), 0u) << l[11];
    EXPECT_EQ(p.substr(p.find("Bonus")),
              "Bonus pour mots de 5 lettres : 10\nBonus pour mots de 15 lettres : 20\n-->\n"
              "<script language=\"javascript\">\nfunction OpenAll() {\n"
              "ShowHide('affcach_1');\nShowHide('affcach_2');\n}\n</script>\n\n</body>\n</html>\n");
    EXPECT_EQ(p.substr(4, p.find("-->") - 4).find("--"), std::string::npos);  // nothing ends the comment early

    params.typeChoixTop = 7;
    partie.modeTest = 1;
    vect_regpt.clear();
    gi_nb_affcach = 0;
    const std::string q = ecrit(affFinFichier);
    EXPECT_TRUE(contientLigne(q, "type choix : "));
    EXPECT_TRUE(contientLigne(q, "Mode test : oui"));
    EXPECT_FALSE(contient(q, "Regroupement"));
    EXPECT_TRUE(contient(q, "function OpenAll() {\n}\n"));

    // After the statistics the page stream groups digits; block ids must not.
    gi_nb_affcach = 1000;
    params.bonus[5] = 1000;
    const std::string r = ecrit(affFinFichier, std::locale(std::locale::classic(), new myPunct));
    EXPECT_TRUE(contient(r, "ShowHide('affcach_1000');"));
    EXPECT_TRUE(contient(r, "Bonus pour mots de 5 lettres : 1.000\n"));
}

TEST(CadreHtml, VdefKeepsEachFoldedWordOnceInOrder) {
    parametresParDefaut();
    viderVdef();
    for (const char* w : {"\311t\351", "ETE", "maison", "ETE", "Ma\357s"}) ajoutMotVDef(w);
    EXPECT_EQ(vdef, (Lignes{"ETE", "MAISON", "MAIS"}));
    vdef.clear();  // emptied behind its back: the look-up follows
    ajoutMotVDef("ETE");
    EXPECT_EQ(vdef, Lignes{"ETE"});
    partie.partieJoker = 1;
    ajoutMotVDef("CHAT ?");
    ajoutMotVDef("CHAT");
    EXPECT_EQ(vdef, (Lignes{"ETE", "CHAT"}));
}

TEST(CadreHtml, TextHelpers) {
    parametresParDefaut();
    EXPECT_EQ(neGarderQueRaccords("MAISON, AS, ON"), "AS, ON");
    EXPECT_EQ(neGarderQueRaccords("MAISON"), "");
    EXPECT_EQ(neGarderQueRaccords(""), "");
    const std::pair<const char*, const char*> cas[] = {
        {"", ""},
        {"MAiSON", "MA(I)SON"},
        {"\351T\351", "\351T\351"},  // accented lower case stays
        {"[AB] [cD]", "[AB]<br/> [(C)D]<br/>"},
        {"A<B>&C", "A&lt;B&gt;&amp;C"},  // data escaped, the marks we add not
    };
    for (const auto& c : cas) EXPECT_EQ(remplaceJokerDsTexte(c.first), c.second) << c.first;
    params.typePartie = TYPE_PARTIE_GRILLE;
    EXPECT_EQ(remplaceJokerDsTexte("MAiSON [x]"), "MAiSON [x]");
    EXPECT_EQ(remplaceJokerDsTexte("a&b"), "a&amp;b");
    EXPECT_EQ(texteHtml("<b>&amp;"), "&lt;b&gt;&amp;amp;");
    EXPECT_EQ(nomNiveau(8), "Valeur de 15 points maxi");
    EXPECT_EQ(nomNiveau(9), "");
    EXPECT_EQ(couleurs[4], "cj1");

    gi_nb_affcach = 0;
    params.typePartie = TYPE_PARTIE_ORDINAIRE;
    EXPECT_EQ(blocPliable(3, " (* 2)<br/>", "[A<b]"),
              "<a class=\"affcach\" onclick=\"ShowHide('affcach_1')\">Afficher : 3 (* 2)<br/></a>"
              "<div id=\"affcach_1\" style=\"display:none;\">[A&lt;(B)]<br/></div>");
    EXPECT_TRUE(contient(blocPliable(1, "", "x"), "'affcach_2'"));
}
