#include "reports/export_html.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/export_grille.h"
#include "reports/export_html_cadre.h"
#include "reports/export_html_duplicate.h"
#include "reports/export_html_plateau.h"
#include "reports/statistiques.h"

#include <algorithm>
#include <sstream>

namespace {

int nbJoueursPartie() { return std::clamp<int>(partie.nbJoueurs, 0, NB_JOUEURS_MAX); }

void affScript(std::ostream& out) {
    out << "<body>\n"
        << "<script language=\"javascript\">\n"
        << "function ShowHide(id) {\n"
        << "    status = (document.getElementById(id).style.display == 'none') ? 'block' : 'none';\n"
        << "    document.getElementById(id).style.display = status;\n"
        << "}\n"
        << "</script>\n"
        << "\n";
}

void affTitre(std::ostream& out) {
    out << "<h2 class=\"GrosTitre\">R\351capitulatif d'une partie ";
    if (!gl_generationParties2) {
        if (!partie.modeDuplicate) {
            out << " libre ";
        } else {
            out << " duplicate ";
            if (partie.partieJoker) out << " joker ";
        }
    }
    if (params.typePartie == TYPE_PARTIE_THEMATIQUE) out << "\340 th\350me \n";
    out << (gl_generationParties2 ? " g\351n\351r\351e par DezedizIZIZ</h2>\n" : "jou\351e avec DezedizIZIZ</h2>\n");
}

void affSommaire(std::ostream& out) {
    out << "<h3 class=\"GrosTitre\"><a name=\"sommaire\">Sommaire</a></h3>\n";
    if (estDuplicateHorsTest()) affSommaireDuplicate(out);
    else out << "<a href=\"#recap\">R\351capitulatif</a><br/>\n";
    if (params.typePartie == TYPE_PARTIE_THEMATIQUE) out << "<a href=\"#dicos\">Th\350me utilis\351</a><br />\n";
    else out << "<a href=\"#dicos\">" << texteDicosUtilises() << "</a><br />\n";
    out << "<a href=\"#plateau\">Plateau de jeu</a><br/>\n"
        << "<a href=\"#distrib\">Distribution des lettres</a><br/>\n"
        << "<a href=\"#statistiques\">Statistiques</a><br/>\n";
}

void affNoteTessarel(std::ostream& out) {
    out << "*: les " << partie.tailleChevalet << " lettres sont plac\351es (bonus de " << partie.bonusTessarel
        << " points)<br/>\n";
}

// The tops count of a record: plain, or folded with the text of the tops.
std::string texteNbTops(const c_historique& h, bool premierCoup) {
    const std::string extra = std::string(premierCoup && !gl_generationParties2 ? " (* 2)" : "") + "<br/>";
    if (h.texteTops.empty()) return std::to_string(h.nbTops) + extra;
    return blocPliable(h.nbTops, extra, h.texteTops);
}

void affRecap(std::ostream& out) {
    const bool test = partie.modeTest != 0;
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"recap\">r\351capitulatif</a></h3>\n";
    if (!gl_generationParties2) {
        out << (partie.nbJoueurs <= 1 ? "Joueur:<br />\n" : "Joueurs:<br />\n");
        for (int i = 1; i <= nbJoueursPartie(); ++i) {
            const Joueur& j = partie.joueurs[i - 1];
            out << i << " - " << j.score << " pts - " << texteHtml(j.nom);
            if (j.type > 0) out << " (niveau: " << nomNiveau(j.type) << ")";
            out << "<br />\n";
        }
    } else {
        affNoteTessarel(out);
    }
    out << "  <br />\n"
        << "  <table>\n"
        << "    <thead>\n"
        << "    <tr>\n"
        << "      <th width=\"40\">N\260</th>\n"
        << "      <th width=\"40\">J</th>\n"
        << "      <th>Tirage</th>\n"
        << "      <th>Solution</th>\n"
        << "      <th width=\"40\">R\351f.</th>\n"
        << "      <th width=\"40\">Sc.</th>\n"
        << "      <th>Raccord(s)</th>\n";
    if (!test) out << "      <th style=\"cursor: pointer; cursor: hand;\" onclick=\"OpenAll()\">Top</th>\n";
    out << "      <th style=\"cursor: pointer; cursor: hand;\" onclick=\"OpenAll()\">Nb Tops</th>\n"
        << "    </tr>\n"
        << "    </thead>\n"
        << "    <tbody>\n";
    int total = 0;
    for (size_t i = 0; i < partie.NombreEnregsRecap() && i < v_histo.size(); ++i) {
        const c_historique& h = v_histo[i];
        debutLigneCoup(out, h);
        out << "      <td>" << i + 1 << "</td>\n"
            << "      <td>" << h.joueur << "</td>\n"
            << "      <td>" << texteHtml(h.reglette) << "</td>\n"
            << "      <td>" << texteCoup(h)
            << "</td>\n"
            << "      <td>" << texteHtml(h.position) << "</td>\n"
            << "      <td>" << (h.nbLettresPosees == partie.tailleChevalet ? "* " : " ") << h.score << "</td>\n"
            << "      <td>" << remplaceJokerDsTexte(neGarderQueRaccords(h.mots)) << "</td>\n";
        if (h.typeCoup == COUP_FIN_PARTIE) {
            out << "      <td>&nbsp;</td>\n";
            if (!test) out << "      <td>&nbsp;</td>\n";
        } else {
            if (!test) out << "      <td>" << texteHtml(h.meilleurCoup) << "</td>\n";
            if (!test && typeJoueurEnreg(h.joueur) != 0) out << "      <td>&nbsp;</td>\n";
            else out << "      <td>" << texteNbTops(h, i == 0) << "</td>\n";
        }
        out << "    </tr>\n";
        total += h.score;
    }
    out << "    </tbody>\n"
        << "    <tfoot>\n"
        << "    <tr>\n"
        << "      <td colspan=4>&nbsp;</td>\n"
        << "      <td colspan=2>Total: " << total << "</td>\n"
        << (test ? "      <td colspan=2>&nbsp;</td>\n" : "      <td colspan=3>&nbsp;</td>\n")
        << "    </tr>\n"
        << "    </tfoot>\n"
        << "  </table>\n";
    if (!gl_generationParties2) {
        affNoteTessarel(out);
        out << "(* 2): pour la verticalit\351 des solutions lors de 1er coup (ce qui double le nb de solutions)<br/>\n";
    }
}

}  // namespace

void affSommaireDuplicate(std::ostream& out) {
    out << "<a href=\"#synthese\">Synth\350se de tous les joueurs</a><br/>\n";
    for (int p = 1; p <= nbJoueursPartie(); ++p) {
        const Joueur& j = partie.joueurs[p - 1];
        out << "  <a href=\"#dj" << p << "\">D\351tail joueur " << p << ": " << texteHtml(j.nom);
        if (j.type != 0) out << " (niveau: " << nomNiveau(j.type) << ")";
        out << "</a><br/>\n";
    }
}

void export_html(const std::string& path) {
    gi_nb_affcach = 0;
    if (!pageRecapAEcrire()) return;
    if (params.typePartie == TYPE_PARTIE_GRILLE) {
        export_grille_mots_croises_html(path);
        return;
    }
    // The page is composed whole, then written over the old one in one go.
    std::ostringstream out;
    viderVdef();
    affHeadHtml(out);
    affScript(out);
    affTitre(out);
    affSommaire(out);
    if (estDuplicateHorsTest()) {
        affSyntheseDuplicate(out);
        affDetailsJoueursDuplicate(out);
    } else {
        affRecap(out);
    }
    affDicosHtml(out);
    affListeMotsHtml(out);
    affPlateauHtml(out);
    affLettresRestantesHtml(out);
    affDistributionHtml(out);
    alimStats();
    affStats(out);
    affFinFichier(out);
    ecrirePageHtml(path, out.str());
}
