#include "reports/export_html_plateau.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "lexicon/dico2.h"
#include "reports/export_html_cadre.h"
#include "support/TempDir.h"
#include "support/PartieNeuve.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pagehtml;

class PlateauHtml : public PartieNeuve {};

TEST_F(PlateauHtml, CasesCouleursEtLettresRestantes) {
    nouvellePartie({0});
    dicP.plateau[8][9] = 'e';  // a joker, worth 0
    dicP.plateau[9][9] = 'z';
    dicP.plateau[3][3] = 'Z';  // on a word x2
    partie.coefMot[2][3] = partie.coefLettre[2][3] = 4;
    partie.coefMot[3][2] = 4;
    dicP.special[5][7] = CASE_NOIRE;
    partie.coefLettre[1][2] = -1;  // a multiplier no rule knows
    dicP.plateau[1][3] = '<';      // not a letter: shown as it is
    dicP.plateau[1][5] = dicP.plateau[5][1] = 'K';  // first row and column show values too
    const std::tuple<int, int, const char*> couleurs[] = {
        {0, 1, nullptr},       {8, 8, "darkviolet"}, {8, 9, "darkorange"}, {9, 9, "darkorange"}, {3, 3, "burlywood"}, {2, 3, "blue"},
        {3, 2, "magenta"},     {5, 7, "black"},      {1, 2, nullptr},      {1, 1, "red"},       {2, 2, "hotpink"},
        {1, 4, "lightblue"},   {2, 6, "royalblue"},  {1, 3, "lightgreen"}, {1, 23, nullptr}, {23, 1, nullptr},
    };
    for (const auto& [r, c, couleur] : couleurs) EXPECT_STREQ(couleurCase(r, c), couleur) << r << "," << c;
    const std::string p = ecrit(affPlateauHtml);
    EXPECT_EQ(compte(p, "<td"), 16 * 16);
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_TRUE(contient(p, "  <table>\n  <tr>\n" + td + "> </td>\n" + td + "> 1</td>\n" + td + "> 2</td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"burlywood\">Z<span class=\"valeur\">10</span>\n</td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"darkorange\">E</td>\n"));
    EXPECT_EQ(compte(p, ">K<span class=\"valeur\">10</span>\n</td>\n"), 2);
    EXPECT_TRUE(contient(p, td + " bgcolor=\"darkorange\">Z</td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"lightgreen\">&lt;</td>\n"));
    partie.dimPlateau = 40;  // beyond the largest board
    EXPECT_EQ(compte(ecrit(affPlateauHtml), "  <tr>\n"), 22);

    // The letters left are counted without touching the bag.
    std::fill(partie.nbLettre, partie.nbLettre + NB_LETTRES, 0);
    partie.nbLettre[5] = 2;          // E E
    partie.nbLettre[IDX_JOKER] = 1;  // ?
    partie.sac[5] = partie.sac[IDX_JOKER] = 1;
    partie.nbLettresSac = 2;
    const std::vector<signed char> sac(partie.sac, partie.sac + NB_LETTRES);
    const std::pair<const char*, const char*> restes[] = {
        {"", "<br />3 lettres restantes: E E ? <br />\n"},
        {"E", "<br />2 lettres restantes: E ? <br />\n"},
        {"Ee", "<br />1 lettre restante: E <br />\n"},
        {"EEx", "<br />toutes les lettres sont plac\351es<br />\n"},
        {"EEE", "<br />1 lettre restante: (E * -1)? <br />\n"},  // more E on the board than the set holds
    };
    for (const auto& c : restes) {
        dicP.viderPlateaux();
        for (int i = 0; c.first[i]; ++i) dicP.plateau[1][i + 1] = c.first[i];
        EXPECT_EQ(ecrit(affLettresRestantesHtml), c.second) << c.first;
        EXPECT_EQ(std::vector<signed char>(partie.sac, partie.sac + NB_LETTRES), sac);
        EXPECT_EQ(partie.nbLettresSac, 2);
    }
    // The distribution is the tile set, not what is left.
    const std::string d = ecrit(affDistributionHtml);
    EXPECT_EQ(compte(d, "  <tr><td>"), 27);
    EXPECT_TRUE(contient(d, "  <tr><td>D</td><td>2</td><td>0</td></tr>\n  <tr><td>E</td><td>1</td><td>2</td></tr>\n"));
    EXPECT_TRUE(contient(d, "  <tr><td>Z</td><td>10</td><td>0</td></tr>\n  <tr><td>?</td><td>0</td><td>1</td></tr>\n"
                            "    </tbody>\n    <tfoot>\n    <tr>\n      <td colspan=2>&nbsp;</td>\n      <td>3</td>\n"));
}

TEST_F(PlateauHtml, DicosEtListesDesMots) {
    nouvellePartie({0});
    dicP.nomFichier = "ods<5>.dic";
    EXPECT_TRUE(contient(ecrit(affDicosHtml), "Dico utilis\351</a></h3>\n1 - ods&lt;5&gt;.dic<br />\n"));
    gl_indexDefinitions = {{"AS", "a / b / c"}, {"BALISE", "<b>&"}, {"CAP", "l1\nl2 / x"}};
    gl_definitionsChargees = true;
    EXPECT_EQ(ecrit(affListeMotsHtml), "");  // no word, no heading
    for (const char* w : {"BALISE", "ZZZ", "CAP", "AS"}) ajoutMotVDef(w);
    EXPECT_EQ(ecrit(affListeMotsHtml), "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste "
                                       "des mots (principaux et satellites) de la partie</a></h3>\nAS: a<br />\nAS: b<br />"
                                       "\nAS: c<br />\nBALISE: &lt;b&gt;&amp;<br />\nCAP: l1<br />\nCAP: l2 / x<br />\n"
                                       "ZZZ: ?<br />\n");
    // Extra dictionaries: numbered k + 2 whether or not one before them has no file.
    dicP.lexique.definir({"AS"});
    dicP.commentaire = "Officiel\\n8";  // the game dictionary's comment is never split
    for (const auto& [nom, commentaire] : {std::pair{"noms.txt", "Noms\\npropres & co"}, {"", "sans fichier"},
                                           {"lieux.txt", ""}}) {
        params.dicos2.emplace_back();
        params.dicos2.back().nomFichier = nom;
        params.dicos2.back().commentaire = commentaire;
    }
    params.dicos2[0].lexique.definir({"AS", "ZZZ"});
    params.dicos2[1].lexique.definir({"ZZZ"});
    params.dicos2[2].lexique.definir({"ZZZ", "CAP"});
    EXPECT_EQ(ecrit(affDicosHtml), "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Dicos utilis\351s</a>"
                                   "</h3>\n1 - ods&lt;5&gt;.dic : Officiel\\n8<br />\n2 - noms.txt : Noms<br />\n"
                                   "propres &amp; co<br />\n4 - lieux.txt<br />\n");
    EXPECT_TRUE(contient(ecrit(affListeMotsHtml),
                         "AS (1,2): c<br />\nBALISE (): &lt;b&gt;&amp;<br />\nCAP (4): l1<br />\nCAP (4): l2 / x<br />\n"
                         "ZZZ (2,4): ?"));

    // Themed: the personal file only; the shell's open copy only under ChargtIniUniq, never closed.
    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    partie.rubriqueDefinitions = "Animaux";
    EXPECT_EQ(ecrit(affListeMotsHtml), "");  // no personal file
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Autre]\nAS=non\n[Animaux]\nZZZ=f\351lin <miaou>\n");
    EXPECT_EQ(ecrit(affListeMotsHtml), "ZZZ: f\351lin &lt;miaou&gt;<br />\n");
    ecrireFichier("autres.ini", "[Animaux]\nAS=plantigrade\n");
    ASSERT_TRUE(gini_def.open("autres.ini", false));
    gini_def_ok = true;
    EXPECT_EQ(ecrit(affListeMotsHtml), "ZZZ: f\351lin &lt;miaou&gt;<br />\n");
    params.chargtIniUniq = 1;
    EXPECT_EQ(ecrit(affListeMotsHtml), "AS: plantigrade<br />\n");
    EXPECT_TRUE(gini_def.isOpen());
    EXPECT_TRUE(gini_def_ok);
    gini_def.close();
}
