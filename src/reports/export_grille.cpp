#include "reports/export_grille.h"

#include "core/maChaine.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "reports/export_html.h"
#include "reports/export_html_cadre.h"
#include "reports/export_html_plateau.h"

#include <algorithm>
#include <sstream>

namespace {

void affTableMots(std::ostream& out) {
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"recap\">r\351capitulatif</a></h3>\n"
        << "  <br />\n"
        << "  <table>\n"
        << "    <thead>\n"
        << "    <tr>\n"
        << "      <th width=\"40\">N\260</th>\n"
        << "      <th>Mot</th>\n"
        << "      <th>&nbsp;</th>\n"
        << "    </tr>\n"
        << "    </thead>\n"
        << "    <tbody>\n";
    for (size_t i = 0; i < partie.NombreEnregsRecap() && i < v_histo.size(); ++i) {
        const c_historique& h = v_histo[i];
        debutLigneCoup(out, h);
        out << "      <td>" << i + 1 << "</td>\n"
            << "      <td>" << texteCoup(h)
            << "</td>\n";
        if (h.typeCoup == COUP_FIN_PARTIE || (!partie.modeTest && typeJoueurEnreg(h.joueur) != 0))
            out << "      <td>&nbsp;</td>\n";
        else
            out << "      <td>" << verifMotLstDico(h.coupJoue) << "\n</td>\n";
        out << "    </tr>\n";
    }
    out << "    </tbody>\n"
        << "  </table>\n";
}

// The rubric of dictionary number n (1 the game dictionary), "" for none.
std::string rubriqueDico(int n) {
    if (n < 1 || static_cast<size_t>(n) > params.rubriques.size()) return std::string();
    return params.rubriques[static_cast<size_t>(n) - 1];
}

void affListeMots(std::ostream& out) {
    if (vdef.empty()) return;
    std::sort(vdef.begin(), vdef.end());
    DefinitionsPerso perso;
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste des mots (principaux et "
           "satellites) de la partie</a></h3>\n";
    for (const std::string& w : vdef) {
        const std::string dicos = verifMotLstDico(w);
        // A definition of the word's own dictionary rubric comes first and alone.
        std::string v;
        const int n = nbElem(dicos, ",");
        for (int k = 1; k <= n && v.empty(); ++k) {
            const std::string rubrique = rubriqueDico(lookupInt(dicos, static_cast<unsigned short>(k), ","));
            if (!rubrique.empty() && perso.ouvert()) v = perso.valeur(rubrique, w);
        }
        if (!v.empty()) {
            out << texteHtml(w) << ": " << texteHtml(v) << "<br />\n";
            continue;
        }
        std::string d = valeurDefinition(w);
        if (d.empty() || d == TXT_DEFINITION_NON_TROUVEE) d = "?";
        affDefinitionMot(out, w, dicos, d);
    }
}

}  // namespace

void export_grille_mots_croises_html(const std::string& path) {
    gi_nb_affcach = 0;
    if (!pageRecapAEcrire()) return;
    std::ostringstream out;
    viderVdef();
    affHeadHtml(out);
    out << "<body>\n"
        << "\n"
        << "<h2 class=\"GrosTitre\">Grille de mots crois\351s \340 th\350me g\351n\351r\351e avec DezedizIZIZ</h2>\n"
        << "<h3 class=\"GrosTitre\"><a name=\"sommaire\">Sommaire</a></h3>\n";
    const bool tableMots = !estDuplicateHorsTest();
    if (tableMots) out << "<a href=\"#recap\">R\351capitulatif</a><br/>\n";
    else affSommaireDuplicate(out);
    out << "<a href=\"#dicos\">" << texteDicosUtilises() << "</a><br />\n"
        << "<a href=\"#plateau\">Plateau de jeu</a><br/>\n";
    if (tableMots) affTableMots(out);
    affListeDicosHtml(out);
    affListeMots(out);
    const int inutilisees = affGrilleHtml(out, false);
    out << "Il y a " << inutilisees << " cases inutilis\351es<br />\n";
    affFinFichier(out);
    ecrirePageHtml(path, out.str());
}
