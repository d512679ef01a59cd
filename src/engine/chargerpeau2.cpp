#include "engine/chargerpeau2.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "engine/dicopartie.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/records.h"

#include <algorithm>
#include <cstring>

const char* const PEA2_DEFAUT = "dezediziziz_zelio3fr_1.pea2";

namespace {

// The French tile set: counts and values of 'A' to 'Z', then the joker.
const short kNombres[NB_LETTRES] = {0, 9, 2, 2, 3, 15, 2, 2, 2, 8, 1, 1, 5, 3, 6,
                                    6, 2, 1, 6, 6, 6, 6, 2, 1, 1, 1, 1, 2};
const short kValeurs[NB_LETTRES] = {0, 1, 3, 3, 2, 1, 4, 2, 4, 1, 8, 10, 1, 2, 1,
                                    1, 3, 8, 1, 1, 1, 1, 4, 10, 10, 10, 10, 0};

struct Case {
    int lig, col;
};
// The classic 15 x 15 layout, one quarter being enough by symmetry.
const Case kMotTriple[] = {{1, 1}, {1, 8}, {8, 1}};
const Case kMotDouble[] = {{2, 2}, {3, 3}, {4, 4}, {5, 5}, {8, 8}};
const Case kLettreTriple[] = {{2, 6}, {6, 2}, {6, 6}};
const Case kLettreDouble[] = {{1, 4}, {3, 7}, {4, 1}, {4, 8}, {7, 3}, {7, 7}, {8, 4}};

template <size_t N>
void poser(short grille[TAILLE_GRILLE][TAILLE_GRILLE], const Case (&cases)[N], short coef) {
    for (const Case& c : cases) {
        const int lig[] = {c.lig, 16 - c.lig};
        const int col[] = {c.col, 16 - c.col};
        for (int l : lig)
            for (int k : col) {
                grille[l][k] = coef;
                grille[k][l] = coef;
            }
    }
}

// A number of the file within [lo, hi]; otherwise the default.
int lireBorne(const INIfile& ini, const char* section, const std::string& cle, int def, int lo, int hi) {
    long v;
    std::string texte = ini(section, cle, "");
    if (texte.empty() || !entierStrict(texte, lo, hi, v)) return def;
    return static_cast<int>(v);
}

void chargerDico(Lexique& lexique, std::string& commentaire, const std::string& fichier) {
    lexique.vider();
    commentaire.clear();
    if (fichier.empty()) return;
    if (!lexique.charger(fichier))
        affErreur("dictionnaire '%s' non charg\351", fichier.c_str());
    else
        commentaire = lexique.commentaire();
}

}  // namespace

void parametresParDefaut() {
    partie.dimPlateau = 15;
    partie.tailleChevalet = 7;
    partie.bonusTessarel = 50;
    partie.ligneDepart = 8;
    partie.colDepart = 8;
    partie.nbCasesNoires = 0;
    std::copy(kNombres, kNombres + NB_LETTRES, partie.nbLettre);
    std::copy(kValeurs, kValeurs + NB_LETTRES, partie.valeurLettre);
    for (int l = 0; l < TAILLE_GRILLE; ++l)
        for (int c = 0; c < TAILLE_GRILLE; ++c) {
            partie.coefMot[l][c] = 1;
            partie.coefLettre[l][c] = 1;
        }
    poser(partie.coefMot, kMotTriple, 3);
    poser(partie.coefMot, kMotDouble, 2);
    poser(partie.coefLettre, kLettreTriple, 3);
    poser(partie.coefLettre, kLettreDouble, 2);
    std::memset(dicP.special, 0, sizeof dicP.special);

    std::fill(params.bonus, params.bonus + 16, 0);
    params.ficRecords = "defaut.bst";
    params.typePartie = TYPE_PARTIE_ORDINAIRE;
    params.listeLettresOrdonnees.clear();
    params.dicos2.clear();
    params.rubriques.clear();
    params.langue = "fr";
    vect_regpt.clear();
}

void ChargerPeau2(const std::string& fichier) {
    parametresParDefaut();
    partie.fichierPea2 = fichier;
    INIfile ini;
    if (!ini.open(fichier, false)) {
        msgAffiche(formaterTexte(ptraduire("Le fichier de param\350tres '%s' est introuvable, "
                                           "les param\350tres par d\351faut sont utilis\351s"),
                                 {fichier}));
        dicP.lexique.vider();
        dicP.commentaire.clear();
        dicP.nomFichier.clear();
        InitLangue(params.ficRecords);
        return;
    }

    for (int i = 1; i <= 15; ++i) params.bonus[i] = static_cast<short>(lireBorne(ini, "Bonus", std::to_string(i), 0, 0, 1000));
    params.ficRecords = ini("Fichier des Records", "fic", "defaut.bst");
    if (ini.get("General", "gmc", false)) params.typePartie = TYPE_PARTIE_GRILLE;
    else if (ini.get("General", "thematique", false)) params.typePartie = TYPE_PARTIE_THEMATIQUE;
    params.listeLettresOrdonnees = ini("General", "ListeLettresOrdonnees", "");
    params.langue = ini("MsgMenus", "langue", "fr");

    dicP.nomFichier = ini("Dicos", "principal", "");
    chargerDico(dicP.lexique, dicP.commentaire, dicP.nomFichier);
    int nbSup = lireBorne(ini, "Dicos", "nb_dicos_sup", 0, 0, 9);
    for (int n = 1; n <= nbSup; ++n) {
        Dico2 d;
        d.nomFichier = ini("Dicos", "dico_" + std::to_string(n), "");
        chargerDico(d.lexique, d.commentaire, d.nomFichier);
        params.dicos2.push_back(std::move(d));
        vect_regpt.push_back(static_cast<short>(lireBorne(ini, "Dicos", "regpt_dico_" + std::to_string(n), 0, 0, 32767)));
    }
    for (int n = 1; n <= nbSup + 1; ++n) params.rubriques.push_back(ini("Dicos", "rubrique_" + std::to_string(n), ""));
    ini.close();
    InitLangue(params.ficRecords);
}
