#include "engine/divers.h"

#include "app/messagebox.h"
#include "display/affichage.h"
#include "engine/dicopartie.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <algorithm>

namespace {

int indexSilencieux(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    if (c == '?') return IDX_JOKER;
    return 0;
}

// 'A' to 'Z', each repeated by its count, then one '?' per joker.
template <class Compteur>
std::string lettresDesCompteurs(const Compteur compteurs[NB_LETTRES]) {
    std::string s;
    for (int k = 1; k <= 26; ++k)
        if (compteurs[k] > 0) s.append(static_cast<size_t>(compteurs[k]), static_cast<char>('A' + k - 1));
    if (compteurs[IDX_JOKER] > 0) s.append(static_cast<size_t>(compteurs[IDX_JOKER]), '?');
    return s;
}

signed char versCompteur(int v) { return static_cast<signed char>(std::clamp(v, -128, 127)); }

// The full tile set: the game's letter counts, or the fixed letter order.
void distributionComplete(int sac[NB_LETTRES], int& total) {
    std::fill(sac, sac + NB_LETTRES, 0);
    if (params.listeLettresOrdonnees.empty()) {
        for (int k = 1; k < NB_LETTRES; ++k) sac[k] = std::max<int>(partie.nbLettre[k], 0);
    } else {
        for (char c : params.listeLettresOrdonnees) {
            int k = indexSilencieux(c);
            if (k > 0) ++sac[k];
        }
    }
    total = 0;
    for (int k = 1; k < NB_LETTRES; ++k) {
        sac[k] = std::min(sac[k], 127);
        total += sac[k];
    }
}

}  // namespace

void fillsock() {
    int sac[NB_LETTRES];
    int total;
    distributionComplete(sac, total);
    for (int k = 0; k < NB_LETTRES; ++k) partie.sac[k] = versCompteur(sac[k]);
    partie.nbLettresSac = static_cast<short>(total);
}

void sacMoinsPlateau(int sac[NB_LETTRES], int& nbLettres) {
    distributionComplete(sac, nbLettres);
    int n = std::min<int>(partie.dimPlateau, DIM_MAX);
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c) {
            int k = indiceTuile(dicP.plateau[r][c]);
            if (k == 0) continue;
            --sac[k];
            --nbLettres;
        }
}

std::string lettresDuSac(const int sac[NB_LETTRES]) { return lettresDesCompteurs(sac); }

int indiceTuile(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if ((c >= 'a' && c <= 'z') || c == '?') return IDX_JOKER;
    return 0;
}

std::string listerLeSac(bool, int) {
    std::string s;
    for (int k = 1; k < NB_LETTRES; ++k) {
        if (partie.sac[k] <= 0) continue;
        if (!s.empty()) s += ' ';
        s += "(";
        s += k == IDX_JOKER ? '?' : static_cast<char>('A' + k - 1);
        s += " * " + std::to_string(partie.sac[k]) + ")";
    }
    return s;
}

short indiceLettre(char c, int) {
    int k = indexSilencieux(c);
    if (k == 0) affErreur("indiceLettre : caract\350re inattendu (code %d)", static_cast<unsigned char>(c));
    return static_cast<short>(k);
}

void alim_tableaux(short t1[NB_LETTRES], short t2[NB_LETTRES]) {
    std::fill(t1, t1 + NB_LETTRES, 0);
    std::fill(t2, t2 + NB_LETTRES, 0);
    if (v_histo.empty()) return;
    const c_historique& h = v_histo.back();
    for (char c : h.chevalet)
        if (c != '+' && c != '-') ++t1[indiceLettre(c, 0)];
    for (char c : h.reglette)
        if (c != '+' && c != '-') ++t2[indiceLettre(c, 0)];
}

void showrack(const signed char compteurs[NB_LETTRES], bool) { partie.chevaletEnCours = lettresDesCompteurs(compteurs); }

void init_board() {
    dicP.viderPlateaux();
    fillsock();
    v_result.clear();
    result_best.clear();
    for (auto& v : saisie_duplicate) v.clear();
    gl_tourDuplicateOuvert = false;
    v_histo.clear();
    v_histo.push_back(c_historique());
    v_listeContenu.clear();
    partie.nbLignesHisto = 1;
    partie.nbPasses = 0;
    partie.finPartie = 0;
    partie.tempsEcoule = 0;
    partie.saisieDuplicateEnCours = 0;  // nobody is typing a move of a game not yet begun
    partie.joueurEnCours = 0;
    partie.coupEnCours.clear();
    partie.chevaletEnCours.clear();
    partie.nouvellePartie();
    gs_finPartie.clear();
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
        Joueur& j = partie.joueurs[i];
        if (i >= partie.nbJoueurs) j.type = 0;
        j.score = 0;
        j.scoreFinal = 0;
        j.sommeMeilleursCoups = 0;
        std::fill(j.lettres, j.lettres + NB_LETTRES, 0);
        std::fill(partie.chevalet[i], partie.chevalet[i] + NB_LETTRES, 0);
    }
    for (int i = 0; i < std::min<int>(partie.nbJoueurs, NB_JOUEURS_MAX); ++i) {
        drawarea.affNom(i);
        drawarea.affScore(i);
    }
    qvaff_infos_sc();
    drawarea.AffPlateau();
}
