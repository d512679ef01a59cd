#include "engine/normal.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/maChaine.h"
#include "display/affichage.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "engine/timers.h"
#include "reports/export_html.h"
#include "reports/recap.h"

#include <algorithm>
#include <climits>
#include <ctime>

const char* const TXT_FIN_LETTRES_PLACEES = "Partie terminee car toutes les lettres sont placees";
const char* const TXT_FIN_PASSES = "Partie terminee car tous les joueurs ont pass\351 leur tour";

int RecordsSuspendus::actifs_ = 0;

namespace {

int nbJoueursEnJeu() { return std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX); }
int joueurCourant() { return std::clamp<int>(partie.joueurEnCours, 0, NB_JOUEURS_MAX - 1); }

void ajouterAuScore(int joueur, int delta) {
    short& s = partie.joueurs[joueur].score;
    s = static_cast<short>(std::clamp(s + delta, SHRT_MIN, SHRT_MAX));
}

// Normal game: each rack's value comes off its player; the first player
// found with an empty rack, from the current one in turn order, gets the others'.
void reajusterScores(int n) {
    int premier = -1, total = 0;
    for (int d = 0; d < n && premier < 0; ++d) {
        int i = (joueurCourant() + d) % n;
        if (chevaletVide(i)) premier = i;
    }
    for (int i = 0; i < n; ++i) {
        int v = valeurChevalet(i);
        ajouterAuScore(i, -v);
        total += v;
    }
    if (premier >= 0) ajouterAuScore(premier, total);
}

void annoncerGagnant(int n) {
    if (n == 0) return;
    short meilleur = SHRT_MIN;
    for (int i = 0; i < n; ++i) meilleur = std::max(meilleur, partie.joueurs[i].score);
    std::string noms;
    int nb = 0;
    for (int i = 0; i < n; ++i)
        if (partie.joueurs[i].score == meilleur) {
            noms += (nb++ ? ", " : "") + partie.joueurs[i].nom;
        }
    std::string modele = nb > 1 ? ptraduire("Egalit\351 entre %s avec %d points")
                                : ptraduire("Le gagnant est %s avec %d points");
    std::string texte = formaterTexte(modele, {noms, std::to_string(meilleur)});
    if (!gs_finPartie.empty()) texte = gs_finPartie + "\n" + texte;
    msgAffiche(texte);
}

// The end line takes the record waiting for the next move, or a new one.
void ajouterLigneFin() {
    if (v_histo.empty() || v_histo.back().joueur != 0) ajouterEnregHisto();
    c_historique& h = v_histo.back();
    h.joueur = static_cast<short>(joueurCourant() + 1);
    h.typeCoup = COUP_FIN_PARTIE;
    h.score = 0;
    h.nbLettresPosees = 0;
    h.coupJoue = ptraduire("Fin de partie");
}

}  // namespace

bool chevaletVide(int joueur) {
    if (joueur < 0 || joueur >= NB_JOUEURS_MAX) return true;
    for (int k = 1; k < NB_LETTRES; ++k)
        if (partie.chevalet[joueur][k] > 0) return false;
    return true;
}

int valeurChevalet(int joueur) {
    if (joueur < 0 || joueur >= NB_JOUEURS_MAX) return 0;
    int v = 0;
    for (int k = 1; k < NB_LETTRES; ++k)
        if (partie.chevalet[joueur][k] > 0) v += partie.chevalet[joueur][k] * partie.valeurLettre[k];
    return v;
}

void alimChevalet(int joueur, const std::string& lettres) {
    if (joueur < 0 || joueur >= NB_JOUEURS_MAX) return;
    Joueur& j = partie.joueurs[joueur];
    std::fill(j.lettres, j.lettres + NB_LETTRES, 0);
    std::fill(partie.chevalet[joueur], partie.chevalet[joueur] + NB_LETTRES, 0);
    int slot = 0;
    for (char c : lettres) {
        int k = c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c == '?' ? IDX_JOKER : 0;
        if (k == 0 || slot >= NB_LETTRES) continue;
        j.lettres[slot++] = c;
        ++partie.chevalet[joueur][k];
    }
}

void passer_joueur_suiv(bool pass) {
    int n = nbJoueursEnJeu();
    int courant = joueurCourant();
    partie.nbPasses = pass ? static_cast<short>(std::min(partie.nbPasses + 1, SHRT_MAX)) : 0;
    // An empty rack counts as every player passing.
    if (n == 0 || chevaletVide(courant)) {
        partie.nbPasses = static_cast<short>(n);
        if (gs_finPartie.empty()) gs_finPartie = ptraduire(TXT_FIN_LETTRES_PLACEES);
    }
    if (partie.nbPasses >= n || partie.finPartie) {
        if (gs_finPartie.empty()) gs_finPartie = ptraduire(TXT_FIN_PASSES);
        end_game();
        // Callers re-test the flag to know whether the game goes on.
        partie.partieEnCours = 0;
        return;
    }
    partie.joueurEnCours = static_cast<short>((courant + 1) % n);
    partie.coupEnCours.clear();
    partie.debutCoup = std::time(nullptr);
    lancerChrono();
    drawarea.AffJoueurEnCours();
}

void end_game() {
    if (!partie.partieEnCours) return;
    partie.partieEnCours = 0;
    partie.finPartie = 1;
    couperChrono();
    couperTimerPas();
    gl_tourDuplicateOuvert = false;

    int n = nbJoueursEnJeu();
    // Duplicate scores are the sum of the rounds: no rack adjustment.
    if (!partie.modeDuplicate) reajusterScores(n);
    annoncerGagnant(n);
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) partie.joueurs[i].scoreFinal = partie.joueurs[i].score;
    if (!RecordsSuspendus::actifs()) partie.records.alterscores();
    save_recap_vsc("_recap/histo.vsc");
    save_recap("_recap/histo.qv2");
    export_html("_recap/histo.html");
    ajouterLigneFin();
    qvaff_infos_sc();
}
