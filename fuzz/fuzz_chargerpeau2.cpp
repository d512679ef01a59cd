// fuzz-seconds: 60
// Arbitrary bytes as a game-parameter file. Checked after each input: the
// rules in place stay within their limits, reglesDuFichier gives the rules
// that ChargerPeau2 put in place and the messages that it showed, and a game
// played on those rules, saved, loads back (the rules read from the file
// again) and saves again byte for byte.
#include "app/interface.h"
#include "app/messagebox.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/recap.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const PEA2 = "fuzz.pea2";
const char* const RECAP = "fuzz.qv2";
const char* const RESAUVE = "fuzz2.qv2";

// Keeps the texts of the message boxes; questions get "Non".
class Boites : public GestionnaireMessages {
public:
    std::vector<std::string> textes;
    void information(const std::string& t) override { textes.push_back(t); }
    void erreur(const std::string& t) override { textes.push_back(t); }
    bool question(const std::string&, const std::string&) override { return false; }
    bool saisie(const std::string&, std::string&) override { return false; }
    void journal(const std::string&) override {}
    std::string choixFichier(const std::string&, const std::string&, const std::string&, bool) override {
        return std::string();
    }
};

Boites boites;

void exiger(bool condition, const char* quoi) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", quoi);
        std::abort();
    }
}

std::string lire(const char* chemin) {
    std::ifstream in(chemin, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool dansLePlateau(int l, int c) { return l >= 1 && c >= 1 && l <= partie.dimPlateau && c <= partie.dimPlateau; }

void verifierLimites() {
    const int n = partie.dimPlateau;
    exiger(n >= DIM_MIN && n <= DIM_MAX, "board size");
    exiger(dansLePlateau(partie.ligneDepart, partie.colDepart), "start cell on the board");
    exiger(dicP.special[partie.ligneDepart][partie.colDepart] != CASE_NOIRE, "start cell not black");
    exiger(partie.tailleChevalet >= 2 && partie.tailleChevalet <= TAILLE_CHEVALET_MAX, "rack size");
    exiger(partie.bonusTessarel >= 0 && partie.bonusTessarel <= 1000, "whole-rack bonus");
    exiger(partie.nbLettre[0] == 0 && partie.valeurLettre[0] == 0, "index 0 is no letter");
    for (int k = 1; k < NB_LETTRES; ++k) {
        exiger(partie.nbLettre[k] >= 0 && partie.nbLettre[k] <= 99, "letter count");
        exiger(partie.valeurLettre[k] >= 0 && partie.valeurLettre[k] <= 99, "letter value");
    }
    int noires = 0;
    for (int l = 0; l < TAILLE_GRILLE; ++l)
        for (int c = 0; c < TAILLE_GRILLE; ++c) {
            const short m = partie.coefMot[l][c], k = partie.coefLettre[l][c];
            const char s = dicP.special[l][c];
            exiger(m >= 1 && m <= 4 && k >= 1 && k <= 4 && (m == 1 || k == 1), "one multiplier a cell");
            exiger(s == 0 || s == CASE_NOIRE, "special cell");
            exiger(dansLePlateau(l, c) || (m == 1 && k == 1 && s == 0), "nothing off the board");
            noires += s == CASE_NOIRE;
        }
    exiger(noires == partie.nbCasesNoires, "black squares counted");
    for (int i = 1; i <= 15; ++i) exiger(params.bonus[i] >= 0 && params.bonus[i] <= 1000, "length bonus");
    exiger(params.dicos2.size() <= 9, "extra dictionaries");
    exiger(vect_regpt.size() == params.dicos2.size(), "a grouping per dictionary");
    exiger(params.rubriques.size() == params.dicos2.size() + 1, "a rubric per dictionary");
}

void verifierLecture(const ReglesLues& lues) {
    const ReglesJeu& r = lues.regles;
    exiger(lues.messages == boites.textes, "the messages shown");
    exiger(r.dimPlateau == partie.dimPlateau && r.ligneDepart == partie.ligneDepart && r.colDepart == partie.colDepart,
           "board size and start cell read ahead");
    exiger(r.nbCasesNoires == partie.nbCasesNoires, "black squares read ahead");
    exiger(r.tailleChevalet == partie.tailleChevalet && r.bonusTessarel == partie.bonusTessarel, "rack read ahead");
    exiger(std::equal(r.nbLettre, r.nbLettre + NB_LETTRES, partie.nbLettre), "letter counts read ahead");
    exiger(std::equal(r.valeurLettre, r.valeurLettre + NB_LETTRES, partie.valeurLettre), "letter values read ahead");
    exiger(std::memcmp(r.coefMot, partie.coefMot, sizeof r.coefMot) == 0, "word multipliers read ahead");
    exiger(std::memcmp(r.coefLettre, partie.coefLettre, sizeof r.coefLettre) == 0, "letter multipliers read ahead");
    exiger(std::memcmp(r.special, dicP.special, sizeof r.special) == 0, "black squares read ahead");
}

// The first tile left in the bag, 0 when it is empty.
int premiereTuile() {
    for (int k = 1; k < NB_LETTRES; ++k)
        if (partie.sac[k] > 0) return k;
    return 0;
}

void tirer(int k) {
    --partie.sac[k];
    --partie.nbLettresSac;
}

char lettre(int k) { return k == IDX_JOKER ? '?' : static_cast<char>('A' + k - 1); }

// A game of two on the rules in place: each rack filled from the bag in
// letter order, then player 1 puts one tile on the start cell.
void jouerUnePartie() {
    partie.nbJoueurs = 2;
    partie.modeDuplicate = partie.modeTest = partie.modeResolution = partie.arbitrage = 0;
    partie.partieJoker = 0;
    init_board();
    for (int i = 0; i < 2; ++i) {
        Joueur& j = partie.joueurs[i];
        j.nom = i == 0 ? "Alice" : "Bruno";
        j.numNom = {12 + i, j.nom};
        std::string rack;
        for (int n = 0; n < partie.tailleChevalet; ++n) {
            const int k = premiereTuile();
            if (k == 0) break;
            tirer(k);
            rack += lettre(k);
        }
        alimChevalet(i, rack);
    }
    const int k = premiereTuile();
    if (k == 0) return;
    tirer(k);
    const char t = k == IDX_JOKER ? 'e' : lettre(k);  // a joker stands for a letter
    const int l = partie.ligneDepart, c = partie.colDepart;
    dicP.plateau[l][c] = t;
    dicP.plateauT[c][l] = t;
    c_historique& h = v_histo.back();
    h.joueur = 1;
    h.score = static_cast<short>(partie.valeurLettre[k] * partie.coefLettre[l][c] * partie.coefMot[l][c]);
    h.sens = 1;
    h.nbLettresPosees = 1;
    h.lettres[0] = t;
    h.coord1[0] = static_cast<short>(c);
    h.coord2[0] = static_cast<short>(l);
    h.coupJoue = h.mots = std::string(1, t);
    h.position = nomCase(l, c);
    partie.joueurs[0].score = h.score;
    ajouterEnregHisto();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool pret = [] {
        setGestionnaireMessages(&boites);
        return true;
    }();
    (void)pret;
    FILE* f = std::fopen(PEA2, "wb");
    if (!f) return 0;
    const bool ecrit = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0 || !ecrit) return 0;

    boites.textes.clear();
    ChargerPeau2(PEA2);
    verifierLimites();
    verifierLecture(reglesDuFichier(PEA2));

    jouerUnePartie();
    partie.partieEnCours = 0;
    save_recap(RECAP);
    const std::string sauve = lire(RECAP);
    exiger(!sauve.empty(), "recap written");
    // Loaded over other rules, so that the loader reads them from the file.
    parametresParDefaut();
    partie.fichierPea2 = PEA2_DEFAUT;
    exiger(chargerRecapitulatif(RECAP), "the game saved on the rules loads back");
    verifierLimites();
    save_recap(RESAUVE);
    exiger(lire(RESAUVE) == sauve, "saved again byte for byte");
    return 0;
}
