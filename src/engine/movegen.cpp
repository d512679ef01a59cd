// The move generator: every legal placement of the current player's rack,
// scored, best first.

#include "engine/dicopartie.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <algorithm>
#include <climits>

namespace {

const int TUILES_MAX = 15;  // tiles of one move; solution keeps 16 slots
const unsigned TOUTES_LETTRES = (1u << 26) - 1;

enum Genre { BLOC, VIDE, LETTRE };

bool estLettre(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char majuscule(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A tile in board notation: a joker (lower case) is worth nothing.
int valeurTuile(char c) { return c >= 'A' && c <= 'Z' ? partie.valeurLettre[c - 'A' + 1] : 0; }

// The perpendicular word an empty cell would join: the tiles before and after
// it, the letters allowed there and the value of the tiles already there.
struct Croix {
    bool existe = false;
    unsigned masque = TOUTES_LETTRES;
    int somme = 0;
    std::string avant, apres;  // board notation
};

// Walks the board along one direction: line l, index i along the line. For
// horizontal moves a line is a row; for vertical ones a column.
class Generateur {
public:
    Generateur(const DicoPartie& d, std::vector<solution>& sortie)
        : d_(d), sortie_(sortie), croix_(TAILLE_GRILLE * TAILLE_GRILLE),
          ancres_(TAILLE_GRILLE * TAILLE_GRILLE) {
        n_ = std::min<int>(partie.dimPlateau, DIM_MAX);
        int j = std::clamp<int>(partie.joueurEnCours, 0, NB_JOUEURS_MAX - 1);
        nbRack_ = 0;
        for (int k = 1; k < NB_LETTRES; ++k) {
            rack_[k] = std::clamp<int>(partie.chevalet[j][k], 0, TUILES_MAX);
            nbRack_ += rack_[k];
        }
        nbRack_ = std::min(nbRack_, TUILES_MAX);
        // The first move, on a board without tiles, must cover the start cell.
        premierCoup_ = true;
        for (int r = 1; r <= n_; ++r)
            for (int c = 1; c <= n_; ++c) premierCoup_ = premierCoup_ && !estLettre(d_.plateau[r][c]);
    }

    void generer() {
        if (n_ < 1 || nbRack_ == 0) return;
        for (int sens = 0; sens < 2; ++sens) {
            horizontal_ = sens == 0;
            preparer();
            for (ligne_ = 1; ligne_ <= n_; ++ligne_)
                for (int s = 1; s <= n_; ++s)
                    if (debutPossible(s)) {
                        debut_ = s;
                        etendre(s);
                    }
        }
    }

private:
    void versCase(int l, int i, int& r, int& c) const {
        r = horizontal_ ? l : i;
        c = horizontal_ ? i : l;
    }
    Genre genre(int l, int i) const {
        if (l < 1 || l > n_ || i < 1 || i > n_) return BLOC;
        int r, c;
        versCase(l, i, r, c);
        char t = d_.plateau[r][c];
        if (estLettre(t)) return LETTRE;
        // Odd characters from a file block the cell like a black square.
        return t == 0 && d_.special[r][c] != CASE_NOIRE ? VIDE : BLOC;
    }
    char tuile(int l, int i) const {
        int r, c;
        versCase(l, i, r, c);
        return d_.plateau[r][c];
    }
    Croix& croix(int l, int i) { return croix_[l * TAILLE_GRILLE + i]; }
    bool ancre(int l, int i) const { return ancres_[l * TAILLE_GRILLE + i]; }

    void preparer() {
        for (int l = 1; l <= n_; ++l)
            for (int i = 1; i <= n_; ++i) {
                Croix& x = croix(l, i);
                x = Croix();
                bool a = false;
                if (genre(l, i) == VIDE) {
                    calculerCroix(l, i, x);
                    if (premierCoup_) {
                        int r, c;
                        versCase(l, i, r, c);
                        a = r == partie.ligneDepart && c == partie.colDepart;
                    } else {
                        a = genre(l - 1, i) == LETTRE || genre(l + 1, i) == LETTRE || genre(l, i - 1) == LETTRE ||
                            genre(l, i + 1) == LETTRE;
                    }
                }
                ancres_[l * TAILLE_GRILLE + i] = a;
            }
    }

    // The perpendicular word runs along index i, across the lines.
    void calculerCroix(int l, int i, Croix& x) {
        int h = l;
        while (genre(h - 1, i) == LETTRE) --h;
        for (int k = h; k < l; ++k) x.avant += tuile(k, i);
        for (int k = l + 1; genre(k, i) == LETTRE; ++k) x.apres += tuile(k, i);
        if (x.avant.empty() && x.apres.empty()) return;
        x.existe = true;
        std::string av, ap;
        for (char c : x.avant) av += majuscule(c);
        for (char c : x.apres) ap += majuscule(c);
        for (char c : x.avant + x.apres) x.somme += valeurTuile(c);
        x.masque = 0;
        for (int k = 0; k < 26; ++k)
            if (d_.lexique.contient(av + static_cast<char>('A' + k) + ap)) x.masque |= 1u << k;
    }

    // A word may start at s when the cell before it holds no tile and an
    // anchor lies ahead within reach of the rack.
    bool debutPossible(int s) const {
        if (genre(ligne_, s) == BLOC || genre(ligne_, s - 1) == LETTRE) return false;
        int vides = 0;
        for (int i = s; i <= n_; ++i) {
            Genre g = genre(ligne_, i);
            if (g == BLOC) return false;
            if (g == VIDE && ++vides > nbRack_) return false;
            if (ancre(ligne_, i)) return true;
        }
        return false;
    }

    void etendre(int i) {
        Genre g = genre(ligne_, i);
        if (g == LETTRE) {
            char t = tuile(ligne_, i);
            ajouter(majuscule(t), t);
            if (d_.lexique.prefixe(motMaj_)) terminer(i);
            retirer();
            return;
        }
        if (g != VIDE || nbPosees_ >= nbRack_) return;
        unsigned masque = croix(ligne_, i).masque;
        for (int k = 1; k <= 26; ++k) {
            if (!(masque & (1u << (k - 1)))) continue;
            if (rack_[k] > 0) poser(i, k, static_cast<char>('A' + k - 1));
            if (rack_[IDX_JOKER] > 0) poser(i, IDX_JOKER, static_cast<char>('a' + k - 1));
        }
    }

    void poser(int i, int k, char t) {
        --rack_[k];
        posees_[nbPosees_] = i;
        lettres_[nbPosees_++] = t;
        ancresCouvertes_ += ancre(ligne_, i);
        ajouter(majuscule(t), t);
        if (d_.lexique.prefixe(motMaj_)) terminer(i);
        retirer();
        ancresCouvertes_ -= ancre(ligne_, i);
        --nbPosees_;
        ++rack_[k];
    }

    void ajouter(char maj, char plateau) {
        motMaj_ += maj;
        motPlateau_ += plateau;
    }
    void retirer() {
        motMaj_.pop_back();
        motPlateau_.pop_back();
    }

    // Cell i is the last one added: record the word when it ends here, and
    // go on while the line allows.
    void terminer(int i) {
        Genre suivant = genre(ligne_, i + 1);
        if (suivant != LETTRE && nbPosees_ > 0 && ancresCouvertes_ > 0 && motMaj_.size() >= 2 &&
            d_.lexique.contient(motMaj_))
            enregistrer();
        if (suivant != BLOC) etendre(i + 1);
    }

    void enregistrer() {
        // A single tile making words both ways is found along both lines:
        // keep the horizontal one.
        if (!horizontal_ && nbPosees_ == 1 && croix(ligne_, posees_[0]).existe) return;
        solution s;
        s.sens = horizontal_ ? 'H' : 'V';
        s.mot = motPlateau_;
        s.mots = motPlateau_;
        s.nbLettresPosees = static_cast<short>(nbPosees_);
        s.lettres.assign(lettres_, lettres_ + nbPosees_);
        long principal = 0, coef = 1, total = 0;
        for (int i = debut_, p = 0; i < debut_ + static_cast<int>(motPlateau_.size()); ++i) {
            int r, c;
            versCase(ligne_, i, r, c);
            if (p < nbPosees_ && posees_[p] == i) {
                char t = lettres_[p];
                principal += valeurTuile(t) * partie.coefLettre[r][c];
                coef *= partie.coefMot[r][c];
                s.lig[p] = static_cast<short>(r);
                s.col[p] = static_cast<short>(c);
                const Croix& x = croix(ligne_, i);
                if (x.existe) {
                    total += (x.somme + valeurTuile(t) * partie.coefLettre[r][c]) * partie.coefMot[r][c];
                    s.mots += ", " + x.avant + t + x.apres;
                }
                ++p;
            } else {
                principal += valeurTuile(tuile(ligne_, i));
            }
        }
        total += principal * coef;
        size_t longueur = motPlateau_.size();
        if (nbPosees_ == partie.tailleChevalet)
            total += partie.bonusTessarel;
        else if (longueur <= 15)
            total += params.bonus[longueur];
        s.score = static_cast<short>(std::clamp<long>(total, SHRT_MIN, SHRT_MAX));
        s.coefMot = static_cast<short>(std::clamp<long>(coef, SHRT_MIN, SHRT_MAX));
        if (horizontal_)
            s.position = static_cast<char>('A' + ligne_ - 1) + std::to_string(debut_);
        else
            s.position = std::to_string(ligne_) + static_cast<char>('A' + debut_ - 1);
        sortie_.push_back(std::move(s));
    }

    const DicoPartie& d_;
    std::vector<solution>& sortie_;
    std::vector<Croix> croix_;
    std::vector<bool> ancres_;
    int n_ = 0;
    int rack_[NB_LETTRES] = {};
    int nbRack_ = 0;
    bool premierCoup_ = false;
    bool horizontal_ = true;
    int ligne_ = 0;
    int debut_ = 0;
    std::string motMaj_, motPlateau_;
    int posees_[TUILES_MAX + 1] = {};
    char lettres_[TUILES_MAX + 1] = {};
    int nbPosees_ = 0;
    int ancresCouvertes_ = 0;
};

}  // namespace

bool DicoPartie::suggestmove(bool) {
    v_result.clear();
    Generateur(*this, v_result).generer();
    // Generation order (horizontal first, then by line and start) breaks ties.
    std::stable_sort(v_result.begin(), v_result.end(),
                     [](const solution& a, const solution& b) { return a.score > b.score; });
    bestmove = c_bestmove();
    if (!v_result.empty()) {
        const solution& top = v_result.front();
        bestmove.score = top.score;
        std::copy(top.lig, top.lig + 16, bestmove.lig);
        std::copy(top.col, top.col + 16, bestmove.col);
        bestmove.mot = top.mot;
        bestmove.position = top.position;
    }
    if (!v_histo.empty()) v_histo.back().scoreMeilleurCoup = bestmove.score;
    return !v_result.empty();
}
