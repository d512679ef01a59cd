#include "reports/export_html_plateau.h"

#include "PageHtml.h"
#include "support/TempDir.h"
#include "app/interface.h"
#include "lexicon/dico2.h"
#include "reports/export_html_cadre.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace pagehtml;

namespace {

template <typename F>
std::string section(F ecrire) {
    std::ostringstream out;
    ecrire(out);
    return out.str();
}

std::string cellule(const std::string& page, int r, int c) {
    // Each cell line starts with "  <td"; a cell with a value span runs over
    // two lines.
    const std::vector<std::string> l = lignes(page);
    int ligne = -1, colonne = -1;
    for (size_t i = 0; i < l.size(); ++i) {
        if (l[i] == "  <tr>") {
            ++ligne;
            colonne = -1;
            continue;
        }
        if (l[i].rfind("  <td", 0) != 0) continue;
        if (++colonne == c && ligne == r) return l[i] + (l[i].find("</td>") == std::string::npos ? "\n" + l[i + 1] : "");
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

void ecrireDefinitionsPerso(const std::string& contenu) {
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, contenu);
}

}  // namespace

TEST(PlateauHtml, BoardCellsAndTheirColours) {
    nouvellePartie({0});
    dicP.plateau[8][9] = 'e';          // a joker, worth 0
    dicP.plateau[3][3] = 'Z';          // on a word x2
    partie.coefMot[2][3] = 4;          // word x4 with letter x4
    partie.coefLettre[2][3] = 4;
    partie.coefMot[3][2] = 4;          // word x4 alone
    dicP.special[5][7] = CASE_NOIRE;   // a black square
    partie.coefLettre[1][2] = -1;      // a multiplier no rule knows
    dicP.plateau[1][3] = '<';          // not a letter: shown as it is
    const std::string p = section(affPlateauHtml);
    const std::vector<std::string> l = lignes(p);
    EXPECT_EQ(l[0], "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"plateau\">Plateau de jeu</a></h3>");
    EXPECT_EQ(l[1], "  <table>");
    EXPECT_EQ(l.back(), "  </table>");
    EXPECT_EQ(compte(p, "  <tr>\n"), 16);
    EXPECT_EQ(compte(p, "<td"), 16 * 16);

    struct Cas {
        int r, c;
        const char* attendu;
    };
    const Cas cas[] = {
        {0, 0, "  <td class=\"pcase\"> </td>"},
        {0, 1, "  <td class=\"pcase\"> 1</td>"},
        {0, 15, "  <td class=\"pcase\">15</td>"},
        {1, 0, "  <td class=\"pcase\"> A</td>"},
        {15, 0, "  <td class=\"pcase\"> O</td>"},
        {8, 8, "  <td class=\"pcase\" bgcolor=\"darkviolet\"> </td>"},
        {8, 9, "  <td class=\"pcase\" bgcolor=\"darkorange\">E</td>"},
        {3, 3, "  <td class=\"pcase\" bgcolor=\"burlywood\">Z<span class=\"valeur\">10</span>\n</td>"},
        {2, 3, "  <td class=\"pcase\" bgcolor=\"blue\"> </td>"},
        {3, 2, "  <td class=\"pcase\" bgcolor=\"magenta\"> </td>"},
        {5, 7, "  <td class=\"pcase\" bgcolor=\"black\"> </td>"},
        {1, 2, "  <td class=\"pcase\"> </td>"},
        {1, 1, "  <td class=\"pcase\" bgcolor=\"red\"> </td>"},
        {2, 2, "  <td class=\"pcase\" bgcolor=\"hotpink\"> </td>"},
        {1, 4, "  <td class=\"pcase\" bgcolor=\"lightblue\"> </td>"},
        {2, 6, "  <td class=\"pcase\" bgcolor=\"royalblue\"> </td>"},
        {1, 3, "  <td class=\"pcase\" bgcolor=\"lightgreen\">&lt;</td>"},
    };
    for (const Cas& c : cas) EXPECT_EQ(cellule(p, c.r, c.c), c.attendu) << c.r << "," << c.c;

    dicP.plateau[8][8] = 'A';  // the start cell covered
    EXPECT_EQ(cellule(section(affPlateauHtml), 8, 8),
              "  <td class=\"pcase\" bgcolor=\"burlywood\">A<span class=\"valeur\">1</span>\n</td>");
    verifierBalises("<table>" + section(affPlateauHtml) + "</table>");
}

TEST(PlateauHtml, BoardDimensionIsBounded) {
    nouvellePartie({0});
    partie.dimPlateau = 40;
    const std::string p = section(affPlateauHtml);
    EXPECT_EQ(compte(p, "  <tr>\n"), 22);
    EXPECT_EQ(cellule(p, 0, 21), "  <td class=\"pcase\">21</td>");
}

TEST(PlateauHtml, LettersLeftLeaveTheBagAsItWas) {
    nouvellePartie({0});
    std::fill(partie.nbLettre, partie.nbLettre + NB_LETTRES, 0);
    partie.nbLettre[5] = 2;          // E E
    partie.nbLettre[IDX_JOKER] = 1;  // ?
    partie.sac[5] = 1;
    partie.sac[IDX_JOKER] = 1;
    partie.nbLettresSac = 2;
    signed char sac[NB_LETTRES];
    std::copy(partie.sac, partie.sac + NB_LETTRES, sac);

    struct Cas {
        const char* plateau;  // tiles put on row 1
        const char* attendu;
    };
    const Cas cas[] = {
        {"", "<br />3 lettres restantes: E E ? <br />\n"},
        {"Ee", "<br />1 lettre restante: E <br />\n"},
        {"EEx", "<br />toutes les lettres sont plac\351es<br />\n"},
        // More E on the board than the tile set holds.
        {"EEE", "<br />1 lettre restante: (E * -1)? <br />\n"},
    };
    for (const Cas& c : cas) {
        dicP.viderPlateaux();
        for (int i = 0; c.plateau[i]; ++i) dicP.plateau[1][i + 1] = c.plateau[i];
        EXPECT_EQ(section(affLettresRestantesHtml), c.attendu) << c.plateau;
        EXPECT_TRUE(std::equal(sac, sac + NB_LETTRES, partie.sac));
        EXPECT_EQ(partie.nbLettresSac, 2);
    }
}

TEST(PlateauHtml, Distribution) {
    nouvellePartie({0});
    const std::string p = section(affDistributionHtml);
    EXPECT_EQ(lignes(p)[0],
              "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"distrib\">Distribution des lettres</a></h3>");
    EXPECT_TRUE(contientLigne(p, "      <th>Quantit\351</th>"));
    EXPECT_EQ(compte(p, "  <tr><td>"), 27);
    EXPECT_TRUE(contientLigne(p, "  <tr><td>A</td><td>1</td><td>9</td></tr>"));
    EXPECT_TRUE(contientLigne(p, "  <tr><td>?</td><td>0</td><td>2</td></tr>"));
    EXPECT_NE(p.find("      <td colspan=2>&nbsp;</td>\n      <td>102</td>\n"), std::string::npos);
    verifierBalises(p);
}

TEST(PlateauHtml, DictionaryLines) {
    nouvellePartie({0});
    dicP.nomFichier = "ods<5>.dic";
    dicP.commentaire = "Officiel \\n & complet";
    EXPECT_EQ(section(affDicosHtml),
              "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Dico utilis\351</a></h3>\n"
              "1 - ods&lt;5&gt;.dic : Officiel \\n &amp; complet<br />\n");

    ajouterDico("noms.txt", "Noms\\npropres\\nR&D");
    ajouterDico("", "sans fichier");
    ajouterDico("vide.txt", "");
    EXPECT_EQ(section(affDicosHtml),
              "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Dicos utilis\351s</a></h3>\n"
              "1 - ods&lt;5&gt;.dic : Officiel \\n &amp; complet<br />\n"
              "2 - noms.txt : Noms<br />\npropres<br />\nR&amp;D<br />\n"
              "4 - vide.txt<br />\n");

    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    dicP.commentaire = "Les animaux";
    EXPECT_EQ(section(affDicosHtml),
              "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Th\350me utilis\351</a></h3>\n"
              "Les animaux<br /><br />\n");
}

TEST(PlateauHtml, WordListWithDefinitions) {
    InTempDir tmp;
    nouvellePartie({0});
    gl_indexDefinitions = {{"AS", "carte / champion / expert"},
                           {"BALISE", "<b>&"},
                           {"ETE", "saison / \nparticipe"}};
    gl_definitionsChargees = true;
    EXPECT_EQ(section(affListeMotsHtml), "");  // no word, no heading

    for (const char* w : {"ETE", "BALISE", "ZZZ", "AS"}) ajoutMotVDef(w);
    const std::string entete =
        "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste des mots (principaux et "
        "satellites) de la partie</a></h3>\n";
    EXPECT_EQ(section(affListeMotsHtml), entete +
                                             "AS: carte<br />\nAS: champion<br />\nAS: expert<br />\n"
                                             "BALISE: &lt;b&gt;&amp;<br />\n"
                                             "ETE: saison / <br />\nETE: participe<br />\n"
                                             "ZZZ: ?<br />\n");
    EXPECT_EQ(vdef.front(), "AS");  // sorted

    dicP.lexique.definir({"AS", "ETE"});
    ajouterDico("noms.txt", "Noms", {"AS", "ZZZ"});
    viderVdef();
    ajoutMotVDef("AS");
    ajoutMotVDef("ZZZ");
    ajoutMotVDef("");
    EXPECT_EQ(section(affListeMotsHtml), entete +
                                             "AS (1,2): carte<br />\nAS (1,2): champion<br />\nAS (1,2): expert<br />\n"
                                             "ZZZ (2): ?<br />\n");
}

TEST(PlateauHtml, ThemedWordListReadsThePersonalFileOnly) {
    InTempDir tmp;
    nouvellePartie({0});
    params.typePartie = TYPE_PARTIE_THEMATIQUE;
    partie.rubriqueDefinitions = "Animaux";
    gl_indexDefinitions = {{"CHAT", "dictionnaire"}};
    gl_definitionsChargees = true;
    for (const char* w : {"CHIEN", "CHAT", "OURS"}) ajoutMotVDef(w);

    EXPECT_EQ(section(affListeMotsHtml), "");  // no personal file

    ecrireDefinitionsPerso("[Autre]\nOURS=non\n[Animaux]\nCHAT=f\351lin <miaou>\nCHIEN=canid\351\n");
    EXPECT_EQ(section(affListeMotsHtml), "CHAT: f\351lin &lt;miaou&gt;<br />\nCHIEN: canid\351<br />\n");
    EXPECT_FALSE(gini_def.isOpen());
    EXPECT_FALSE(gini_def_ok);

    // The shell's copy, held open: used as it stands and left open.
    ecrireFichier("autres.ini", "[Animaux]\nOURS=plantigrade\n");
    ASSERT_TRUE(gini_def.open("autres.ini", false));
    gini_def_ok = true;
    params.chargtIniUniq = 1;
    EXPECT_EQ(section(affListeMotsHtml), "OURS: plantigrade<br />\n");
    EXPECT_TRUE(gini_def.isOpen());

    // Flag clear while the shell holds its copy: ours is read and closed,
    // the shell's stays open.
    params.chargtIniUniq = 0;
    EXPECT_EQ(section(affListeMotsHtml), "CHAT: f\351lin &lt;miaou&gt;<br />\nCHIEN: canid\351<br />\n");
    EXPECT_TRUE(gini_def.isOpen());
    EXPECT_TRUE(gini_def_ok);
    gini_def.close();
}
