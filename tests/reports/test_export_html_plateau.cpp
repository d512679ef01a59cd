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
    dicP.plateau[3][3] = 'Z';  // on a word x2
    partie.coefMot[2][3] = partie.coefLettre[2][3] = 4;
    partie.coefMot[3][2] = 4;
    dicP.special[5][7] = CASE_NOIRE;
    partie.coefLettre[1][2] = -1;  // a multiplier no rule knows
    dicP.plateau[1][3] = '<';      // not a letter: shown as it is
    const std::tuple<int, int, const char*> couleurs[] = {
        {0, 1, nullptr},       {8, 8, "darkviolet"}, {8, 9, "darkorange"}, {3, 3, "burlywood"}, {2, 3, "blue"},
        {3, 2, "magenta"},     {5, 7, "black"},      {1, 2, nullptr},      {1, 1, "red"},       {2, 2, "hotpink"},
        {1, 4, "lightblue"},   {2, 6, "royalblue"},  {1, 3, "lightgreen"}, {1, 23, nullptr},
    };
    for (const auto& [r, c, couleur] : couleurs) EXPECT_STREQ(couleurCase(r, c), couleur) << r << "," << c;
    const std::string p = ecrit(affPlateauHtml);
    EXPECT_EQ(compte(p, "<td"), 16 * 16);
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_TRUE(contient(p, td + " bgcolor=\"burlywood\">Z<span class=\"valeur\">10</span>\n</td>\n"));
    EXPECT_TRUE(contient(p, td + " bgcolor=\"darkorange\">E</td>\n"));
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
}

TEST_F(PlateauHtml, DicosEtListesDesMots) {
    nouvellePartie({0});
    dicP.nomFichier = "ods<5>.dic";
    EXPECT_TRUE(contient(ecrit(affDicosHtml), "Dico utilis\351</a></h3>\n1 - ods&lt;5&gt;.dic<br />\n"));
    gl_indexDefinitions = {{"AS", "a / b / c"}, {"BALISE", "<b>&"}};
    gl_definitionsChargees = true;
    EXPECT_EQ(ecrit(affListeMotsHtml), "");  // no word, no heading
    for (const char* w : {"BALISE", "ZZZ", "AS"}) ajoutMotVDef(w);
    EXPECT_EQ(ecrit(affListeMotsHtml), "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste "
                                       "des mots (principaux et satellites) de la partie</a></h3>\nAS: a<br />\nAS: b<br />"
                                       "\nAS: c<br />\nBALISE: &lt;b&gt;&amp;<br />\nZZZ: ?<br />\n");
    // With extra dictionaries, the numbers of those holding the word.
    dicP.lexique.definir({"AS"});
    params.dicos2.emplace_back();
    params.dicos2.back().nomFichier = "noms.txt";
    params.dicos2.back().lexique.definir({"AS", "ZZZ"});
    EXPECT_TRUE(contient(ecrit(affListeMotsHtml), "AS (1,2): c<br />\nBALISE (): &lt;b&gt;&amp;<br />\nZZZ (2): ?"));

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
    EXPECT_TRUE(gini_def.isOpen() && gini_def_ok);
    gini_def.close();
}
