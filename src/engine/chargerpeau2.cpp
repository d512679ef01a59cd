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
#include <vector>

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

const char* const SECTION_PLATEAU_PEA2 = "Plateau";
const char* const SECTION_JETONS = "Jetons";
const char* const SECTION_REGLES = "Regles";

// Every cell plain, no black square: what a board row then changes.
void plateauNu(ReglesJeu& r) {
    for (int l = 0; l < TAILLE_GRILLE; ++l)
        for (int c = 0; c < TAILLE_GRILLE; ++c) {
            r.coefMot[l][c] = 1;
            r.coefLettre[l][c] = 1;
            r.special[l][c] = 0;
        }
    r.nbCasesNoires = 0;
}

// A number of the section within [lo, hi], `def` when the key is missing;
// false when the key holds anything else.
bool lireNombre(const INIfile& ini, const char* section, const char* cle, long lo, long hi, long def, long& v) {
    const std::string texte = ini(section, cle, "");
    if (texte.empty()) {
        v = def;
        return true;
    }
    return entierStrict(texte, lo, hi, v);
}

// Why a section is refused: the key whose value breaks it, or a start cell on
// a black square, named by the cell since the file may hold no start key.
struct RefusSection {
    std::string cle;
    std::string caseNoire;
    bool departParDefaut = false;  // the file names no start cell: the centre
    RefusSection(const std::string& c = std::string()) : cle(c) {}
    bool refuse() const { return !cle.empty() || !caseNoire.empty(); }
};

// Each section reader fills `r` when the section is usable; otherwise it
// says why and leaves `r` as it was.

RefusSection lirePlateau(const INIfile& ini, ReglesJeu& r) {
    const char* const S = SECTION_PLATEAU_PEA2;
    long n, lig, col;
    if (!lireNombre(ini, S, "Dimension", DIM_MIN, DIM_MAX, 15, n)) return RefusSection("Dimension");
    if (!lireNombre(ini, S, "LigneDepart", 1, n, (n + 1) / 2, lig)) return RefusSection("LigneDepart");
    if (!lireNombre(ini, S, "ColonneDepart", 1, n, (n + 1) / 2, col)) return RefusSection("ColonneDepart");
    ReglesJeu p = r;
    plateauNu(p);
    for (int l = 1; l <= n; ++l) {
        const std::string cle = std::to_string(l);
        const std::string ligne = ini(S, cle, "");
        if (ligne.size() != static_cast<size_t>(n)) return cle;
        for (int c = 1; c <= n; ++c) {
            const char ch = ligne[static_cast<size_t>(c - 1)];
            if (ch == '2' || ch == '3' || ch == '4') p.coefLettre[l][c] = static_cast<short>(ch - '0');
            else if (ch == '5' || ch == '6' || ch == '7') p.coefMot[l][c] = static_cast<short>(ch - '3');
            else if (ch == '9') {
                p.special[l][c] = CASE_NOIRE;
                ++p.nbCasesNoires;
            } else if (ch != '0') {
                return cle;
            }
        }
    }
    // A row beyond the board says the file meant another dimension.
    for (int l = static_cast<int>(n) + 1; l <= DIM_MAX; ++l)
        if (ini.has(S, std::to_string(l))) return std::to_string(l);
    // No first move could be played.
    if (p.special[lig][col] == CASE_NOIRE) {
        RefusSection refus;
        refus.caseNoire = nomCase(static_cast<int>(lig), static_cast<int>(col));
        refus.departParDefaut = !ini.has(S, "LigneDepart") && !ini.has(S, "ColonneDepart");
        return refus;
    }
    p.dimPlateau = static_cast<unsigned short>(n);
    p.ligneDepart = static_cast<short>(lig);
    p.colDepart = static_cast<short>(col);
    r = p;
    return RefusSection();
}

RefusSection lireJetons(const INIfile& ini, ReglesJeu& r) {
    short nombres[NB_LETTRES] = {}, valeurs[NB_LETTRES] = {};
    for (int k = 1; k <= IDX_JOKER; ++k) {
        const std::string cle = k == IDX_JOKER ? std::string("Joker") : std::string(1, static_cast<char>('A' + k - 1));
        // "count,value"
        const std::string texte = ini(SECTION_JETONS, cle, "");
        const size_t virgule = texte.find(',');
        long nombre, valeur;
        if (virgule == std::string::npos || !entierStrict(texte.substr(0, virgule), 0, 99, nombre) ||
            !entierStrict(texte.substr(virgule + 1), 0, 99, valeur))
            return cle;
        nombres[k] = static_cast<short>(nombre);
        valeurs[k] = static_cast<short>(valeur);
    }
    std::copy(nombres, nombres + NB_LETTRES, r.nbLettre);
    std::copy(valeurs, valeurs + NB_LETTRES, r.valeurLettre);
    return RefusSection();
}

RefusSection lireReglesChevalet(const INIfile& ini, ReglesJeu& r) {
    long chevalet, bonus;
    if (!lireNombre(ini, SECTION_REGLES, "Chevalet", 2, TAILLE_CHEVALET_MAX, 7, chevalet)) return RefusSection("Chevalet");
    if (!lireNombre(ini, SECTION_REGLES, "Bonus", 0, 1000, 50, bonus)) return RefusSection("Bonus");
    r.tailleChevalet = static_cast<short>(chevalet);
    r.bonusTessarel = static_cast<short>(bonus);
    return RefusSection();
}

std::string texteRefus(const std::string& fichier, const char* section, const RefusSection& refus) {
    if (refus.caseNoire.empty())
        return formaterTexte(ptraduire("Fichier de param\350tres '%s' : la section [%s] est refus\351e (cl\351 %s), "
                                       "ses valeurs par d\351faut sont utilis\351es"),
                             {fichier, section, refus.cle});
    const char* const modele =
        refus.departParDefaut
            ? "Fichier de param\350tres '%s' : la section [%s] est refus\351e (la case de d\351part %s, au centre par "
              "d\351faut, est une case noire), ses valeurs par d\351faut sont utilis\351es"
            : "Fichier de param\350tres '%s' : la section [%s] est refus\351e (la case de d\351part %s est une case "
              "noire), ses valeurs par d\351faut sont utilis\351es";
    return formaterTexte(ptraduire(modele), {fichier, section, refus.caseNoire});
}

const TextesFichierIllisible TEXTES_PEA2 = {
    "Le fichier de param\350tres '%s' est introuvable, les param\350tres par d\351faut sont utilis\351s",
    "Le fichier de param\350tres '%s' n'est pas un fichier ordinaire (dossier, tube ou p\351riph\351rique), "
    "les param\350tres par d\351faut sont utilis\351s",
    "Le fichier de param\350tres '%s' ne peut pas \352tre lu, les param\350tres par d\351faut sont utilis\351s",
    "Le fichier de param\350tres '%s' est trop grand (plus de 16 Mo), les param\350tres par d\351faut sont utilis\351s",
};

// Opens the file and reads its rules: a section it does not hold keeps the
// built-in values, and so does one it refuses.
ReglesLues lireReglesJeu(INIfile& ini, const std::string& fichier) {
    ReglesLues lues;
    lues.regles = reglesParDefaut();
    lues.fichierLu = ini.open(fichier, false);
    if (!lues.fichierLu) {
        lues.messages.push_back(texteFichierIllisible(TEXTES_PEA2, fichier, ini.erreur()));
        return lues;
    }
    const std::vector<std::string> noms = ini.sectionNames();
    const struct {
        const char* nom;
        RefusSection (*lire)(const INIfile&, ReglesJeu&);
    } sections[] = {{SECTION_PLATEAU_PEA2, lirePlateau}, {SECTION_JETONS, lireJetons}, {SECTION_REGLES, lireReglesChevalet}};
    for (const auto& s : sections) {
        if (std::find(noms.begin(), noms.end(), s.nom) == noms.end()) continue;
        const RefusSection refus = s.lire(ini, lues.regles);
        if (refus.refuse()) lues.messages.push_back(texteRefus(fichier, s.nom, refus));
    }
    return lues;
}

void appliquerRegles(const ReglesJeu& r) {
    partie.dimPlateau = r.dimPlateau;
    partie.ligneDepart = r.ligneDepart;
    partie.colDepart = r.colDepart;
    partie.nbCasesNoires = r.nbCasesNoires;
    partie.tailleChevalet = r.tailleChevalet;
    partie.bonusTessarel = r.bonusTessarel;
    std::copy(r.nbLettre, r.nbLettre + NB_LETTRES, partie.nbLettre);
    std::copy(r.valeurLettre, r.valeurLettre + NB_LETTRES, partie.valeurLettre);
    std::memcpy(partie.coefMot, r.coefMot, sizeof partie.coefMot);
    std::memcpy(partie.coefLettre, r.coefLettre, sizeof partie.coefLettre);
    std::memcpy(dicP.special, r.special, sizeof dicP.special);
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

ReglesJeu reglesParDefaut() {
    ReglesJeu r;
    plateauNu(r);
    poser(r.coefMot, kMotTriple, 3);
    poser(r.coefMot, kMotDouble, 2);
    poser(r.coefLettre, kLettreTriple, 3);
    poser(r.coefLettre, kLettreDouble, 2);
    std::copy(kNombres, kNombres + NB_LETTRES, r.nbLettre);
    std::copy(kValeurs, kValeurs + NB_LETTRES, r.valeurLettre);
    return r;
}

std::string nomCase(int lig, int col) { return static_cast<char>('A' + lig - 1) + std::to_string(col); }

ReglesLues reglesDuFichier(const std::string& fichier) {
    INIfile ini;
    return lireReglesJeu(ini, fichier);
}

void parametresParDefaut() {
    appliquerRegles(reglesParDefaut());
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
    const ReglesLues lues = lireReglesJeu(ini, fichier);
    for (const std::string& message : lues.messages) msgAffiche(message);
    if (!lues.fichierLu) {
        dicP.lexique.vider();
        dicP.commentaire.clear();
        dicP.nomFichier.clear();
        InitLangue(params.ficRecords);
        return;
    }
    appliquerRegles(lues.regles);
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
