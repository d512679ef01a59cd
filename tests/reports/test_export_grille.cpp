#include "reports/export_grille.h"

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

std::string grille(const InTempDir& tmp) {
    export_grille_mots_croises_html(tmp.file("grille.html"));
    return lireFichier(tmp.file("grille.html"));
}

void partieGrille() {
    fixtures::partieNormale();
    params.typePartie = TYPE_PARTIE_GRILLE;
}

}  // namespace

TEST(GrilleHtml, WordsDictionariesAndTheGrid) {
    InTempDir tmp;
    partieGrille();
    dicP.special[1][1] = CASE_NOIRE;
    gi_nb_affcach = 5;  // left by an earlier page
    const std::string p = grille(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, "</head>\n<body>\n\n<h2 class=\"GrosTitre\">Grille de mots crois\351s \340 th\350me "
                            "g\351n\351r\351e avec DezedizIZIZ</h2>\n"
                            "<h3 class=\"GrosTitre\"><a name=\"sommaire\">Sommaire</a></h3>\n"
                            "<a href=\"#recap\">R\351capitulatif</a><br/>\n<a href=\"#dicos\">Dico utilis\351</a><br />\n"
                            "<a href=\"#plateau\">Plateau de jeu</a><br/>\n"
                            "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"recap\">r\351capitulatif</a></h3>\n"
                            "  <br />\n  <table>\n    <thead>\n    <tr>\n      <th width=\"40\">N\260</th>\n"));
    // A human's word shows its dictionaries, a computer's nothing; the joker is not bracketed.
    EXPECT_TRUE(contient(p, "    <tr class=\"cj1\">\n      <td>1</td>\n      <td>MAISON</td>\n      <td>1\n</td>\n    </tr>\n"
                            "    <tr class=\"cj2\">\n      <td>2</td>\n      <td>MeR</td>\n      <td>&nbsp;</td>\n"));
    EXPECT_TRUE(contient(p, "  </table>\n  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Dico utilis\351"
                            "</a></h3>\n1 - mots.txt<br />\n  <h3"));
    EXPECT_TRUE(contient(p, "function OpenAll() {\n}\n"));
    EXPECT_FALSE(contient(p, "Statistiques"));
    EXPECT_FALSE(contient(p, "restante"));

    // 16 x 16 cells without letter values.
    EXPECT_EQ(compte(p, "  <td class=\"pcase\""), 16 * 16);
    EXPECT_FALSE(contient(p, "<span"));
    const std::string td = "  <td class=\"pcase\"";
    EXPECT_TRUE(contient(p, "  <tr>\n" + td + "> </td>\n" + td + "> 1</td>\n"));
    EXPECT_TRUE(contient(p, td + ">15</td>\n  </tr>\n  <tr>\n" + td + "> A</td>\n" + td + " bgcolor=\"black\"> </td>\n"));
    EXPECT_EQ(compte(p, td + " bgcolor=\"darkorange\">E</td>\n"), 1);  // the joker
    // The start cell covered by MAISON.
    EXPECT_TRUE(contient(p, td + " bgcolor=\"burlywood\">S</td>\n" + td + " bgcolor=\"burlywood\">O</td>\n"));
    // 225 cells, 15 tiles: the black square counts as unused.
    EXPECT_TRUE(contientLigne(p, "Il y a 210 cases inutilis\351es<br />"));
    for (int r = 1; r <= 15; ++r)
        for (int c = 1; c <= 15; ++c)
            if (!dicP.plateau[r][c]) dicP.plateau[r][c] = 'A';
    EXPECT_TRUE(contientLigne(grille(tmp), "Il y a 0 cases inutilis\351es<br />"));
}

TEST(GrilleHtml, WordListPrefersTheRubricOfTheWordsDictionary) {
    InTempDir tmp;
    partieGrille();
    v_histo[0].mots = "MAISON, ZZZ";  // ZZZ is in no dictionary: it has no rubric
    params.rubriques = {"Perso1", ""};
    std::filesystem::create_directory("_dicos");
    ecrireFichier(FIC_DEFINITIONS_PERSO, "[Perso1]\nMAISON=demeure <ancienne>\n[Autre]\nMER=non\n");
    gl_indexDefinitions = {{"MAISON", "habitation"}, {"MER", "\351tendue d'eau / oc\351an"}};
    gl_definitionsChargees = true;
    EXPECT_TRUE(contient(grille(tmp), "de la partie</a></h3>\nMAISON: demeure &lt;ancienne&gt;<br />\n"
                                      "MER: \351tendue d'eau<br />\nMER: oc\351an<br />\nRELATION: ?<br />\nZZZ: ?<br />\n  <h3"));
    EXPECT_FALSE(gini_def_ok);

    // Extra dictionaries: their numbers after the word. The shell's copy of
    // the personal file is neither read nor closed while its flag is clear.
    Dico2 d;
    d.nomFichier = "noms.txt";
    d.commentaire = "Noms\\npropres";
    d.lexique.definir({"ZZZ", "MER"});
    params.dicos2.push_back(std::move(d));
    ecrireFichier("autre.ini", "[Perso1]\nMAISON=autre\n");
    ASSERT_TRUE(gini_def.open("autre.ini", false));
    gini_def_ok = true;
    const std::string p = grille(tmp);
    EXPECT_TRUE(contient(p, "1 - mots.txt<br />\n2 - noms.txt : Noms<br />\npropres<br />\n"));
    EXPECT_TRUE(contient(p, "MAISON: demeure &lt;ancienne&gt;<br />\nMER (1,2): \351tendue d'eau<br />\n"
                            "MER (1,2): oc\351an<br />\nRELATION (1): ?<br />\nZZZ (2): ?<br />\n"));
    EXPECT_TRUE(gini_def.isOpen() && gini_def_ok);
    params.chargtIniUniq = 1;  // now the shell's copy is the one read
    EXPECT_TRUE(contient(grille(tmp), "MAISON: autre<br />\n"));
    EXPECT_TRUE(gini_def.isOpen());
    gini_def.close();
}

TEST(GrilleHtml, DuplicateAndTestModeTables) {
    InTempDir tmp;
    fixtures::partieDuplicate();
    params.typePartie = TYPE_PARTIE_GRILLE;
    std::string p = grille(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, "<a href=\"#synthese\">Synth\350se de tous les joueurs</a><br/>\n"
                            "  <a href=\"#dj1\">D\351tail joueur 1: Alice</a><br/>\n"));
    EXPECT_FALSE(contient(p, "name=\"recap\""));
    EXPECT_FALSE(contient(p, "name=\"definitions\""));  // no word table, no word

    partie.modeTest = 1;
    v_histo[1].joueur = 3;  // a computer's move shows its dictionaries in test mode
    p = grille(tmp);
    verifierPage(p);
    EXPECT_TRUE(contient(p, "    <tr class=\"cj3\">\n      <td>2</td>\n      <td>MER</td>\n      <td>1\n</td>\n"));

    // No complete duplicate round: nothing is written.
    partie.modeTest = 0;
    for (auto& s : saisie_duplicate) s.clear();
    std::filesystem::remove(tmp.file("grille.html"));
    export_grille_mots_croises_html(tmp.file("grille.html"));
    EXPECT_FALSE(fichierExiste(tmp.file("grille.html")));
}
