#include "reports/export_html_plateau.h"

#include "PageHtml.h"
#include "app/interface.h"
#include "engine/dicopartie.h"
#include "lexicon/dico2.h"
#include "reports/export_html_cadre.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pagehtml;

namespace {

// The line(s) of board cell (r, c); a cell with a value span runs over two.
std::string cellule(const std::string& page, int r, int c) {
    const Lignes l = lignes(page);
    for (size_t i = 0, ligne = 0, col = 0; i < l.size(); ++i) {
        if (l[i] == "  <tr>") ++ligne, col = 0;
        else if (l[i].rfind("  <td", 0) == 0 && ligne == static_cast<size_t>(r) + 1 && col++ == static_cast<size_t>(c))
            return l[i] + (contient(l[i], "</td>") ? "" : "\n" + l[i + 1]);
    }
    return "(none)";
}

void ajouterDico(const std::string& nom, const std::string& commentaire, std::vector<std::string> mots = {}) {
    Dico2 d;
    d.nomFichier = nom;
    d.commentaire = commentaire;
    d.lexique.definir(std::move(mots));
    params.dicos2.push_back(std::move(d));
}

const std::string kEnteteMots =
    "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste des mots (principaux et "
    "satellites) de la partie</a></h3>\n";

}  // namespace

TEST(PlateauHtml, BoardCellsAndTheirColours) {
    nouvellePartie({0});
    dicP.plateau[8][9] = 'e';         // a joker, worth 0
    dicP.plateau[3][3] = 'Z';         // on a word x2
    partie.coefMot[2][3] = partie.coefLettre[2][3] = 4;
    partie.coefMot[3][2] = 4;
    dicP.special[5][7] = CASE_NOIRE;
    partie.coefLettre[1][2] = -1;     // a multiplier no rule knows
    dicP.plateau[1][3] = '<';         // not a letter: shown as it is
    const std::string p = ecrit(affPlateauHtml);
    EXPECT_EQ(lignes(p)[1], "  <table>");
    EXPECT_EQ(compte(p, "  <tr>\n"), 16);
    EXPECT_EQ(compte(p, "<td"), 16 * 16);
    const std::string td = "  <td class=\"pcase\"";
    const std::tuple<int, int, std::string> cas[] = {
        {0, 0, td + "> </td>"},
        {0, 1, td + "> 1</td>"},
        {0, 15, td + ">15</td>"},
        {1, 0, td + "> A</td>"},
        {15, 0, td + "> O</td>"},
        {8, 8, td + " bgcolor=\"darkviolet\"> </td>"},
        {8, 9, td + " bgcolor=\"darkorange\">E</td>"},
        {3, 3, td + " bgcolor=\"burlywood\">Z<span class=\"valeur\">10</span>\n</td>"},
        {2, 3, td + " bgcolor=\"blue\"> </td>"},
        {3, 2, td + " bgcolor=\"magenta\"> </td>"},
        {5, 7, td + " bgcolor=\"black\"> </td>"},
        {1, 2, td + "> </td>"},
        {1, 1, td + " bgcolor=\"red\"> </td>"},
        {2, 2, td + " bgcolor=\"hotpink\"> </td>"},
        {1, 4, td + " bgcolor=\"lightblue\"> </td>"},
        {2, 6, td + " bgcolor=\"royalblue\"> </td>"},
        {1, 3, td + " bgcolor=\"lightgreen\">&lt;</td>"},
    };
    for (const auto& c : cas) EXPECT_EQ(cellule(p, std::get<0>(c), std::get<1>(c)), std::get<2>(c));

    dicP.plateau[8][8] = 'A';  // the start cell covered
    partie.dimPlateau = 40;    // and a dimension beyond the largest board
    const std::string q = ecrit(affPlateauHtml);
    EXPECT_EQ(cellule(q, 8, 8), td + " bgcolor=\"burlywood\">A<span class=\"valeur\">1</span>\n</td>");
    EXPECT_EQ(compte(q, "  <tr>\n"), 22);
}

TEST(PlateauHtml, LettersLeftLeaveTheBagAsItWas) {
    nouvellePartie({0});
    std::fill(partie.nbLettre, partie.nbLettre + NB_LETTRES, 0);
    partie.nbLettre[5] = 2;          // E E
    partie.nbLettre[IDX_JOKER] = 1;  // ?
    partie.sac[5] = partie.sac[IDX_JOKER] = 1;
    partie.nbLettresSac = 2;
    std::vector<signed char> sac(partie.sac, partie.sac + NB_LETTRES);
    const std::pair<const char*, const char*> cas[] = {
        {"", "<br />3 lettres restantes: E E ? <br />\n"},
        {"Ee", "<br />1 lettre restante: E <br />\n"},
        {"EEx", "<br />toutes les lettres sont plac\351es<br />\n"},
        {"EEE", "<br />1 lettre restante: (E * -1)? <br />\n"},  // more E on the board than the set holds
    };
    for (const auto& c : cas) {
        dicP.viderPlateaux();
        for (int i = 0; c.first[i]; ++i) dicP.plateau[1][i + 1] = c.first[i];
        EXPECT_EQ(ecrit(affLettresRestantesHtml), c.second) << c.first;
        EXPECT_EQ(std::vector<signed char>(partie.sac, partie.sac + NB_LETTRES), sac);
        EXPECT_EQ(partie.nbLettresSac, 2);
    }
}

TEST(PlateauHtml, Distribution) {
    nouvellePartie({0});
    const std::string p = ecrit(affDistributionHtml);
    EXPECT_EQ(compte(p, "  <tr><td>"), 27);
    EXPECT_TRUE(contientLigne(p, "  <tr><td>A</td><td>1</td><td>9</td></tr>"));
    EXPECT_TRUE(contientLigne(p, "  <tr><td>?</td><td>0</td><td>2</td></tr>"));
    EXPECT_TRUE(contient(p, "      <td colspan=2>&nbsp;</td>\n      <td>102</td>\n"));
}

TEST(PlateauHtml, DictionaryLines) {
    nouvellePartie({0});
    dicP.nomFichier = "ods<5>.dic";
    dicP.commentaire = "Officiel \\n & complet";
    const std::string entete = "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">";
    const std::string ligne1 = "1 - ods&lt;5&gt;.dic : Officiel \\n &amp; complet<br />\n";
    EXPECT_EQ(ecrit(affDicosHtml), entete + "Dico utilis\351</a></h3>\n" + ligne1);
    ajouterDico("noms.txt", "Noms\\npropres\\nR&D");
    ajouterDico("", "sans fichier");
    ajouterDico("vide.txt", "");
    EXPECT_EQ(ecrit(affDicosHtml), entete + "Dicos utilis\351s</a></h3>\n" + ligne1 +
                                       "2 - noms.txt : Noms<br />\npropres<br />\nR&amp;D<br />\n4 - vide.txt<br />\n");
    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    dicP.commentaire = "Les animaux";
    EXPECT_EQ(ecrit(affDicosHtml), entete + "Th\350me utilis\351</a></h3>\nLes animaux<br /><br />\n");
}

TEST(PlateauHtml, WordListWithDefinitions) {
    InTempDir tmp;
    nouvellePartie({0});
    gl_indexDefinitions = {{"AS", "a / b / c"}, {"BALISE", "<b>&"}, {"ETE", "saison / \nparticipe"}};
    gl_definitionsChargees = true;
    EXPECT_EQ(ecrit(affListeMotsHtml), "");  // no word, no heading
    for (const char* w : {"ETE", "BALISE", "ZZZ", "AS"}) ajoutMotVDef(w);
    EXPECT_EQ(ecrit(affListeMotsHtml), kEnteteMots + "AS: a<br />\nAS: b<br />\nAS: c<br />\nBALISE: &lt;b&gt;&amp;<br />\n"
                                                     "ETE: saison / <br />\nETE: participe<br />\nZZZ: ?<br />\n");
    dicP.lexique.definir({"AS", "ETE"});
    ajouterDico("noms.txt", "Noms", {"AS", "ZZZ"});
    viderVdef();
    for (const char* w : {"AS", "ZZZ", ""}) ajoutMotVDef(w);
    EXPECT_EQ(ecrit(affListeMotsHtml), kEnteteMots + "AS (1,2): a<br />\nAS (1,2): b<br />\nAS (1,2): c<br />\nZZZ (2): ?<br />\n");
}

TEST(PlateauHtml, ThemedWordListReadsThePersonalFileOnly) {
    InTempDir tmp;
    nouvellePartie({0});
    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    partie.rubriqueDefinitions = "Animaux";
    gl_indexDefinitions = {{"CHAT", "dictionnaire"}};
    gl_definitionsChargees = true;
    for (const char* w : {"CHIEN", "CHAT", "OURS"}) ajoutMotVDef(w);
    EXPECT_EQ(ecrit(affListeMotsHtml), "");  // no personal file

    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Autre]\nOURS=non\n[Animaux]\nCHAT=f\351lin <miaou>\nCHIEN=canid\351\n");
    const std::string perso = "CHAT: f\351lin &lt;miaou&gt;<br />\nCHIEN: canid\351<br />\n";
    EXPECT_EQ(ecrit(affListeMotsHtml), perso);
    EXPECT_FALSE(gini_def.isOpen());

    // The shell's copy, held open for [Definitions] ChargtIniUniq: read as it stands.
    ecrireFichier("autres.ini", "[Animaux]\nOURS=plantigrade\n");
    ASSERT_TRUE(gini_def.open("autres.ini", false));
    gini_def_ok = true;
    params.chargtIniUniq = 1;
    EXPECT_EQ(ecrit(affListeMotsHtml), "OURS: plantigrade<br />\n");
    // Flag clear while the shell holds its copy: ours is read, the shell's stays open.
    params.chargtIniUniq = 0;
    EXPECT_EQ(ecrit(affListeMotsHtml), perso);
    EXPECT_TRUE(gini_def.isOpen() && gini_def_ok);
    gini_def.close();
}
