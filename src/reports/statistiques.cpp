#include "reports/statistiques.h"

#include "core/maChaine.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "reports/export_html_cadre.h"

#include <algorithm>
#include <iomanip>
#include <iostream>

c_statistique statistiques[9];

void c_statistique::raz() {
    *this = c_statistique();
    valMin = 999999;
}

namespace {

const int TAILLE_MOT_MAX = 22;

int nbJoueursPartie() { return std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX); }

// The words of a words-formed text (main word, then ", " and each
// connecting word) into the column's word counters.
void compterMots(c_statistique& k, const std::string& mots) {
    static const std::string sep = ", ";
    size_t debut = 0;
    int n = 0;
    for (;;) {
        size_t fin = mots.find(sep, debut);
        std::string w = chaineMajuscule(chaineSansAccent(mots.substr(debut, fin == std::string::npos ? fin : fin - debut)));
        if (w.size() <= TAILLE_MOT_MAX) ++k.nbMotsParTaille[w.size()];
        ++n;
        if (fin == std::string::npos) break;
        debut = fin + sep.size();
    }
    k.nbMotsSatellites += n - 1;
}

void prendreEnCompte(c_statistique& k, int score) {
    k.valMin = std::min(k.valMin, score);
    k.valMax = std::max(k.valMax, score);
}

float moyenne(int somme, int diviseur) {
    return diviseur == 0 ? 0.0f : static_cast<float>(somme) / static_cast<float>(diviseur);
}

void brancheHistorique() {
    int somme[9] = {};
    size_t n = std::min<size_t>(partie.NombreEnregsRecap(), v_histo.size());
    for (size_t r = 0; r < n; ++r) {
        const c_historique& h = v_histo[r];
        // Column 0 is the tops': a record names a player 1 to 8 or is not counted.
        if (h.joueur < 1 || h.joueur > NB_JOUEURS_MAX) continue;
        c_statistique& k = statistiques[h.joueur];
        if (h.typeCoup != COUP_FIN_PARTIE && h.typeCoup != COUP_FIN_DUPLICATE) {
            ++k.nbCoups;
            k.valMin = std::min<int>(k.valMin, h.score);
        }
        if (h.typeCoup != COUP_NORMAL) continue;
        somme[h.joueur] += h.score;
        compterMots(k, h.mots);
        prendreEnCompte(k, h.score);
        if (h.nbLettresPosees == partie.tailleChevalet) ++k.nbTessarels;
        if (h.sens == 1) ++k.nbCoupsHoriz;
        else ++k.nbCoupsVertic;
        if (h.score == h.scoreMeilleurCoup) ++k.nbTopsTrouves;
    }
    for (int p = 1; p <= nbJoueursPartie(); ++p) statistiques[p].valMoy = moyenne(somme[p], statistiques[p].nbCoups);
}

void brancheDuplicate() {
    partie.AlimDernCoupDuplSaisi();
    const int R = partie.dernCoupDuplSaisi;
    const int nbJ = nbJoueursPartie();
    const size_t nbTours = std::min<size_t>(static_cast<size_t>(R), result_best.size());
    const saisieDP vide;
    int sommeTops = 0;
    int somme[NB_JOUEURS_MAX] = {};
    c_statistique& T = statistiques[0];
    for (size_t e = 0; e < nbTours; ++e) {
        const saisieDP& t = result_best[e];
        if (e < v_histo.size()) compterMots(T, v_histo[e].mots);
        if (t.nbLettresPosees == partie.tailleChevalet) ++T.nbTessarels;
        if (t.horizontal) ++T.nbCoupsHoriz;
        else ++T.nbCoupsVertic;
        ++T.nbTopsTrouves;
        sommeTops += t.score;
        prendreEnCompte(T, t.score);
        for (int p = 0; p < nbJ; ++p) {
            const saisieDP& s = e < saisie_duplicate[p].size() ? saisie_duplicate[p][e] : vide;
            c_statistique& k = statistiques[p + 1];
            if (s.score <= 0) {
                k.valMin = 0;
                continue;
            }
            somme[p] += s.score;
            prendreEnCompte(k, s.score);
            if (s.nbLettresPosees == partie.tailleChevalet) ++k.nbTessarels;
            if (s.score == t.score) ++k.nbTopsTrouves;
            if (s.horizontal) ++k.nbCoupsHoriz;
            else ++k.nbCoupsVertic;
            compterMots(k, s.mots);
        }
    }
    T.total = sommeTops;
    T.valMoy = moyenne(sommeTops, R);
    for (int p = 0; p < nbJ; ++p) {
        statistiques[p + 1].valMoy = moyenne(somme[p], R);
        statistiques[p + 1].total = somme[p];
    }
}

// The comma-decimal format; it stays on the stream for what follows.
void ecrireDecimal(std::ostream& out, double v) {
    out.imbue(std::locale(std::cout.getloc(), new myPunct));
    out << std::fixed << std::setprecision(2) << v;
}

const char* pluriel(double v) { return v > 0 ? "s" : " "; }

const char* libelle(const std::string& cle) {
    static const std::pair<const char*, const char*> kLibelles[] = {
        {"nbTessarels", "nb de tessarels"},
        {"nbTopsTrouves", "nb de tops trouv\351s"},
        {"nbMotsSatellites", "nb de mots satellites"},
        {"nbCoupsHoriz", "nb de coups horizontaux"},
        {"nbCoupsVertic", "nb de coups verticaux"},
        {"valMax", "valeur maximum"},
        {"valMin", "valeur minimum"},
        {"valMoy", "valeur moyenne"},
        {"moyTop", "% / top (partie)"},
    };
    for (const auto& l : kLibelles)
        if (cle == l.first) return l.second;
    return nullptr;
}

// The value of one cell; col 0 is the tops column.
void ecrireValeur(std::ostream& out, const std::string& cle, int col, int taille) {
    const c_statistique& s = statistiques[col];
    const c_statistique& tops = statistiques[0];
    if (cle == "nbTessarels") out << s.nbTessarels;
    else if (cle == "nbMotsSatellites") out << s.nbMotsSatellites;
    else if (cle == "nbCoupsHoriz") out << s.nbCoupsHoriz;
    else if (cle == "nbCoupsVertic") out << s.nbCoupsVertic;
    else if (cle == "valMax") out << s.valMax << " pt" << pluriel(s.valMax);
    else if (cle == "valMin") out << s.valMin << " pt" << pluriel(s.valMin);
    else if (cle == "nbMotsParTaille") out << s.nbMotsParTaille[taille];
    else if (cle == "valMoy") {
        ecrireDecimal(out, s.valMoy);
        out << " pt" << pluriel(s.valMoy);
    } else if (cle == "moyTop") {
        ecrireDecimal(out, tops.total == 0 ? 0.0 : s.total * 100.0 / tops.total);
        out << " %";
    } else if (cle == "nbTopsTrouves") {
        if (col == 0) out << s.nbTopsTrouves;
        else if (estDuplicateHorsTest()) out << s.nbTopsTrouves << " / " << tops.nbTopsTrouves;
        else if (partie.joueurs[col - 1].type == 0) out << s.nbTopsTrouves << " / " << s.nbCoups;
        else out << "&nbsp;";
    }
}

}  // namespace

void alimStats() {
    for (c_statistique& s : statistiques) s.raz();
    if (estDuplicateHorsTest()) brancheDuplicate();
    else brancheHistorique();
}

void affLigneStats(std::ostream& out, const std::string& cle, const int& taille) {
    const int nbJ = nbJoueursPartie();
    std::string texteLibelle;
    if (cle == "nbMotsParTaille") {
        if (taille < 0 || taille > TAILLE_MOT_MAX) return;
        long somme = 0;
        for (int col = 0; col <= nbJ; ++col) somme += statistiques[col].nbMotsParTaille[taille];
        if (somme == 0) return;
        texteLibelle = "nb de mots de " + std::to_string(taille) + " lettres";
    } else {
        const char* l = libelle(cle);
        if (!l) return;
        texteLibelle = l;
    }
    out << "    <tr>\n"
        << "      <td>" << texteLibelle << "</td>\n";
    if (estDuplicateHorsTest()) {
        out << "      <td class=\"ctop\">";
        ecrireValeur(out, cle, 0, taille);
        out << "</td>\n";
    }
    for (int i = 1; i <= nbJ; ++i) {
        out << "      <td class=\"" << couleurs[i - 1] << "\">";
        ecrireValeur(out, cle, i, taille);
        out << "</td>\n";
    }
    out << "    </tr>\n";
}

void affStats(std::ostream& out) {
    const bool dup = estDuplicateHorsTest();
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"statistiques\">Statistiques</a></h3>\n"
        << "  <table>\n"
        << "    <thead>\n"
        << "    <tr>\n"
        << "      <th>&nbsp;</th>\n";
    if (dup) out << "      <th class=\"ctop\">Top</th>\n";
    for (int i = 1; i <= nbJoueursPartie(); ++i) {
        const Joueur& j = partie.joueurs[i - 1];
        out << "      <th class=\"" << couleurs[i - 1] << "\">" << texteHtml(j.nom);
        if (j.type >= 1 && j.type <= 8) out << "<br />(" << nomNiveau(j.type) << ")";
        out << "</th>\n";
    }
    out << "    </tr>\n"
        << "    </thead>\n"
        << "    <tbody>\n";
    const int zero = 0;
    affLigneStats(out, "nbTessarels", zero);
    if (!partie.modeTest) affLigneStats(out, "nbTopsTrouves", zero);
    for (const char* cle : {"nbMotsSatellites", "nbCoupsHoriz", "nbCoupsVertic", "valMax", "valMin", "valMoy"})
        affLigneStats(out, cle, zero);
    if (dup) affLigneStats(out, "moyTop", zero);
    for (int taille = 2; taille <= TAILLE_MOT_MAX; ++taille) affLigneStats(out, "nbMotsParTaille", taille);
    out << "    </tbody>\n"
        << "  </table>\n"
        << "<br/>\n";
}
