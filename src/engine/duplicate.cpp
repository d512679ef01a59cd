#include "engine/duplicate.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/maChaine.h"
#include "display/affichage.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

std::vector<saisieDP> result_best;
std::vector<saisieDP> saisie_duplicate[8];
bool gl_tourDuplicateOuvert = false;

namespace {

char lettreDIndice(int k) { return k == IDX_JOKER ? '?' : static_cast<char>('A' + k - 1); }

int indiceDeLettre(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    return c == '?' ? IDX_JOKER : 0;
}

// Takes one tile of letter index k out of the bag.
void prendreDuSac(int k, std::string& tires) {
    --partie.sac[k];
    if (partie.nbLettresSac > 0) --partie.nbLettresSac;
    tires += lettreDIndice(k);
}

// The next letters of the fixed order: the bag holds its tail, so the first
// letters not yet drawn start at (length of the order - tiles left).
std::string tirerDansLOrdre(int manque) {
    std::vector<int> ordre;
    for (char c : params.listeLettresOrdonnees)
        if (int k = indiceDeLettre(c)) ordre.push_back(k);
    std::string tires;
    size_t p = ordre.size() - std::min<size_t>(ordre.size(), std::max<int>(partie.nbLettresSac, 0));
    for (; p < ordre.size() && static_cast<int>(tires.size()) < manque; ++p)
        if (partie.sac[ordre[p]] > 0) prendreDuSac(ordre[p], tires);
    return tires;
}

std::string tirerAuHasard(int manque) {
    std::string tires;
    while (static_cast<int>(tires.size()) < manque) {
        int total = 0;
        for (int k = 1; k < NB_LETTRES; ++k) total += std::max<int>(partie.sac[k], 0);
        if (total == 0) break;
        int r = std::rand() % total;
        int k = 1;
        for (; k < IDX_JOKER; ++k) {
            r -= std::max<int>(partie.sac[k], 0);
            if (r < 0) break;
        }
        prendreDuSac(k, tires);
    }
    return tires;
}

// Completes the shared rack from the bag and gives it to every player.
// Returns the draw text: kept letters, then "+" and the new ones when both exist.
std::string tirerChevalet() {
    int sac[NB_LETTRES] = {};
    int garde = 0;
    for (int k = 1; k < NB_LETTRES; ++k) {
        sac[k] = std::max<int>(partie.chevalet[0][k], 0);
        garde += sac[k];
    }
    std::string gardees = lettresDuSac(sac);
    int taille = std::clamp<int>(partie.tailleChevalet, 1, TAILLE_CHEVALET_MAX);
    int manque = std::max(taille - garde, 0);
    std::string nouvelles =
        params.listeLettresOrdonnees.empty() ? tirerAuHasard(manque) : tirerDansLOrdre(manque);
    for (int i = 0; i < std::max<int>(std::min<int>(partie.nbJoueurs, NB_JOUEURS_MAX), 1); ++i)
        alimChevalet(i, gardees + nouvelles);
    if (gardees.empty() || nouvelles.empty()) return gardees + nouvelles;
    return gardees + "+" + nouvelles;
}

saisieDP topDuTour(const std::string& tirage) {
    saisieDP top;
    top.tirage = tirage;
    if (v_result.empty()) {
        top.mot = ptraduire("Rien trouve");
        return top;
    }
    const solution& s = v_result.front();
    top.score = s.score;
    top.nbTops = static_cast<short>(
        std::count_if(v_result.begin(), v_result.end(), [&s](const solution& m) { return m.score == s.score; }));
    top.nbLettresPosees = s.nbLettresPosees;
    top.position = s.position;
    top.mot = s.mot;
    top.mots = s.mots;
    top.horizontal = s.sens == 'H';
    return top;
}

// The round's record is the one waiting at the end of the history; a record
// already used by a move gets a new one after it.
c_historique& enregistrementDuTour() {
    if (v_histo.empty() || v_histo.back().joueur != 0) ajouterEnregHisto();
    return v_histo.back();
}

void noterTour(const std::string& tirage, const saisieDP& top) {
    c_historique& h = enregistrementDuTour();
    h.reglette = tirage;
    h.chevalet = partie.chevaletEnCours;
    h.scoreMeilleurCoup = top.score;
    h.nbTops = top.nbTops;
    h.meilleurCoup = top.position.empty() ? top.mot : top.mot + " " + top.position + " " + std::to_string(top.score);
    h.texteTops.clear();
    for (const solution& s : v_result) {
        if (s.score != top.score) break;
        if (!h.texteTops.empty()) h.texteTops += ", ";
        h.texteTops += s.mot + " " + s.position;
    }
}

void terminerAuDebutDuTour(const std::string& tirage) {
    c_historique& h = enregistrementDuTour();
    h.joueur = 1;
    h.typeCoup = COUP_FIN_DUPLICATE;
    h.reglette = tirage;
    h.coupJoue = ptraduire("Rien trouve");
    end_game();
}

}  // namespace

void gestDebDuplicate() {
    // Nothing pending may start a second round while this one opens.
    couperTimerPas();
    if (!partie.partieEnCours) return;
    std::string tirage = tirerChevalet();
    showrack(partie.chevalet[0], false);
    if (partie.chevaletEnCours.empty()) {
        if (gs_finPartie.empty()) gs_finPartie = ptraduire(TXT_FIN_LETTRES_PLACEES);
        terminerAuDebutDuTour(tirage);
        return;
    }

    bool coupPossible = dicP.suggestmove(false);
    saisieDP top = topDuTour(tirage);
    result_best.push_back(top);
    if (!coupPossible) {
        std::string question =
            formaterTexte(ptraduire("Aucun mot ne peut \352tre plac\351 avec le tirage %s\n"
                                    "voulez-vous terminer la partie ?"),
                          {tirage});
        if (msgQuestion(question, ptraduire("Confirmation"))) {
            if (gs_finPartie.empty()) gs_finPartie = ptraduire("Partie terminee car aucun mot ne peut etre place");
            terminerAuDebutDuTour(tirage);
            return;
        }
    }

    // Every player gets the round's entry: a computer its move (the level
    // limits are not applied, so the top), a human an empty one that his
    // typed move fills. The count of complete rounds relies on it.
    for (int p = 0; p < std::min<int>(partie.nbJoueurs, NB_JOUEURS_MAX); ++p) {
        saisieDP entree;
        if (partie.joueurs[p].type != 0 && coupPossible) {
            entree = top;
            entree.tirage.clear();
            entree.nbTops = 0;
        }
        saisie_duplicate[p].push_back(entree);
    }
    gl_tourDuplicateOuvert = true;
    boutonsE(true);
    if (params.chronoPartie)
        lancerChronoPartie(true, partie.chronoPartie);
    else
        lancerChrono();
    noterTour(tirage, top);
    partie.debutCoup = std::time(nullptr);
    qvaff_infos_sc();
    armerTimerPas();
}
