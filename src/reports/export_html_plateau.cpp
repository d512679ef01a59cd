#include "reports/export_html_plateau.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "lexicon/dico2.h"
#include "reports/export_html_cadre.h"

#include <algorithm>

namespace {

bool estJoker(char ch) { return ch >= 'a' && ch <= 'z'; }
bool estLettre(char ch) { return ch >= 'A' && ch <= 'Z'; }

int dimension() { return std::clamp<int>(partie.dimPlateau, 0, DIM_MAX); }

// The page text of board cell (r, c) of rows and columns 0 to N; header
// cells hold the column number or the row letter.
std::string texteCase(int r, int c) {
    if (r == 0 && c == 0) return " ";
    if (r == 0) return chaine("%2d", c);
    if (c == 0) return chaine("%2c", 'A' + r - 1);
    char ch = dicP.plateau[r][c];
    if (ch == 0) return " ";
    if (estJoker(ch)) return std::string(1, QToUpper(ch));
    return texteHtml(std::string(1, ch));
}

// The value of the tile on a board cell, 0 for anything else.
int valeurCase(int r, int c) {
    if (r == 0 || c == 0) return 0;
    char ch = dicP.plateau[r][c];
    if (estJoker(ch)) return partie.valeurLettre[IDX_JOKER];
    if (estLettre(ch)) return partie.valeurLettre[ch - 'A' + 1];
    return 0;
}

}  // namespace

DefinitionsPerso::DefinitionsPerso() {
    if (params.chargtIniUniq) {
        if (gini_def_ok) ini_ = &gini_def;
    } else if (local_.open(FIC_DEFINITIONS_PERSO, false)) {
        ini_ = &local_;
    }
}

std::string DefinitionsPerso::valeur(const std::string& rubrique, const std::string& mot) const {
    return ini_ ? (*ini_)(rubrique, mot, "") : std::string();
}

const char* texteDicosUtilises() { return params.dicos2.empty() ? "Dico utilis\351" : "Dicos utilis\351s"; }

void affListeDicosHtml(std::ostream& out) {
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">" << texteDicosUtilises() << "</a></h3>\n";
    out << "1 - " << texteHtml(dicP.nomFichier);
    if (!dicP.commentaire.empty()) out << " : " << texteHtml(dicP.commentaire);
    out << "<br />\n";
    for (size_t k = 0; k < params.dicos2.size(); ++k) {
        const Dico2& d = params.dicos2[k];
        if (d.nomFichier.empty()) continue;
        out << k + 2 << " - " << texteHtml(d.nomFichier);
        // A dictionary without a comment still gets its line: its number
        // appears in the word list.
        if (d.commentaire.empty()) {
            out << "<br />\n";
            continue;
        }
        out << " : ";
        const int n = nbElem(d.commentaire, "\\n");
        for (int i = 1; i <= n; ++i) out << texteHtml(champ(d.commentaire, i, "\\n")) << "<br />\n";
    }
}

void affDicosHtml(std::ostream& out) {
    if (params.typePartie != TYPE_PARTIE_THEMATIQUE) {
        affListeDicosHtml(out);
        return;
    }
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"dicos\">Th\350me utilis\351</a></h3>\n"
        << texteHtml(dicP.commentaire) << "<br /><br />\n";
}

void affDefinitionMot(std::ostream& out, const std::string& mot, const std::string& dicos, std::string def) {
    if (mot.empty()) return;
    if (def.find('\n') == std::string::npos && def.find(" / ") != std::string::npos) replaceAllNb(def, " / ", "\n");
    const std::string debut =
        texteHtml(mot) + (params.dicos2.empty() ? std::string(": ") : " (" + texteHtml(dicos) + "): ");
    size_t pos = 0;
    for (;;) {
        size_t fin = def.find('\n', pos);
        out << debut << texteHtml(def.substr(pos, fin == std::string::npos ? fin : fin - pos)) << "<br />\n";
        if (fin == std::string::npos) break;
        pos = fin + 1;
    }
}

void affListeMotsHtml(std::ostream& out) {
    if (vdef.empty()) return;
    std::sort(vdef.begin(), vdef.end());
    if (params.typePartie == TYPE_PARTIE_THEMATIQUE) {
        // A theme defines its words in the personal definitions file only.
        DefinitionsPerso perso;
        if (!perso.ouvert()) return;
        for (const std::string& w : vdef) {
            std::string v = perso.valeur(partie.rubriqueDefinitions, w);
            if (!v.empty()) out << texteHtml(w) << ": " << texteHtml(v) << "<br />\n";
        }
        return;
    }
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"definitions\">Liste des mots (principaux et "
           "satellites) de la partie</a></h3>\n";
    for (const std::string& w : vdef) {
        std::string d = chercherDefinition(w);
        if (d == TXT_DEFINITION_NON_TROUVEE) d = "?";
        affDefinitionMot(out, w, verifMotLstDico(w), d);
    }
}

const char* couleurCase(int r, int c) {
    if (r < 1 || c < 1 || r >= TAILLE_GRILLE || c >= TAILLE_GRILLE) return nullptr;
    const char ch = dicP.plateau[r][c];
    if (estJoker(ch)) return "darkorange";
    if (estLettre(ch)) return "burlywood";
    if (ch == 0 && r == partie.ligneDepart && c == partie.colDepart) return "darkviolet";
    const short l = partie.coefLettre[r][c];
    const short m = partie.coefMot[r][c];
    // Later rules win: a cell that is word x4 and letter x4 is "blue".
    const char* couleur = nullptr;
    if (l == 1 && m == 1) couleur = "lightgreen";
    if (l == 2) couleur = "lightblue";
    if (l == 3) couleur = "royalblue";
    if (m == 2) couleur = "hotpink";
    if (m == 3) couleur = "red";
    if (dicP.special[r][c] == CASE_NOIRE) couleur = "black";
    if (m == 4) couleur = "magenta";
    if (l == 4) couleur = "blue";
    return couleur;
}

int affGrilleHtml(std::ostream& out, bool avecValeurs) {
    const int n = dimension();
    int inutilisees = 0;
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"plateau\">Plateau de jeu</a></h3>\n"
        << "  <table>\n";
    for (int r = 0; r <= n; ++r) {
        out << "  <tr>\n";
        for (int c = 0; c <= n; ++c) {
            if (r > 0 && c > 0 && dicP.plateau[r][c] == 0) ++inutilisees;
            out << "  <td class=\"pcase\"";
            if (const char* couleur = couleurCase(r, c)) out << " bgcolor=\"" << couleur << '"';
            out << '>' << texteCase(r, c);
            int v = avecValeurs ? valeurCase(r, c) : 0;
            if (v != 0) out << "<span class=\"valeur\">" << v << "</span>\n";
            out << "</td>\n";
        }
        out << "  </tr>\n";
    }
    out << "  </table>\n";
    return inutilisees;
}

void affPlateauHtml(std::ostream& out) { affGrilleHtml(out, true); }

void affLettresRestantesHtml(std::ostream& out) {
    // Counted apart in int: the bag itself is never touched, and a board
    // holding more of a letter than the tile set gives a negative count.
    int sac[NB_LETTRES];
    int nbSac = 0;
    sacMoinsPlateau(sac, nbSac);
    std::string texte;
    int n = 0;
    for (int k = 1; k <= IDX_JOKER; ++k) {
        const std::string lettre = k == IDX_JOKER ? std::string("?") : std::string(1, static_cast<char>('A' + k - 1));
        if (sac[k] > 0) {
            n += sac[k];
            for (int i = 0; i < sac[k]; ++i) texte += lettre + " ";
        } else if (sac[k] < 0) {
            texte += chaine("(%s * %d)", lettre.c_str(), sac[k]);
        }
    }
    if (texte.empty()) {
        out << "<br />toutes les lettres sont plac\351es<br />\n";
        return;
    }
    out << "<br />" << n << (n < 2 ? " lettre restante: " : " lettres restantes: ") << texte << "<br />\n";
}

void affDistributionHtml(std::ostream& out) {
    out << "  <h3 class=\"GrosTitre\"><a href=\"#sommaire\" name=\"distrib\">Distribution des lettres</a></h3>\n"
        << "  <table>\n"
        << "    <thead>\n"
        << "    <tr>\n"
        << "      <th>Lettre</th>\n"
        << "      <th>Valeur</th>\n"
        << "      <th>Quantit\351</th>\n"
        << "    </tr>\n"
        << "    </thead>\n"
        << "    <tbody>\n";
    int total = 0;
    for (int k = 1; k <= IDX_JOKER; ++k) {
        const char lettre = k == IDX_JOKER ? '?' : static_cast<char>('A' + k - 1);
        out << "  <tr><td>" << lettre << "</td><td>" << partie.valeurLettre[k] << "</td><td>" << partie.nbLettre[k]
            << "</td></tr>\n";
        total += partie.nbLettre[k];
    }
    out << "    </tbody>\n"
        << "    <tfoot>\n"
        << "    <tr>\n"
        << "      <td colspan=2>&nbsp;</td>\n"
        << "      <td>" << total << "</td>\n"
        << "    </tr>\n"
        << "    </tfoot>\n"
        << "  </table>\n";
}
