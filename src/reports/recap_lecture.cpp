// Loading a recap file back into the running game. The file is read and
// checked whole into a plain value first; the game is touched only once the
// file is known to be usable.
#include "reports/recap.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "display/affichage.h"
#include "engine/arbitrage.h"
#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/normal.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "engine/timers.h"
#include "reports/recap_format.h"

#include <FL/fl_utf8.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
namespace {

// The game that the last load resumed, as its history length and turn time
// stamp: any move, pass or new game changes one of them.
struct PartieChargee {
    size_t histo = 0;
    std::time_t debutCoup = 0;
    bool intacte() const { return histo == v_histo.size() && debutCoup == partie.debutCoup; }
};
PartieChargee g_derniereChargee;
const int NB_ENREG_MAX = 32766;
const int NB_CHAMPS = 64;
const int LONGUEUR_CHEVALET_MAX = NB_LETTRES;

struct JoueurLu {
    short type = 0;
    short score = 0;
    std::string nom;
    std::string lettres;
};

struct EntreeLue {
    std::vector<std::string> champs;  // fields of the "|" line, missing ones empty
};

// Everything the loaders take from the file, checked. The reader sets every
// member the loader of its version uses.
struct RecapLu {
    int version;
    bool modeTest, modeResolution, duplicate, joker, enCours;
    std::string arbitrageSvg, arbitrageIni;
    int nbJoueurs;
    bool chronoPartie;
    short chronoDuplicate;
    short chronoJoueur[NB_JOUEURS_MAX];
    std::string pea2;
    // The parameters that the game will be loaded with: their board, black
    // squares and rack, and what their loader says of them (a file that
    // cannot be read, a section refused) when it has not loaded them yet.
    std::string pea2EnVigueur;
    bool pea2Lu;  // false: the built-in rules stand
    std::vector<std::string> messagesPea2;
    int dimension, chevalet;
    char special[TAILLE_GRILLE][TAILLE_GRILLE];
    std::string plateau[DIM_MAX + 1];
    int total;
    JoueurLu joueurs[NB_JOUEURS_MAX];
    int nbEnreg;
    int sac[NB_LETTRES];
    std::vector<std::vector<std::string>> enregs;  // 64 fields each
    std::vector<EntreeLue> tops;
    std::vector<EntreeLue> saisies[NB_JOUEURS_MAX];
    // Older versions: the human's entries and the draw of the open round.
    std::vector<EntreeLue> saisiesHumain;
    std::string tirageOuvert;
};

// A field list whose missing fields read "" (never the last field's value).
std::vector<std::string> decouper(const std::string& ligne, size_t nbChamps) {
    std::vector<std::string> champs(nbChamps);
    size_t debut = 0;
    for (size_t i = 0; i < nbChamps && debut <= ligne.size(); ++i) {
        size_t fin = ligne.find('|', debut);
        if (fin == std::string::npos) {
            champs[i] = ligne.substr(debut);
            break;
        }
        champs[i] = ligne.substr(debut, fin - debut);
        debut = fin + 1;
    }
    return champs;
}


// Why a file is refused: the key that breaks a limit, or that does not fit
// the board or the rack of the parameters it is loaded with (a tile on one of
// their black squares names that square).
struct Refus {
    std::string cle;
    bool horsRegles = false;
    std::string caseNoire;
};

// The file as the program's Latin-1 text. A recap that an editor re-encoded
// to UTF-8 (valid UTF-8 holding non-ASCII bytes) is looked up under the UTF-8
// section names and its values are converted back.
class Source {
public:
    explicit Source(const INIfile& ini) : ini_(ini) {
        const std::string texte = ini.text();
        utf8_ = fl_utf8test(texte.data(), static_cast<unsigned>(texte.size())) > 1;
    }
    std::string operator()(const std::string& section, const std::string& cle, const char* def) const {
        const std::string v = ini_(nomSection(section), cle, def);
        return utf8_ ? utf8VersLatin1(v) : v;
    }
    bool has(const std::string& section, const std::string& cle) const { return ini_.has(nomSection(section), cle); }
    bool get(const std::string& section, const std::string& cle, bool def) const {
        return ini_.get(nomSection(section), cle, def);
    }

private:
    std::string nomSection(const std::string& section) const { return utf8_ ? latin1VersUtf8(section) : section; }
    const INIfile& ini_;
    bool utf8_ = false;
};

class Lecteur {
public:
    Lecteur(const INIfile& ini, RecapLu& lu) : ini_(ini), lu_(lu) {}

    // false with `refus` set when the file breaks a limit.
    bool lire(bool ancien, Refus& refus);

private:
    // The file's numbers are 16-bit values.
    int entier16(const char* section, const std::string& cle) { return entier(section, cle, -32768, 32767); }
    int entier(const char* section, const std::string& cle, long lo, long hi) {
        std::string texte = ini_(section, cle, "");
        if (texte.empty()) return 0;
        long v = entierTolerant(texte);
        if (v < lo || v > hi) throw Refus{"[" + std::string(section) + "] " + cle, false, {}};
        return static_cast<int>(v);
    }
    void exiger(bool ok, const std::string& section, const std::string& cle) {
        if (!ok) throw Refus{"[" + section + "] " + cle, false, {}};
    }
    void exigerDansLesRegles(bool ok, const std::string& section, const std::string& cle,
                             const std::string& caseNoire = std::string()) {
        if (!ok) throw Refus{"[" + section + "] " + cle, true, caseNoire};
    }
    void lireRegles(bool ancien);
    void lirePlateau();
    std::vector<EntreeLue> lignesDuplicate(const std::string& section, int taille);
    void lireJoueurs();
    void lireEnregs();

    const Source ini_;
    RecapLu& lu_;
};

std::vector<EntreeLue> Lecteur::lignesDuplicate(const std::string& section, int taille) {
    std::vector<EntreeLue> lignes;
    for (int k = 0; k < taille; ++k) {
        const std::string cle = std::to_string(k);
        exiger(ini_.has(section, cle), section, cle);
        lignes.push_back({decouper(ini_(section, cle, ""), NB_CHAMPS)});
    }
    return lignes;
}

void Lecteur::lireJoueurs() {
    // A file in which no player can be found is not loaded empty.
    bool trouve = false;
    for (int i = 1; i <= lu_.nbJoueurs; ++i) {
        JoueurLu& j = lu_.joueurs[i - 1];
        const std::string cleJoueur = cleNumero("Joueur %d", i);
        trouve = trouve || ini_.has(SECTION_SCORES, cleJoueur);
        // "kind,score": what is missing stays 0.
        const std::string texte = ini_(SECTION_SCORES, cleJoueur, "");
        const char* s = texte.c_str();
        char* fin = nullptr;
        long type = std::strtol(s, &fin, 10);
        if (fin != s) {
            exiger(type >= 0 && type <= 8, SECTION_SCORES, cleJoueur);
            j.type = static_cast<short>(type);
            if (*fin == ',') {
                const char* s2 = fin + 1;
                long score = std::strtol(s2, &fin, 10);
                exiger(fin == s2 || (score >= -32768 && score <= 32767), SECTION_SCORES, cleJoueur);
                if (fin != s2) j.score = static_cast<short>(score);
            }
        }
        j.nom = ini_(SECTION_SCORES, cleNumero("Nom Joueur %d", i), "");
        const std::string cleLettres = cleNumero("Lettres Joueur %d", i);
        j.lettres = ini_(SECTION_SCORES, cleLettres, "");
        exiger(j.lettres.size() <= static_cast<size_t>(LONGUEUR_CHEVALET_MAX), SECTION_SCORES, cleLettres);
        // The letters that take a rack slot; more than the rack holds would
        // be lost at the next save.
        const auto surLeChevalet = std::count_if(j.lettres.begin(), j.lettres.end(),
                                                 [](char c) { return (c >= 'A' && c <= 'Z') || c == '?'; });
        exigerDansLesRegles(surLeChevalet <= lu_.chevalet, SECTION_SCORES, cleLettres);
    }
    exiger(trouve, SECTION_SCORES, "Joueur 1");
}

void Lecteur::lireEnregs() {
    lu_.nbEnreg = entier(SECTION_PARTIE, "Nb Enreg. Recap", 0, NB_ENREG_MAX);
    for (int n = 1; n <= lu_.nbEnreg; ++n) {
        const std::string cle = std::to_string(n);
        std::vector<std::string> champs = decouper(ini_(SECTION_RECAP, cle, ""), NB_CHAMPS);
        const long joueur = entierTolerant(champs[0]);
        exiger(joueur >= 0 && joueur <= lu_.nbJoueurs, SECTION_RECAP, cle);
        const long nbLettres = entierTolerant(champs[2]);
        exiger(nbLettres >= 0 && nbLettres <= TAILLE_CHEVALET_MAX, SECTION_RECAP, cle);
        // Fields 25 to 55 are grid coordinates; the position text among them
        // (41) starts with a row letter or a column number, within the grid too.
        for (int f = 25; f <= 55; ++f) {
            const long v = entierTolerant(champs[f - 1]);
            exiger(v >= 0 && v < TAILLE_GRILLE, SECTION_RECAP, cle);
        }
        lu_.enregs.push_back(std::move(champs));
    }
}

// Versions up to 31 and the older loader keep the parameters in use; later
// ones load those that they name unless already loaded.
void Lecteur::lireRegles(bool ancien) {
    if (ancien || lu_.version <= 31 || lu_.pea2 == partie.fichierPea2) {
        lu_.pea2EnVigueur = partie.fichierPea2;
        lu_.pea2Lu = true;
        lu_.dimension = std::clamp<int>(partie.dimPlateau, 0, DIM_MAX);
        lu_.chevalet = partie.tailleChevalet;
        std::memcpy(lu_.special, dicP.special, sizeof lu_.special);
        return;
    }
    ReglesLues lues = reglesDuFichier(lu_.pea2);
    lu_.pea2EnVigueur = lu_.pea2;
    lu_.pea2Lu = lues.fichierLu;
    lu_.messagesPea2 = std::move(lues.messages);
    lu_.dimension = lues.regles.dimPlateau;
    lu_.chevalet = lues.regles.tailleChevalet;
    std::memcpy(lu_.special, lues.regles.special, sizeof lu_.special);
}

// A tile outside the board would be lost at the next save, and one on a black
// square would stand where no move may go.
void Lecteur::lirePlateau() {
    const size_t n = static_cast<size_t>(lu_.dimension);
    for (int r = 1; r <= DIM_MAX; ++r) {
        const std::string cle = std::to_string(r);
        const std::string ligne = ini_(SECTION_PLATEAU, cle, "");
        for (size_t i = 0; i < ligne.size(); ++i) {
            const char c = ligne[i];
            const bool tuile = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
            exigerDansLesRegles(!tuile || (static_cast<size_t>(r) <= n && i < n), SECTION_PLATEAU, cle);
            const int col = static_cast<int>(i) + 1;
            exigerDansLesRegles(!tuile || lu_.special[r][col] != CASE_NOIRE, SECTION_PLATEAU, cle, nomCase(r, col));
            if (i < static_cast<size_t>(DIM_MAX)) exiger(tuile || c == '.' || c == '_', SECTION_PLATEAU, cle);
        }
        lu_.plateau[r] = ligne.substr(0, DIM_MAX);
    }
}

bool Lecteur::lire(bool ancien, Refus& refus) {
    try {
        lu_.version = entier16(SECTION_GENERAL, "Version");
        // Test mode and resolution as the writer writes them; files that hold
        // neither key give both from the older "Mode resolution".
        const bool ancienneCle = !ini_.has(SECTION_PARTIE, "Resolution") && !ini_.has(SECTION_PARTIE, "Mode test");
        const bool modeResolution = ini_.get(SECTION_PARTIE, "Mode resolution", false);
        lu_.modeResolution = ancienneCle ? modeResolution : ini_.get(SECTION_PARTIE, "Resolution", false);
        lu_.modeTest = ancienneCle ? modeResolution : ini_.get(SECTION_PARTIE, "Mode test", false);
        lu_.duplicate = ini_.get(SECTION_PARTIE, "Duplicate", false);
        lu_.joker = ini_.get(SECTION_PARTIE, "Joker Tessarel", false);
        lu_.enCours = ini_.get(SECTION_PARTIE, "En Cours", false);
        if (!ancien) {
            lu_.arbitrageSvg = ini_(SECTION_GENERAL, "Arbitrage", "");
            lu_.arbitrageIni = ini_(SECTION_GENERAL, "ArbitrageIni", "");
        }
        lu_.nbJoueurs = entier(SECTION_PARTIE, "Nb Joueurs", 1, NB_JOUEURS_MAX);
        exiger(lu_.nbJoueurs >= 1, SECTION_PARTIE, "Nb Joueurs");
        if (!ancien) {
            // Both clocks are read whatever the mode: a test-mode game writes
            // the game chrono under "Duplicate=non".
            lu_.chronoPartie = ini_.get(SECTION_PARTIE, "Chrono partie", false);
            lu_.chronoDuplicate = static_cast<short>(entier16(SECTION_PARTIE, "Chrono partie temps restant"));
            for (int i = 1; i <= lu_.nbJoueurs; ++i)
                lu_.chronoJoueur[i - 1] = static_cast<short>(
                    entier16(SECTION_PARTIE, cleNumero("Chrono partie temps restant j%d", i)));
            lu_.pea2 = ini_(SECTION_GENERAL, "Pea2", PEA2_DEFAUT);
        }
        lireRegles(ancien);
        lirePlateau();
        lu_.total = entier16(SECTION_PARTIE, "Total");
        lireJoueurs();
        // "taille" is not read: the number of tiles left is the sum of the counters.
        if (!ancien)
            for (int k = 0; k < NB_LETTRES; ++k) lu_.sac[k] = entier(SECTION_SAC, std::to_string(k), 0, 127);
        lireEnregs();
        if (lu_.duplicate) {
            if (ancien) {
                const char* humain = "RecapJoueurHumain";
                const int n = entier(humain, "Taille", 0, NB_ENREG_MAX);
                lu_.saisiesHumain = lignesDuplicate(humain, n);
                lu_.tops = lignesDuplicate(SECTION_RECAP_TOP, n);
                lu_.tirageOuvert = decouper(ini_(SECTION_RECAP_TOP, std::to_string(n), ""), 1)[0];
            } else {
                const int n = entier(SECTION_RECAP_TOP, "Taille", 0, NB_ENREG_MAX);
                lu_.tops = lignesDuplicate(SECTION_RECAP_TOP, n);
                for (int p = 1; p <= lu_.nbJoueurs; ++p) {
                    const std::string section = cleNumero(SECTION_RECAP_JOUEUR, p);
                    const int m = entier(section.c_str(), "Taille", 0, NB_ENREG_MAX);
                    lu_.saisies[p - 1] = lignesDuplicate(section, m);
                }
            }
        }
    } catch (const Refus& r) {
        refus = r;
        return false;
    }
    return true;
}

// A refusal by the rules comes with what the parameters' loader says of them:
// the reason why they are the built-in ones, in whole or in part.
void refuser(const std::string& path, const Refus& refus, const RecapLu& lu) {
    if (!refus.horsRegles) {
        msgAffiche(formaterTexte(ptraduire("Le fichier '%s' n'est pas un r\351capitulatif valide (%s)"), {path, refus.cle}));
        return;
    }
    const std::string n = std::to_string(lu.dimension);
    const std::string chevalet = std::to_string(lu.chevalet);
    const std::string cle =
        refus.caseNoire.empty() ? refus.cle
                                : formaterTexte(ptraduire("%s (tuile sur la case noire %s)"), {refus.cle, refus.caseNoire});
    std::string texte =
        lu.pea2Lu ? formaterTexte(ptraduire("Le r\351capitulatif '%s' ne tient pas dans les r\350gles des param\350tres '%s' "
                                            "(plateau de %s x %s, chevalet de %s lettres) : %s"),
                                  {path, lu.pea2EnVigueur, n, n, chevalet, cle})
                  : formaterTexte(ptraduire("Le r\351capitulatif '%s' ne tient pas dans les r\350gles par d\351faut "
                                            "(plateau de %s x %s, chevalet de %s lettres) : %s"),
                                  {path, n, n, chevalet, cle});
    for (const std::string& m : lu.messagesPea2) texte += "\n" + m;
    msgAffiche(texte);
}

bool ouvrir(INIfile& ini, const std::string& path) {
    // The INI reader refuses anything but a regular file within the size limit.
    if (!ini.open(path, false)) {
        msgAffiche(texteFichierIllisible(TEXTES_FICHIER, path, ini.erreur()));
        return false;
    }
    return true;
}

// A new game for the file: every player slot back to nothing, so that no
// kind, score or letter of the previous game survives.
void nouvellePartiePourLeFichier() {
    init_board();
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) partie.joueurs[i] = Joueur();
}

void lirePlateau(const RecapLu& lu) {
    const int n = std::min<int>(partie.dimPlateau, DIM_MAX);
    for (int r = 1; r <= n; ++r)
        for (int c = 1; c <= n; ++c) {
            char t = static_cast<size_t>(c - 1) < lu.plateau[r].size() ? lu.plateau[r][c - 1] : '.';
            char v = (t == '.' || t == '_') ? 0 : t;
            dicP.plateau[r][c] = v;
            dicP.plateauT[c][r] = v;
        }
}

// The bag moves by what a counter can give or take (0 to 127), so that the
// number of tiles left stays the sum of the counters.
void changerSac(int idx, int delta) {
    if (idx <= 0) return;
    const int avant = partie.sac[idx];
    partie.sac[idx] = static_cast<signed char>(std::clamp(avant + delta, 0, 127));
    partie.nbLettresSac = static_cast<short>(partie.nbLettresSac + partie.sac[idx] - avant);
}
void oterDuSac(int idx, int nombre) { changerSac(idx, -nombre); }
void remettreAuSac(int idx, int nombre) { changerSac(idx, nombre); }

std::string lireJoueurs(const RecapLu& lu) {
    partie.nbJoueursHumains = 0;
    for (int i = 1; i <= lu.nbJoueurs; ++i) {
        const JoueurLu& l = lu.joueurs[i - 1];
        Joueur& j = partie.joueurs[i - 1];
        j.type = l.type;
        j.score = l.score;
        if (j.type == 0) ++partie.nbJoueursHumains;
        j.nom = l.nom;
        j.numNom = {11 + i, l.nom};
        // Only letters and the joker take a slot: a draw's "+", a "-" or a
        // blank would push letters past the rack.
        alimChevalet(i - 1, l.lettres);
    }
    return lu.joueurs[0].lettres;
}

void lignePourLaListe(const c_historique& h) {
    switch (h.typeCoup) {
        case COUP_PASSE: AlimLST(0, ptraduire("passe son tour"), 0, "", h.reglette); break;
        case COUP_ECHANGE:
            AlimLST(0, formaterTexte(ptraduire("echange '%s'"), {h.lettresEchangees}), 0, "", h.reglette);
            break;
        case COUP_ERRONE: AlimLST(0, ptraduire("coup errone"), 0, "", h.reglette); break;
        default: AlimLST(h.score, h.mots, h.nbLettresPosees, h.position, h.reglette); break;
    }
}

// Fills v_histo from the records; `apresEnreg` runs for each record that
// names its player, before the next empty record is appended.
template <class F>
void lireHistorique(const RecapLu& lu, F apresEnreg) {
    v_histo.assign(1, c_historique());
    for (size_t n = 0; n < lu.enregs.size(); ++n) {
        for (short f = 1; f <= NB_CHAMPS; ++f) alimRec(lu.enregs[n][f - 1], f);
        c_historique& h = v_histo.back();
        if (h.joueur <= 0) continue;  // the next record fills the same one
        partie.joueurEnCours = static_cast<short>(h.joueur - 1);
        lignePourLaListe(h);
        apresEnreg(static_cast<int>(n) + 1);
        v_histo.push_back(c_historique());
    }
}

saisieDP entreeDe(const EntreeLue& l, saisieDP base, bool joueur) {
    base.tirage = l.champs[0];
    base.position = l.champs[5];
    base.mot = l.champs[6];
    base.score = versShort(l.champs[1]);
    base.nbLettresPosees = versShort(l.champs[3]);
    if (joueur) base.mots = l.champs[8];
    else base.nbTops = versShort(l.champs[7]);
    // The direction is not stored: the position text tells it ("H8" across).
    base.horizontal = !base.position.empty() && base.position[0] >= 'A' && base.position[0] <= 'Z';
    return base;
}

// Sets the game of the file going again; false, with nothing changed, when
// the player to move has no letters (a test-mode file holds no rack) or a
// duplicate round could draw none: the game would end inside the load.
bool reprendre(const RecapLu& lu, const std::string& lettresJoueur1, const std::string& tirageTop) {
    if (!partie.modeDuplicate) {
        // A file saved before the first move names no mover: the first turn is player 1's.
        bool unCoup = false;
        for (const auto& e : lu.enregs) unCoup = unCoup || entierTolerant(e[0]) > 0;
        if (!unCoup) partie.joueurEnCours = static_cast<short>(partie.nbJoueurs - 1);
        if (chevaletVide((partie.joueurEnCours + 1) % partie.nbJoueurs)) return false;
    } else if (chevaletVide(0) && partie.nbLettresSac <= 0) {
        return false;
    }
    partie.debutCoup = std::time(nullptr);
    partie.partieEnCours = 1;
    partie.modeTest = 0;
    if (!partie.modeDuplicate) {
        partie.coupEnCours.clear();
        passer_joueur_suiv(false);
        showrack(partie.chevalet[partie.joueurEnCours], false);
        partie.coupEnCours = partie.chevaletEnCours;
        v_histo.back().reglette = partie.chevaletEnCours;
        Joueur& j = partie.joueurs[partie.joueurEnCours];
        if (j.type == 0) {
            j.type = 6;  // the moves offered to a human are computed without level limits
            dicP.suggestmove(true);
            j.type = 0;
        }
    } else {
        showrack(partie.chevalet[0], false);
        partie.coupEnCours = partie.chevaletEnCours;
        partie.joueurEnCours = 0;
        gestDebDuplicate();
        if (!result_best.empty()) result_best.back().tirage = tirageTop.empty() ? lettresJoueur1 : tirageTop;
        gl_tourDuplicateOuvert = true;
    }
    if (partie.partieEnCours) {
        // A computer to move plays from the step timer, as after a played move.
        const bool ordi = !partie.modeDuplicate && partie.joueurs[partie.joueurEnCours].type != 0;
        boutonsE(!ordi);
        if (ordi) armerTimerPas();
        partie.nbPasses = 0;
    }
    return true;
}

// "En Cours" set and resolution clear: the game goes on, unless it cannot.
void reprendreOuArreter(const RecapLu& lu, const std::string& lettresJoueur1, const std::string& tirageTop) {
    if (reprendre(lu, lettresJoueur1, tirageTop)) return;
    msgAffiche(ptraduire("Cette partie ne peut pas \352tre reprise : le joueur qui a la main n'a pas de lettres"));
    partie.partieEnCours = 0;
    boutonsE(false);
}

// Every player gets an entry for each round of the file; one that the file
// lacks reads as an empty entry, so that the next save keeps every round.
void completerLesTours(int nbJoueurs) {
    size_t tours = result_best.size();
    for (const auto& entrees : saisie_duplicate) tours = std::max(tours, entrees.size());
    for (int p = 0; p < nbJoueurs; ++p) saisie_duplicate[p].resize(tours);
}

void appliquer31(const RecapLu& lu) {
    nouvellePartiePourLeFichier();
    partie.modeTest = lu.modeTest;
    partie.modeResolution = lu.modeResolution;
    partie.arbitrage = !lu.arbitrageSvg.empty();
    partie.modeDuplicate = lu.duplicate;
    partie.partieJoker = lu.joker;
    partie.partieEnCours = 0;
    partie.nbJoueurs = static_cast<short>(lu.nbJoueurs);

    params.chronoPartie = lu.chronoPartie;
    if (lu.chronoPartie) {
        for (int i = 0; i < lu.nbJoueurs; ++i) partie.joueurs[i].chrono = lu.chronoJoueur[i];
        partie.chronoPartie = lu.chronoDuplicate;
    }
    alimMenuModeResolution(partie.modeResolution);
    alimMenuDuplicate();
    alimMenuJoker();

    if (lu.version <= 31) {
        msgAffiche(ptraduire("Recapitulatif cree avec une version <= 1.4, on garde donc les parametres actuels"));
    } else if (lu.pea2 != partie.fichierPea2) {
        // A file that is missing gives its message and the built-in rules,
        // those that the board was checked against.
        msgAffiche(formaterTexte(ptraduire("On charge les parametres du fichier %s"), {lu.pea2}));
        ChargerPeau2(lu.pea2);
    }

    lirePlateau(lu);
    const std::string lettresJoueur1 = lireJoueurs(lu);
    partie.nbLignesHisto = static_cast<short>(lu.nbEnreg + 1);

    int sac[NB_LETTRES];
    if (params.listeLettresOrdonnees.empty()) {
        std::copy(lu.sac, lu.sac + NB_LETTRES, sac);
        if (lu.version <= 33) sac[0] = 0;
    } else {
        // The bag holds the tail of the fixed order: every tile on neither the
        // board nor a rack (the shared one in a duplicate game), so that the
        // draws go on where the game left them.
        int nb;
        sacMoinsPlateau(sac, nb);
        for (int p = 0; p < (partie.modeDuplicate ? 1 : lu.nbJoueurs); ++p)
            for (int k = 1; k < NB_LETTRES; ++k) sac[k] -= partie.chevalet[p][k];
    }
    poserSac(sac);

    lireHistorique(lu, [](int) {});

    if (partie.modeDuplicate) {
        saisieDP entree;
        for (const EntreeLue& l : lu.tops) {
            entree = entreeDe(l, entree, false);
            result_best.push_back(entree);
        }
        for (int p = 0; p < lu.nbJoueurs; ++p)
            for (const EntreeLue& l : lu.saisies[p]) {
                entree = entreeDe(l, entree, true);
                saisie_duplicate[p].push_back(entree);
            }
        completerLesTours(lu.nbJoueurs);
    }
    qvaff_infos_sc();

    const bool E = lu.enCours;
    const bool R = partie.modeResolution;
    if (E && !R) {
        reprendreOuArreter(lu, lettresJoueur1, std::string());
    } else if (!E) {
        partie.modeResolution = valMenuModeResolution();
        partie.modeDuplicate = valMenuDuplicate();
        partie.partieJoker = valMenuJoker();
        boutonsE(false);
    }
    drawarea.AffPlateau();
    drawarea.AffJoueurEnCoursFltk();
    if (E && partie.partieEnCours) {
        lancerChronoPartie(true, partie.chronoPartie);
        lancerChrono();
    }
    if (partie.arbitrage) {
        arbitrage.nomFichierSvg = lu.arbitrageSvg;
        arbitrage.nomFichierIni = lu.arbitrageIni;
        arbitrage.lireFichierSVG(lu.arbitrageSvg + ".svg");
    }
}

// Versions 21, 27 and 30 hold no bag: it is rebuilt by replaying the moves
// against a full bag.
void appliquerAncien(const RecapLu& lu) {
    nouvellePartiePourLeFichier();
    if (lu.version == 21 || lu.version == 27) {
        msgAfficheEtErreurStandard(ptraduire("Version un peu ancienne, le resultat n'est pas garanti"));
    }
    partie.modeTest = lu.modeTest;
    partie.modeResolution = lu.modeResolution;
    partie.modeDuplicate = lu.duplicate;
    partie.partieJoker = lu.joker;
    partie.arbitrage = 0;
    const bool E = lu.enCours;
    if (E && partie.modeDuplicate)
        msgAffiche(ptraduire("Il s'agit d'une partie duplicate creee avec une version anterieure a la v1.3, "
                             "seul le joueur humain sera traite"));
    // The check marks show the file's flags, also for a game that stays stopped.
    alimMenuModeResolution(partie.modeResolution);
    alimMenuDuplicate();
    alimMenuJoker();
    lirePlateau(lu);
    partie.nbJoueurs = static_cast<short>(lu.nbJoueurs);
    const std::string lettresJoueur1 = lireJoueurs(lu);
    // The shared rack was drawn from the bag once, whoever holds it.
    if (partie.modeDuplicate || partie.unSeulChevalet)
        for (int k = 1; k < NB_LETTRES; ++k) oterDuSac(k, partie.chevalet[0][k]);
    partie.nbLignesHisto = static_cast<short>(lu.nbEnreg + 1);

    const bool chevaletPartage = partie.modeDuplicate || partie.modeTest || partie.unSeulChevalet;
    lireHistorique(lu, [&](int n) {
        const c_historique& h = v_histo.back();
        short chevalet[NB_LETTRES], reglette[NB_LETTRES];
        alim_tableaux(chevalet, reglette);
        if (n <= partie.nbJoueurs && !chevaletPartage)
            for (int k = 1; k < NB_LETTRES; ++k) oterDuSac(k, reglette[k]);
        if (h.typeCoup != COUP_NORMAL && h.typeCoup != COUP_ECHANGE) return;
        if (h.typeCoup == COUP_ECHANGE) {
            for (char c : h.lettresEchangees) --reglette[indiceTuile(c)];
        } else {
            for (int u = 0; u < std::clamp<int>(h.nbLettresPosees, 0, 15); ++u) {
                if (partie.modeTest && h.lettres[u] == '+') continue;
                const int idx = indiceTuile(h.lettres[u]);
                --reglette[idx];
                if (chevaletPartage) oterDuSac(idx, 1);
            }
        }
        // Per letter: what stayed on the rack is off the letters shown; below 0
        // went back to the bag (own racks only), above 0 was drawn.
        const bool tire = (h.typeCoup == COUP_NORMAL && !partie.modeDuplicate && !partie.unSeulChevalet) ||
                          h.typeCoup == COUP_ECHANGE;
        for (int k = 1; k < NB_LETTRES; ++k) {
            const int reste = chevalet[k] - std::max<int>(reglette[k], 0);
            if (!chevaletPartage) remettreAuSac(k, std::max(-reste, 0));
            if (tire) oterDuSac(k, std::max(reste, 0));
        }
        if (h.typeCoup == COUP_ECHANGE)
            for (char c : h.lettresEchangees) remettreAuSac(indiceTuile(c), 1);
    });

    if (partie.modeDuplicate) {
        saisieDP entree;
        for (const EntreeLue& l : lu.tops) {
            entree = entreeDe(l, entree, false);
            entree.nbTops = 0;
            result_best.push_back(entree);
        }
        for (const EntreeLue& l : lu.saisiesHumain) {
            entree = entreeDe(l, entree, true);
            saisie_duplicate[0].push_back(entree);
        }
        completerLesTours(lu.nbJoueurs);
    }
    qvaff_infos_sc();
    if (E && !partie.modeResolution) {
        reprendreOuArreter(lu, lettresJoueur1, lu.tirageOuvert);
    } else if (!E) {
        // The flags stay as the file gives them.
        partie.partieEnCours = 0;
        boutonsE(false);
    }
    drawarea.AffPlateau();
    drawarea.AffJoueurEnCoursFltk();
}

bool lireEtVerifier(const INIfile& ini, const std::string& path, bool ancien, RecapLu& lu) {
    Refus refus;
    if (Lecteur(ini, lu).lire(ancien, refus)) return true;
    refuser(path, refus, lu);
    return false;
}

// The save question offers the name of the recap last read without its
// ".qv2", which the save command adds back.
std::string nomSansExtension(const std::string& path) {
    const size_t n = path.size();
    if (n > 4 && chaineMajuscule(path.substr(n - 4)) == ".QV2") return path.substr(0, n - 4);
    return path;
}

bool charger31(const INIfile& ini, const std::string& path) {
    RecapLu lu;
    if (!lireEtVerifier(ini, path, false, lu)) return false;
    appliquer31(lu);
    return true;
}

}  // namespace

void AffRecap31(std::string path) {
    INIfile ini;
    if (!ouvrir(ini, path)) return;
    charger31(ini, path);
    ini.close();
}

void AffRecap2(std::string path) { chargerRecapitulatif(path); }

bool chargerRecapitulatif(const std::string& path) {
    if (partie.partieEnCours) {
        if (!msgQuestion(ptraduire("Une partie est en cours\nsouhaitez-vous vraiment l'arreter ?"),
                         ptraduire("Confirmation")))
            return false;
        // A game that the last load resumed and nobody played since would
        // otherwise enter the records once more at each load.
        if (g_derniereChargee.intacte()) {
            RecordsSuspendus sansRecords;
            end_game();
        } else {
            end_game();
        }
    }
    // Nothing that ends inside the load is recorded.
    RecordsSuspendus sansRecords;
    g_derniereChargee = PartieChargee();
    // No turn step or countdown may fire inside a message box while the game
    // is half loaded.
    couperTimerPas();
    couperChrono();
    INIfile ini;
    if (!ouvrir(ini, path)) return false;
    // One 16-bit value decides: a version that does not fit is refused.
    const std::string texte = ini(SECTION_GENERAL, "Version", "");
    const long version = entierTolerant(texte);
    const bool lisible = !texte.empty() && version >= -32768 && version <= 32767;
    bool charge = false;
    if (lisible && version >= 31) {
        charge = charger31(ini, path);
    } else if (lisible && (version == 21 || version == 27 || version == 30)) {
        RecapLu lu;
        charge = lireEtVerifier(ini, path, true, lu);
        if (charge) appliquerAncien(lu);
    } else {
        msgAfficheEtErreurStandard(ptraduire("Mauvais n\260 de version"));
    }
    ini.close();
    g_derniereChargee = {v_histo.size(), partie.debutCoup};
    if (charge) gs_dernierRecap = nomSansExtension(path);
    return charge;
}
