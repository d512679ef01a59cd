#include "reports/recap.h"

#include "app/interface.h"
#include "core/Inifile.h"
#include "core/maChaine.h"
#include "engine/arbitrage.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/recap_format.h"

#include <algorithm>
#include <cstdio>

char gc_buf2048[2048];

const char* const SECTION_PRESENTATION = "Presentation";
const char* const SECTION_GENERAL = "General";
const char* const SECTION_PLATEAU = "Plateau";
const char* const SECTION_DICOS = "Dico(s)";
const char* const SECTION_SCORES = "Scores finaux (tiennent compte du r\351ajustement)";
const char* const SECTION_SAC = "Sac";
const char* const SECTION_FIN = "Fin";
const char* const SECTION_PARTIE = "Partie";
const char* const SECTION_BONUS = "Bonus sp\351cifique";
const char* const SECTION_RECAP = "Recap";
const char* const SECTION_RECAP_TOP = "RecapTop";
const char* const SECTION_RECAP_JOUEUR = "RecapJoueurDuplicate%d";
const char* const SECTION_RECAP_TXT = "RecapTxt";
const int VERSION_RECAP = 34;

std::string cleNumero(const char* format, int n) {
    std::snprintf(gc_buf2048, sizeof gc_buf2048, format, n);
    return gc_buf2048;
}

// A NUL byte read from a file would pass into the text written: it becomes a blank.
std::string valeurSansNul(std::string s) {
    std::replace(s.begin(), s.end(), '\0', ' ');
    return s;
}

std::string valeurBornee(std::string s) { return valeurSansNul(s.substr(0, LONGUEUR_VALEUR_MAX)); }

std::string champSansSeparateur(std::string s) {
    for (char& c : s)
        if (c == '|' || c == '\n' || c == '\r' || c == '\0') c = ' ';
    return s;
}

namespace {

const c_historique kEnregVide;
const saisieDP kSaisieVide;

const char* drapeau(bool b) { return b ? "oui" : "non"; }

std::string lettreEnChamp(const c_historique& h, int slot) {
    if (slot >= h.nbLettresPosees || h.lettres[slot] == 0) return "-";
    return std::string(1, h.lettres[slot]);
}

}  // namespace

void poserSac(const int sac[NB_LETTRES]) {
    partie.nbLettresSac = 0;
    for (int k = 0; k < NB_LETTRES; ++k) {
        partie.sac[k] = static_cast<signed char>(std::max(sac[k], 0));
        partie.nbLettresSac = static_cast<short>(partie.nbLettresSac + partie.sac[k]);
    }
}

short versShort(const std::string& texte) {
    return static_cast<short>(std::clamp(entierTolerant(texte), -32768, 32767));
}

namespace {

// Reads the tops and entries of a game whose vectors may be shorter than the
// rounds (a loaded file): what is missing reads as an empty entry.
const saisieDP& top(size_t i) { return i < result_best.size() ? result_best[i] : kSaisieVide; }
const saisieDP& saisie(int joueur, size_t i) {
    const auto& v = saisie_duplicate[joueur];
    return i < v.size() ? v[i] : kSaisieVide;
}
const c_historique& enreg(size_t i) { return i < v_histo.size() ? v_histo[i] : kEnregVide; }

std::string ligneEtoiles() { return std::string(59, '*'); }

// The definition of a move on one line: each line break and the character
// before it give way to " - ".
std::string definitionDuCoup(const c_historique& h) {
    if (h.typeCoup != COUP_NORMAL) return " ";
    std::string d = chercherDefinition(chaineMajuscule(h.coupJoue));
    size_t p;
    while ((p = d.find('\n')) != std::string::npos && p > 0) d.replace(p - 1, 2, " - ");
    return d;
}

std::string ligneCoup(const std::string& debut, const c_historique& h, int tailleChevalet) {
    return debut + chaine(" %-25s %c %-3s   %4d * %s", h.coupJoue.c_str(),
                          h.nbLettresPosees == tailleChevalet ? '*' : ' ', h.position.c_str(), h.score,
                          definitionDuCoup(h).c_str());
}

void ecrireRecapTexte(INIfile& ini, unsigned short n, bool duplicate) {
    auto ligne = [&ini](int numero, const std::string& texte) {
        ini.set(SECTION_RECAP_TXT, cleNumero("l%2d", numero), valeurBornee(texte));
    };
    ligne(1, ligneEtoiles());
    ligne(2, "*      Tirage        Solution               Position  Pts *");
    ligne(3, ligneEtoiles());
    if (n >= 1) ligne(4, chaine("* %2d. %-12s   %-25s            *", 1, enreg(0).reglette.c_str(), " "));
    // Each line pairs the rack of record i with the move of record i - 1.
    for (int i = 1; i < n; ++i) {
        const std::string& rack = duplicate ? top(i).tirage : enreg(i).reglette;
        ligne(i + 4, ligneCoup(chaine("* %2d. %-12s", i + 1, rack.c_str()), enreg(i - 1), partie.tailleChevalet));
    }
    if (v_histo.empty()) return;
    const int k = n == 0 ? 1 : n;
    ligne(k + 4, ligneCoup(chaine("* %-16s", " "), enreg(k - 1), partie.tailleChevalet));
    short total = 0;
    for (int i = 0; i < k; ++i) total = static_cast<short>(total + enreg(i).score);
    ligne(k + 5, chaine("*                                             Total: %4d *", total));
    ligne(k + 6, ligneEtoiles());
    int sac[NB_LETTRES];
    int nb;
    sacMoinsPlateau(sac, nb);
    const std::string restantes = lettresDuSac(sac);
    ligne(k + 7, "lettres restantes: " + restantes);
    ligne(k + 8, chaine("nb lettres restantes: %d", static_cast<int>(restantes.size())));
}

bool cheminAEcrire(const std::string& path, std::string& nom) {
    if (estDuplicateHorsTest()) {
        partie.AlimDernCoupDuplSaisi();
        if (partie.dernCoupDuplSaisi == 0) return false;
    }
    nom = path;
    if (nom.empty()) sauveFichier(nom);
    return nom.size() > 3;
}

}  // namespace

std::string valRec(short champ, short rec) {
    const c_historique& h = v_histo[rec];
    switch (champ) {
        case 1: return std::to_string(h.joueur);
        case 2: return std::to_string(h.score);
        case 3: return std::to_string(h.nbLettresPosees);
        case 4: return std::to_string(h.typeCoup);
        case 5: return h.sens == 1 ? "1" : "0";
        case 6: return champSansSeparateur(h.mots);
        case 7: return champSansSeparateur(h.duree);
        case 8: return champSansSeparateur(h.coupJoue);
        case 17: return champSansSeparateur(h.reglette);
        case 18: return champSansSeparateur(h.lettresEchangees);
        case 19: return champSansSeparateur(h.chevalet);
        case 20: return champSansSeparateur(h.meilleurCoup);
        case 41: return champSansSeparateur(h.position);
        case 63: return std::to_string(h.nbTops);
        case 64: return champSansSeparateur(h.texteTops);
        default: break;
    }
    if (champ >= 9 && champ <= 16) return lettreEnChamp(h, champ - 9);
    if (champ >= 56 && champ <= 62) return lettreEnChamp(h, champ - 56 + 8);
    if (champ >= 25 && champ <= 32) return std::to_string(h.coord1[champ - 25]);
    if (champ >= 33 && champ <= 40) return std::to_string(h.coord2[champ - 33]);
    if (champ >= 42 && champ <= 48) return std::to_string(h.coord1[champ - 42 + 8]);
    if (champ >= 49 && champ <= 55) return std::to_string(h.coord2[champ - 49 + 8]);
    return " ";
}

void alimRec(const std::string& texte, short champ) {
    if (v_histo.empty()) return;
    c_historique& h = v_histo.back();
    switch (champ) {
        case 1: h.joueur = versShort(texte); return;
        case 2: h.score = versShort(texte); return;
        case 3: h.nbLettresPosees = versShort(texte); return;
        case 4: h.typeCoup = versShort(texte); return;
        case 5: h.sens = versShort(texte); return;
        case 6: h.mots = texte; return;
        case 7: h.duree = texte; return;
        case 8: h.coupJoue = texte; return;
        case 17: h.reglette = texte; return;
        case 18: h.lettresEchangees = texte; return;
        case 19: h.chevalet = texte; return;
        case 20: h.meilleurCoup = texte; return;
        case 41: h.position = texte; return;
        case 63: h.nbTops = versShort(texte); return;
        case 64: h.texteTops = texte; return;
        default: break;
    }
    char premier = texte.empty() ? 0 : texte[0];
    if (champ >= 9 && champ <= 16) h.lettres[champ - 9] = premier;
    else if (champ >= 56 && champ <= 62) h.lettres[champ - 56 + 8] = premier;
    else if (champ >= 25 && champ <= 32) h.coord1[champ - 25] = versShort(texte);
    else if (champ >= 33 && champ <= 40) h.coord2[champ - 33] = versShort(texte);
    else if (champ >= 42 && champ <= 48) h.coord1[champ - 42 + 8] = versShort(texte);
    else if (champ >= 49 && champ <= 55) h.coord2[champ - 49 + 8] = versShort(texte);
}

void save_recap_vsc(const std::string&) {}

void save_recap(const std::string& path) {
    // Every reason to write nothing is settled before the file is touched:
    // an earlier recap then stays as it was.
    std::string nom;
    if (!cheminAEcrire(path, nom)) return;
    INIfile ini;
    if (!ini.create(nom)) return;

    const bool duplicate = estDuplicateHorsTest();
    const unsigned short R = duplicate ? partie.dernCoupDuplSaisi : 0;
    const int P = std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX);
    const int N = std::clamp<int>(partie.dimPlateau, 0, DIM_MAX);

    ini.set(SECTION_PRESENTATION, "Source",
            "R\351capitulatif \351crit par quorvel, le jeu de lettres des d\351veloppeurs de quorvel");
    ini.set(SECTION_GENERAL, "Version", VERSION_RECAP);
    for (int r = 1; r <= N; ++r) {
        std::string ligne;
        for (int c = 1; c <= N; ++c) {
            char t = dicP.plateau[r][c];
            bool lettre = (t >= 'A' && t <= 'Z') || (t >= 'a' && t <= 'z');
            ligne += lettre ? t : dicP.special[r][c] == CASE_NOIRE ? '_' : '.';
        }
        ini.set(SECTION_PLATEAU, std::to_string(r), ligne);
    }
    if (partie.arbitrage) {
        ini.set(SECTION_GENERAL, "Arbitrage", valeurSansNul(arbitrage.nomFichierSvg));
        ini.set(SECTION_GENERAL, "ArbitrageIni", valeurSansNul(arbitrage.nomFichierIni));
    }
    std::string liste = dicP.nomFichier;
    for (const Dico2& d : params.dicos2)
        if (!d.nomFichier.empty()) liste += " - " + d.nomFichier;
    ini.set(SECTION_DICOS, "Liste", valeurBornee(liste));
    ini.set(SECTION_GENERAL, "Pea1", valeurSansNul(partie.fichierPea1));
    ini.set(SECTION_GENERAL, "Pea2", valeurSansNul(partie.fichierPea2));

    short total = 0;
    for (int i = 1; i <= P; ++i) {
        const Joueur& j = partie.joueurs[i - 1];
        ini.set(SECTION_SCORES, cleNumero("Joueur %d", i), chaine("%d,%d", j.type, j.score));
        ini.set(SECTION_SCORES, cleNumero("Nom Joueur %d", i), valeurBornee(j.nom));
        if (!partie.modeTest) {
            std::string lettres;
            if (partie.modeDuplicate) {
                if (!result_best.empty()) lettres = result_best.back().tirage;
            } else {
                for (int k = 0; k < std::clamp<int>(partie.tailleChevalet, 0, NB_LETTRES); ++k)
                    if (j.lettres[k] != 0) lettres += j.lettres[k];
            }
            ini.set(SECTION_SCORES, cleNumero("Lettres Joueur %d", i), valeurBornee(lettres));
        }
        total = static_cast<short>(total + j.score);
    }

    if (partie.modeResolution) {
        int sac[NB_LETTRES];
        int nb;
        sacMoinsPlateau(sac, nb);
        poserSac(sac);
    }
    for (int k = 0; k < NB_LETTRES; ++k) ini.set(SECTION_SAC, std::to_string(k), static_cast<int>(partie.sac[k]));
    ini.set(SECTION_SAC, "taille", partie.nbLettresSac);
    ini.set(SECTION_SAC, "contenu", listerLeSac(false, 0));
    ini.set(SECTION_FIN, "texte", valeurSansNul(gs_finPartie));

    if (duplicate) {
        total = 0;
        for (size_t i = 0; i < R; ++i) total = static_cast<short>(total + top(i).score);
    }

    ini.set(SECTION_PARTIE, "Afficher les lettres de l'ordinateur", drapeau(gl_affLetOrdi));
    ini.set(SECTION_PARTIE, "Valeur facultative (duplicate)", drapeau(partie.valeurFacultative));
    ini.set(SECTION_PARTIE, "Un seul chevalet (normal)", drapeau(partie.unSeulChevalet));
    ini.set(SECTION_PARTIE, "Afficher toutes les solutions (resolution)", drapeau(partie.afficherToutesSolutions));
    ini.set(SECTION_PARTIE, "Resolution", drapeau(partie.modeResolution));
    ini.set(SECTION_PARTIE, "Afficher les valeurs des lettres", drapeau(gl_affValLet));
    ini.set(SECTION_PARTIE, "Saisie tirage (duplicate)", drapeau(params.saisieTirage));
    ini.set(SECTION_PARTIE, "Joker Tessarel", drapeau(partie.partieJoker));
    ini.set(SECTION_PARTIE, "Duplicate", drapeau(duplicate));
    if (partie.modeTest) ini.set(SECTION_PARTIE, "Mode test", "oui");
    if (partie.modeResolution && partie.afficherToutesSolutions)
        ini.set(SECTION_PARTIE, "Afficher toutes les solutions", "oui");
    if (partie.nbCasesNoires > 0) ini.set(SECTION_PARTIE, "NbCasesNoires", partie.nbCasesNoires);

    bool enCours = false;
    bool brancheJeu = false;
    if (partie.arbitrage || (partie.modeResolution && partie.nbLettresSac >= 1)) {
        enCours = true;
    } else if (partie.partieEnCours && !partie.partieJoker) {
        enCours = brancheJeu = true;
    }
    ini.set(SECTION_PARTIE, "En Cours", drapeau(enCours));
    if (brancheJeu && params.chronoPartie) {
        ini.set(SECTION_PARTIE, "Chrono partie", "oui");
        if (partie.modeDuplicate) {
            ini.set(SECTION_PARTIE, "Chrono partie temps restant", partie.chronoPartie);
        } else {
            for (int i = 1; i <= P; ++i)
                ini.set(SECTION_PARTIE, cleNumero("Chrono partie temps restant j%d", i), partie.joueurs[i - 1].chrono);
        }
    }

    for (int i = 1; i <= 15; ++i)
        if (params.bonus[i] != 0) ini.set(SECTION_BONUS, std::to_string(i), params.bonus[i]);

    ini.set(SECTION_PARTIE, "Nb Joueurs", static_cast<short>(P));
    ini.set(SECTION_PARTIE, "Total", total);
    ini.set(SECTION_PARTIE, "Nb Enreg. Recap", static_cast<short>(partie.nbLignesHisto - 1));

    const unsigned short n = partie.NombreEnregsRecap();
    for (int i = 0; i < n && static_cast<size_t>(i) < v_histo.size(); ++i) {
        std::string ligne;
        for (short f = 1; f <= 64; ++f) ligne += valRec(f, static_cast<short>(i)) + "|";
        ini.set(SECTION_RECAP, std::to_string(i + 1), valeurBornee(ligne));
    }

    if (duplicate) {
        short cumul = 0;
        for (size_t i = 0; i < R; ++i) {
            const saisieDP& t = top(i);
            cumul = static_cast<short>(cumul + t.score);
            ini.set(SECTION_RECAP_TOP, "Taille", static_cast<int>(R));
            ini.set(SECTION_RECAP_TOP, std::to_string(i),
                    valeurBornee(chaine("%s|%d|%d|%d|%c|%s|%s|%d", champSansSeparateur(t.tirage).c_str(), t.score,
                                        cumul, t.nbLettresPosees,
                                        t.nbLettresPosees == partie.tailleChevalet ? '*' : ' ',
                                        champSansSeparateur(t.position).c_str(), champSansSeparateur(t.mot).c_str(),
                                        t.nbTops)));
        }
        for (int p = 1; p <= P; ++p) {
            const std::string section = cleNumero(SECTION_RECAP_JOUEUR, p);
            cumul = 0;
            for (size_t i = 0; i < R; ++i) {
                const saisieDP& t = top(i);
                const saisieDP& e = saisie(p - 1, i);
                cumul = static_cast<short>(cumul + e.score);
                ini.set(section, "Taille", static_cast<int>(R));
                ini.set(section, std::to_string(i),
                        valeurBornee(chaine("%s|%d|%d|%d|%c|%s|%s|%c|%s", champSansSeparateur(t.tirage).c_str(),
                                            e.score, cumul, e.nbLettresPosees,
                                            e.nbLettresPosees == partie.tailleChevalet ? '*' : ' ',
                                            champSansSeparateur(e.position).c_str(),
                                            champSansSeparateur(e.mot).c_str(), e.score == t.score ? '$' : ' ',
                                            champSansSeparateur(e.mots).c_str())));
            }
        }
    }

    ini.set(SECTION_PARTIE, "Utiliser Repertoire Courant", drapeau(params.utiliserRepCourant));
    ini.set(SECTION_PARTIE, "Fichier Parametre", valeurBornee(partie.fichierPea1));
    ecrireRecapTexte(ini, n, duplicate);
    ini.close();
}
