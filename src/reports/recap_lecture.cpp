// Loading a recap file back into the running game. The file is read and
// checked whole into a plain value first; the game is touched only once the
// file is known to be usable.
#include "reports/recap.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "core/utile_gcc.h"
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace {

const long TAILLE_FICHIER_MAX = 16L * 1024 * 1024;
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

// Everything the loaders take from the file, checked.
struct RecapLu {
    int version = 0;
    bool modeTest = false;
    bool modeResolution = false;
    bool duplicate = false;
    bool joker = false;
    bool enCours = false;
    std::string arbitrageSvg, arbitrageIni;
    int nbJoueurs = 0;
    bool chronoPartie = false;
    short chronoDuplicate = 0;
    short chronoJoueur[NB_JOUEURS_MAX] = {};
    std::string pea2;
    std::string plateau[DIM_MAX + 1];
    int total = 0;
    JoueurLu joueurs[NB_JOUEURS_MAX];
    int nbEnreg = 0;
    int sac[NB_LETTRES] = {};
    int taille = 0;
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


// Why a file is refused: the key that breaks a limit.
struct Refus {
    std::string cle;
};

class Lecteur {
public:
    Lecteur(const INIfile& ini, RecapLu& lu) : ini_(ini), lu_(lu) {}

    // false with `refus` set when the file breaks a limit.
    bool lire(bool ancien, Refus& refus);

private:
    int entier(const char* section, const std::string& cle, long lo, long hi) {
        std::string texte = ini_(section, cle, "");
        if (texte.empty()) return 0;
        long v = entierTolerant(texte);
        if (v < lo || v > hi) throw Refus{"[" + std::string(section) + "] " + cle};
        return static_cast<int>(v);
    }
    void exiger(bool ok, const std::string& section, const std::string& cle) {
        if (!ok) throw Refus{"[" + section + "] " + cle};
    }
    std::vector<EntreeLue> lignesDuplicate(const std::string& section, int taille, size_t nbChamps);
    void lireJoueurs();
    void lireEnregs();

    const INIfile& ini_;
    RecapLu& lu_;
};

std::vector<EntreeLue> Lecteur::lignesDuplicate(const std::string& section, int taille, size_t nbChamps) {
    std::vector<EntreeLue> lignes;
    for (int k = 0; k < taille; ++k) {
        const std::string cle = std::to_string(k);
        exiger(ini_.has(section, cle), section, cle);
        lignes.push_back({decouper(ini_(section, cle, ""), nbChamps)});
    }
    return lignes;
}

void Lecteur::lireJoueurs() {
    for (int i = 1; i <= lu_.nbJoueurs; ++i) {
        JoueurLu& j = lu_.joueurs[i - 1];
        const std::string cleJoueur = cleNumero("Joueur %d", i);
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
    }
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
        for (int f : {25, 33, 42, 49}) {
            const int dernier = f == 25 ? 32 : f == 33 ? 40 : f == 42 ? 48 : 55;
            for (int k = f; k <= dernier; ++k) {
                const long v = entierTolerant(champs[k - 1]);
                exiger(v >= 0 && v < TAILLE_GRILLE, SECTION_RECAP, cle);
            }
        }
        lu_.enregs.push_back(std::move(champs));
    }
}

bool Lecteur::lire(bool ancien, Refus& refus) {
    try {
        lu_.version = entier(SECTION_GENERAL, "Version", -32768, 32767);
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
            lu_.chronoPartie = ini_.get(SECTION_PARTIE, "Chrono partie", false);
            lu_.chronoDuplicate = static_cast<short>(entier(SECTION_PARTIE, "Chrono partie temps restant", -32768, 32767));
            for (int i = 1; i <= lu_.nbJoueurs; ++i)
                lu_.chronoJoueur[i - 1] = static_cast<short>(
                    entier(SECTION_PARTIE, cleNumero("Chrono partie temps restant j%d", i), -32768, 32767));
            lu_.pea2 = ini_(SECTION_GENERAL, "Pea2", PEA2_DEFAUT);
        }
        for (int r = 1; r <= DIM_MAX; ++r) {
            const std::string cle = std::to_string(r);
            std::string ligne = ini_(SECTION_PLATEAU, cle, "");
            if (ligne.size() > static_cast<size_t>(DIM_MAX)) ligne.resize(DIM_MAX);
            for (char c : ligne)
                exiger((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_', SECTION_PLATEAU, cle);
            lu_.plateau[r] = ligne;
        }
        lu_.total = entier(SECTION_PARTIE, "Total", -32768, 32767);
        lireJoueurs();
        if (!ancien) {
            for (int k = 0; k < NB_LETTRES; ++k) lu_.sac[k] = entier(SECTION_SAC, std::to_string(k), 0, 127);
            lu_.taille = entier(SECTION_SAC, "taille", -32768, 32767);
            int somme = 0;
            for (int k = 0; k < NB_LETTRES; ++k) somme += lu_.sac[k];
            if (lu_.taille != somme) lu_.taille = somme;
        }
        lireEnregs();
        if (lu_.duplicate) {
            if (ancien) {
                const char* humain = "RecapJoueurHumain";
                const int n = entier(humain, "Taille", 0, NB_ENREG_MAX);
                lu_.saisiesHumain = lignesDuplicate(humain, n, 9);
                lu_.tops = lignesDuplicate(SECTION_RECAP_TOP, n, 8);
                lu_.tirageOuvert = decouper(ini_(SECTION_RECAP_TOP, std::to_string(n), ""), 1)[0];
            } else {
                const int n = entier(SECTION_RECAP_TOP, "Taille", 0, NB_ENREG_MAX);
                lu_.tops = lignesDuplicate(SECTION_RECAP_TOP, n, 8);
                for (int p = 1; p <= lu_.nbJoueurs; ++p) {
                    const std::string section = cleNumero(SECTION_RECAP_JOUEUR, p);
                    const int m = entier(section.c_str(), "Taille", 0, NB_ENREG_MAX);
                    lu_.saisies[p - 1] = lignesDuplicate(section, m, 9);
                }
            }
        }
    } catch (const Refus& r) {
        refus = r;
        return false;
    }
    return true;
}

void refuser(const std::string& path, const Refus& refus) {
    msgAffiche(formaterTexte(ptraduire("Le fichier '%s' n'est pas un r\351capitulatif valide (%s)"), {path, refus.cle}));
}

bool ouvrir(INIfile& ini, const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !ini.open(path, false)) {
        msgAffiche(formaterTexte(ptraduire("Le fichier '%s' est introuvable"), {path}));
        return false;
    }
    return true;
}

// A new game for the file: every player slot back to nothing, so that no
// kind, score or letter of the previous game survives.
void nouvellePartiePourLeFichier(const RecapLu& lu) {
    partie.nbJoueurs = static_cast<short>(lu.nbJoueurs);
    init_board();
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
        partie.joueurs[i] = Joueur();
        std::fill(partie.chevalet[i], partie.chevalet[i] + NB_LETTRES, 0);
    }
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

std::string lireJoueurs(const RecapLu& lu, bool ancien) {
    partie.nbJoueursHumains = 0;
    for (int i = 1; i <= lu.nbJoueurs; ++i) {
        const JoueurLu& l = lu.joueurs[i - 1];
        Joueur& j = partie.joueurs[i - 1];
        j.type = l.type;
        j.score = l.score;
        if (j.type == 0) ++partie.nbJoueursHumains;
        j.nom = l.nom;
        j.numNom = {11 + i, l.nom};
        drawarea.affNom(i - 1);
        drawarea.affScore(i - 1);
        signed char* compteurs = partie.chevalet[i - 1];
        std::fill(compteurs, compteurs + NB_LETTRES, 0);
        const bool tireDuSac = ancien && (partie.modeDuplicate || (partie.unSeulChevalet && i == 1));
        for (size_t k = 0; k < l.lettres.size(); ++k) {
            const char c = l.lettres[k];
            if (!ancien && (c == '+' || c == '-')) continue;
            if (c == ' ') {
                j.lettres[k] = 0;
                continue;
            }
            j.lettres[k] = c;
            const unsigned char u = static_cast<unsigned char>(c);
            if (u < 1 || u > 127) continue;
            const short idx = indiceLettre(c, 0);
            ++compteurs[idx];
            if (tireDuSac && idx > 0) {
                partie.sac[idx] = static_cast<signed char>(std::max(partie.sac[idx] - 1, 0));
                partie.nbLettresSac = static_cast<short>(std::max(partie.nbLettresSac - 1, 0));
            }
        }
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

void oterDuSac(int idx, int nombre) {
    if (idx <= 0 || idx >= NB_LETTRES || nombre <= 0) return;
    partie.sac[idx] = static_cast<signed char>(std::max(partie.sac[idx] - nombre, 0));
    partie.nbLettresSac = static_cast<short>(std::max(partie.nbLettresSac - nombre, 0));
}

void remettreAuSac(int idx, int nombre) {
    if (idx <= 0 || idx >= NB_LETTRES || nombre <= 0) return;
    partie.sac[idx] = static_cast<signed char>(std::min(partie.sac[idx] + nombre, 127));
    partie.nbLettresSac = static_cast<short>(std::min(partie.nbLettresSac + nombre, 32767));
}

saisieDP entreeDe(const EntreeLue& l, saisieDP base, bool joueur) {
    base.tirage = l.champs[0];
    base.position = l.champs[5];
    base.mot = l.champs[6];
    base.score = versShort(l.champs[1]);
    base.nbLettresPosees = versShort(l.champs[3]);
    if (joueur) base.mots = l.champs.size() > 8 ? l.champs[8] : std::string();
    else base.nbTops = versShort(l.champs[7]);
    // The direction is not stored: the position text tells it ("H8" across).
    base.horizontal = !base.position.empty() && base.position[0] >= 'A' && base.position[0] <= 'Z';
    return base;
}

void reprendre(const RecapLu& lu, const std::string& lettresJoueur1, const std::string& tirageTop) {
    partie.debutCoup = std::time(nullptr);
    partie.partieEnCours = 1;
    partie.modeTest = 0;
    if (!partie.modeDuplicate) {
        partie.coupEnCours.clear();
        // A file saved before the first move names no mover: the first turn is player 1's.
        bool unCoup = false;
        for (const auto& e : lu.enregs) unCoup = unCoup || entierTolerant(e[0]) > 0;
        if (!unCoup) partie.joueurEnCours = static_cast<short>(partie.nbJoueurs - 1);
        passer_joueur_suiv(false);
        if (partie.partieEnCours) {
            showrack(partie.chevalet[partie.joueurEnCours], false);
            partie.coupEnCours = partie.chevaletEnCours;
            v_histo.back().reglette = partie.chevaletEnCours;
            Joueur& j = partie.joueurs[partie.joueurEnCours];
            if (j.type == 0) {
                j.type = 6;  // the moves offered to a human are computed without level limits
                dicP.suggestmove(true);
                j.type = 0;
            }
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
        boutonsE(true);
        partie.nbPasses = 0;
        if (!partie.modeDuplicate) drawarea.AffJoueurEnCours();
    }
}

void appliquer31(const RecapLu& lu) {
    nouvellePartiePourLeFichier(lu);
    partie.modeTest = lu.modeTest;
    partie.modeResolution = lu.modeResolution;
    partie.arbitrage = !lu.arbitrageSvg.empty();
    partie.modeDuplicate = lu.duplicate;
    partie.partieJoker = lu.joker;
    partie.partieEnCours = 0;
    partie.nbJoueurs = static_cast<short>(lu.nbJoueurs);

    params.chronoPartie = lu.chronoPartie;
    if (lu.chronoPartie) {
        if (!partie.modeDuplicate)
            for (int i = 0; i < lu.nbJoueurs; ++i) partie.joueurs[i].chrono = lu.chronoJoueur[i];
        else
            partie.chronoPartie = lu.chronoDuplicate;
    }
    alimMenuModeResolution(partie.modeResolution);
    alimMenuDuplicate();
    alimMenuJoker();

    if (lu.version <= 31) {
        msgAffiche(ptraduire("Recapitulatif cree avec une version <= 1.4, on garde donc les parametres actuels"));
    } else if (lu.pea2 != partie.fichierPea2) {
        if (estFichierRegulier(lu.pea2)) {
            msgAffiche(formaterTexte(ptraduire("On charge les parametres du fichier %s"), {lu.pea2}));
            ChargerPeau2(lu.pea2);
        } else {
            affErreur("fichier de param\350tres '%s' introuvable : param\350tres actuels gard\351s", lu.pea2.c_str());
        }
    }

    lirePlateau(lu);
    drawarea.AffCpteur(lu.total, ZONE_TOTAL, 0);
    const std::string lettresJoueur1 = lireJoueurs(lu, false);
    partie.nbLignesHisto = static_cast<short>(lu.nbEnreg + 1);

    const bool ordreFixe = !params.listeLettresOrdonnees.empty();
    if (!ordreFixe) {
        for (int k = 0; k < NB_LETTRES; ++k) partie.sac[k] = static_cast<signed char>(lu.sac[k]);
        partie.nbLettresSac = static_cast<short>(lu.taille);
        if (lu.version <= 33) {
            partie.nbLettresSac = static_cast<short>(std::max(partie.nbLettresSac - partie.sac[0], 0));
            partie.sac[0] = 0;
        }
    } else {
        fillsock();
    }

    lireHistorique(lu, [](int) {});

    if (partie.modeDuplicate) {
        saisieDP entree;
        for (size_t k = 0; k < lu.tops.size(); ++k) {
            entree = entreeDe(lu.tops[k], entree, false);
            result_best.push_back(entree);
            if (ordreFixe && k < v_histo.size()) {
                const c_historique& h = v_histo[k];
                for (int u = 0; u < std::min<int>(entree.nbLettresPosees, 15); ++u) oterDuSac(indiceTuile(h.lettres[u]), 1);
            }
        }
        if (ordreFixe)
            for (int k = 1; k < NB_LETTRES; ++k) oterDuSac(k, partie.chevalet[0][k]);
        for (int p = 0; p < lu.nbJoueurs; ++p)
            for (const EntreeLue& l : lu.saisies[p]) {
                entree = entreeDe(l, entree, true);
                saisie_duplicate[p].push_back(entree);
            }
    }
    qvaff_infos_sc();

    const bool E = lu.enCours;
    const bool R = partie.modeResolution;
    if (E && !R) {
        reprendre(lu, lettresJoueur1, std::string());
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
    init_board();
    if (lu.version == 21 || lu.version == 27) {
        const std::string t = ptraduire("Version un peu ancienne, le resultat n'est pas garanti");
        msgAffiche(t);
        std::fprintf(stderr, "\n%s", t.c_str());
    }
    for (int i = 0; i < NB_JOUEURS_MAX; ++i) {
        partie.joueurs[i] = Joueur();
        std::fill(partie.chevalet[i], partie.chevalet[i] + NB_LETTRES, 0);
    }
    partie.modeTest = lu.modeTest;
    partie.modeResolution = lu.modeResolution;
    partie.modeDuplicate = lu.duplicate;
    partie.partieJoker = lu.joker;
    partie.arbitrage = 0;
    const bool E = lu.enCours;
    if (E) {
        if (partie.modeDuplicate)
            msgAffiche(ptraduire("Il s'agit d'une partie duplicate creee avec une version anterieure a la v1.3, "
                                 "seul le joueur humain sera traite"));
        alimMenuModeResolution(partie.modeResolution);
    }
    lirePlateau(lu);
    drawarea.AffCpteur(lu.total, ZONE_TOTAL, 0);
    partie.nbJoueurs = static_cast<short>(lu.nbJoueurs);
    const std::string lettresJoueur1 = lireJoueurs(lu, true);
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
        for (int k = 1; k < NB_LETTRES; ++k)
            if (reglette[k] > 0) chevalet[k] = static_cast<short>(chevalet[k] - reglette[k]);
        if (!chevaletPartage)
            for (int k = 1; k < NB_LETTRES; ++k)
                if (chevalet[k] < 0) remettreAuSac(k, -chevalet[k]);
        const bool tire = (h.typeCoup == COUP_NORMAL && !partie.modeDuplicate && !partie.unSeulChevalet) ||
                          h.typeCoup == COUP_ECHANGE;
        if (tire)
            for (int k = 1; k < NB_LETTRES; ++k)
                if (chevalet[k] > 0) oterDuSac(k, chevalet[k]);
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
    }
    if (E) {
        alimMenuDuplicate();
        alimMenuJoker();
    }
    qvaff_infos_sc();
    if (E && !partie.modeResolution) {
        reprendre(lu, lettresJoueur1, lu.tirageOuvert);
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
    refuser(path, refus);
    return false;
}

bool tailleAcceptable(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && st.st_size > TAILLE_FICHIER_MAX) {
        refuser(path, Refus{chaine("%ld octets", static_cast<long>(st.st_size))});
        return false;
    }
    return true;
}

bool charger31(const INIfile& ini, const std::string& path) {
    RecapLu lu;
    if (!lireEtVerifier(ini, path, false, lu)) return false;
    appliquer31(lu);
    return true;
}

}  // namespace

void AffRecap31(std::string path) {
    if (!tailleAcceptable(path)) return;
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
        end_game();
    }
    // No turn step or countdown may fire inside a message box while the game
    // is half loaded.
    couperTimerPas();
    couperChrono();
    if (!tailleAcceptable(path)) return false;
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
        const std::string t = ptraduire("Mauvais n\260 de version");
        msgAffiche(t);
        std::fprintf(stderr, "\n%s", t.c_str());
    }
    ini.close();
    return charge;
}
