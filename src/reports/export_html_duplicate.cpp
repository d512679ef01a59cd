#include "reports/export_html_duplicate.h"

#include "core/maChaine.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "reports/export_html_cadre.h"

#include <algorithm>
#include <string>

namespace {

int nbJoueursPartie() { return std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX); }

unsigned nbToursComplets() {
    partie.AlimDernCoupDuplSaisi();
    return partie.dernCoupDuplSaisi;
}

// Entries missing from a loaded game read as empty ones.
const saisieDP& top(unsigned u) {
    static const saisieDP vide;
    return u < result_best.size() ? result_best[u] : vide;
}

const saisieDP& entree(int p, unsigned u) {
    static const saisieDP vide;
    return u < saisie_duplicate[p].size() ? saisie_duplicate[p][u] : vide;
}

const c_historique& enreg(unsigned u) {
    static const c_historique vide;
    return u < v_histo.size() ? v_histo[u] : vide;
}

const char* marqueTessarel(const saisieDP& s) { return s.nbLettresPosees == partie.tailleChevalet ? "* " : " "; }
const char* marqueTop(const saisieDP& e, const saisieDP& t) { return e.score == t.score ? "# " : " "; }

// A top whose round closed the game is shown as stored.
std::string motTop(const saisieDP& t, const c_historique& h) {
    return h.typeCoup == COUP_FIN_DUPLICATE ? texteHtml(t.mot) : remplaceJokerDsTexte(t.mot);
}
std::string positionEntree(const saisieDP& e) { return e.score < 1 ? std::string(" ") : texteHtml(e.position); }
std::string motEntree(const saisieDP& e) { return e.score < 1 ? texteHtml(e.mot) : remplaceJokerDsTexte(e.mot); }

void celluleTh(std::ostream& out, const char* attributs, const std::string& classe, const char* texte) {
    out << "      <th" << attributs << " class=\"" << classe << "\">" << texte << "</th>\n";
}

}  // namespace

void affSyntheseDuplicate(std::ostream& out) {
    const int nbJ = nbJoueursPartie();
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"synthese\">Synth\350se de tous les joueurs</a></h3>\n"
        << "#: le top est trouv\351<br/>\n"
        << "*: les " << partie.tailleChevalet << " lettres sont plac\351es (bonus de " << partie.bonusTessarel
        << " points)<br/><br/>\n"
        << "  <table>\n"
        << "    <thead>\n"
        << "    <tr>\n"
        << "      <th width=\"40\" rowspan=2>N\260</th>\n"
        << "      <th rowspan=2>Tirage</th>\n"
        << "      <th colspan=3 class=\"ctop\">Top</th>\n";
    for (int p = 0; p < nbJ; ++p) {
        const Joueur& j = partie.joueurs[p];
        out << "      <th colspan=3 class=\"" << couleurs[p] << "\">" << texteHtml(j.nom);
        if (j.type != 0) out << "<br />(" << nomNiveau(j.type) << ")";
        out << "</th>\n";
    }
    out << "    </tr>\n"
        << "    <tr>\n";
    const char* largeur = " width=\"40\"";
    celluleTh(out, largeur, "ctop", "R\351f.");
    celluleTh(out, "", "ctop", "Mot");
    celluleTh(out, largeur, "ctop", "Sc.");
    for (int p = 0; p < nbJ; ++p) {
        celluleTh(out, largeur, couleurs[p], "R\351f.");
        celluleTh(out, "", couleurs[p], "Mot");
        celluleTh(out, largeur, couleurs[p], "Sc.");
    }
    out << "    </tr>\n"
        << "    </thead>\n"
        << "    <tbody>\n";
    int totalTop = 0;
    int total[NB_JOUEURS_MAX] = {};
    for (unsigned u = 0; u < nbToursComplets(); ++u) {
        const saisieDP& t = top(u);
        out << "    <tr>\n"
            << "      <td>" << u + 1 << "</td>\n"
            << "      <td>" << texteHtml(t.tirage) << "</td>\n"
            << "      <td class=\"ctop\">" << texteHtml(t.position) << "</td>\n"
            << "      <td class=\"ctop\">" << motTop(t, enreg(u)) << "</td>\n"
            << "      <td class=\"ctop\">" << marqueTessarel(t) << t.score << "</td>\n";
        for (int p = 0; p < nbJ; ++p) {
            const saisieDP& e = entree(p, u);
            const std::string& c = couleurs[p];
            total[p] += e.score;
            out << "      <td class=\"" << c << "\">" << positionEntree(e) << "</td>\n"
                << "      <td class=\"" << c << "\">" << motEntree(e) << "</td>\n"
                << "      <td class=\"" << c << "\">" << marqueTessarel(e) << e.score << " " << marqueTop(e, t)
                << "</td>\n";
        }
        out << "    </tr>\n";
        totalTop += t.score;
    }
    out << "    </tbody>\n"
        << "    <tfoot>\n"
        << "    <tr>\n"
        << "      <td colspan=3>&nbsp;</td>\n"
        << "      <td colspan=2 class=\"ctop\">Total: " << totalTop << "</td>\n";
    for (int p = 0; p < nbJ; ++p)
        out << "      <td>&nbsp;</td>\n"
            << "      <td colspan=2 class=\"" << couleurs[p] << "\">Total: " << total[p] << "</td>\n";
    out << "    </tr>\n"
        << "    </tfoot>\n"
        << "  </table>\n";
}

void affDetailsJoueursDuplicate(std::ostream& out) {
    const int nbJ = nbJoueursPartie();
    for (int p = 0; p < nbJ; ++p) {
        const Joueur& j = partie.joueurs[p];
        out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dj" << p + 1 << "\">D\351tail joueur " << p + 1
            << ": " << texteHtml(j.nom);
        if (j.type != 0) out << " (niveau: " << nomNiveau(j.type) << ")";
        out << "</a></h3>\n"
            << "  <table>\n"
            << "    <thead>\n"
            << "    <tr>\n"
            << "      <th width=\"40\" rowspan=2>N\260</th>\n"
            << "      <th rowspan=2>Tirage</th>\n"
            << "      <th colspan=4 class=\"cj2\">Joueur</th>\n"
            << "      <th colspan=5 class=\"cj1\">Top</th>\n"
            << "    </tr>\n"
            << "    <tr>\n";
        const char* largeur = " width=\"40\"";
        for (const char* c : {"cj2", "cj1"}) {
            celluleTh(out, largeur, c, "R\351f.");
            celluleTh(out, "", c, "Mot");
            celluleTh(out, largeur, c, "Sc.");
            celluleTh(out, "", c, "Raccord(s)");
        }
        out << "      <th class=\"cj1\" style=\"cursor: pointer; cursor: hand;\" onclick=\"OpenAll()\">Nb Tops</th>\n"
            << "    </tr>\n"
            << "    </thead>\n"
            << "    <tbody>\n";
        int totalJoueur = 0;
        int totalTop = 0;
        for (unsigned u = 0; u < nbToursComplets(); ++u) {
            const saisieDP& e = entree(p, u);
            const saisieDP& t = top(u);
            const c_historique& h = enreg(u);
            totalJoueur += e.score;
            totalTop += t.score;
            if (u < v_histo.size()) ajoutMotsFormesVDef(h.mots);
            if (e.score > 0) {
                ajoutMotVDef(e.mot);
                ajoutMotsFormesVDef(e.mots);
            }
            out << "    <tr>\n"
                << "      <td>" << u + 1 << "</td>\n"
                << "      <td>" << texteHtml(t.tirage) << "</td>\n"
                << "      <td class=\"cj2\">" << positionEntree(e) << "</td>\n"
                << "      <td class=\"cj2\">" << motEntree(e) << "</td>\n"
                << "      <td class=\"cj2\">" << marqueTessarel(e) << e.score << " " << marqueTop(e, t) << "</td>\n"
                << "      <td class=\"cj2\">" << remplaceJokerDsTexte(neGarderQueRaccords(e.mots)) << "</td>\n"
                << "      <td class=\"cj1\">" << texteHtml(t.position) << "</td>\n"
                << "      <td class=\"cj1\">" << motTop(t, h) << "</td>\n"
                << "      <td class=\"cj1\">" << marqueTessarel(t) << t.score << "</td>\n"
                << "      <td class=\"cj1\">" << remplaceJokerDsTexte(neGarderQueRaccords(h.mots)) << "</td>\n"
                << "      <td class=\"cj1\">";
            if (h.texteTops.empty()) out << t.nbTops;
            else out << blocPliable(t.nbTops, "", h.texteTops);
            out << "</td>\n"
                << "    </tr>\n";
        }
        out << "    </tbody>\n"
            << "    <tfoot>\n"
            << "    <tr>\n"
            << "      <td colspan=3>&nbsp;</td>\n"
            << "      <td colspan=2 class=\"cj2\">Total: " << totalJoueur << "</td>\n"
            << "      <td colspan=3>&nbsp;</td>\n"
            << "      <td colspan=2 class=\"cj1\">Total: " << totalTop << "</td>\n"
            << "      <td>&nbsp;</td>\n"
            << "    </tr>\n"
            << "    </tfoot>\n"
            << "  </table>\n";
    }
}
