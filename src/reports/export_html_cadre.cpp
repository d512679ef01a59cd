#include "reports/export_html_cadre.h"

#include "app/interface.h"
#include "app/messagebox.h"
#include "core/maChaine.h"
#include "core/utile_gcc.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "reports/version.h"

#include <FL/Enumerations.H>

#include <unordered_set>

std::vector<std::string> vdef;
unsigned int gi_nb_affcach = 0;
const std::string couleurs[8] = {"cj1", "cj2", "cj3", "cj4", "cj1", "cj2", "cj3", "cj4"};
const std::string niveaux =
    "Mot de 5 lettres maxi|Mot de 6 lettres maxi|Mot de 7 lettres maxi|Valeur de 25 points maxi|"
    "Valeur de 45 points maxi|Excellent|Mot de 4 lettres maxi|Valeur de 15 points maxi";

namespace {

// The words of vdef, for the look-up; rebuilt when vdef was changed elsewhere
// (its order may change, its content only through viderVdef and ajoutMotVDef).
std::unordered_set<std::string> indexVdef;

struct RegleStyle {
    const char* selecteur;
    std::vector<const char*> declarations;
};

const RegleStyle kStyle[] = {
    {"a.affcach {", {"cursor: pointer;", "cursor: hand;"}},
    {"a:link, a:visited {", {"color: blue;", "text-decoration: none"}},
    {"a:link:hover, a:visited:hover {", {"color: #FF6633;", "text-decoration: none"}},
    {"a:active {", {"color: blue;", "text-decoration: none"}},
    {"td span.valeur {",
     {"font-family: Arial, Helvetica, sans-serif;", "margin-left: 1px;", "font-size: 0.4em;",
      "font-weight: normal;", "line-height: normal;"}},
    {"td.pcase {", {"width: 30px;", "height: 20px;", "text-align: center;", "font-size: 1.8em;"}},
    {"table {", {"border:3px solid #6495ed;", "border-collapse:collapse;"}},
    {"thead, tfoot {", {"background-color: #D0E3FA;", "border:1px solid #6495ed;"}},
    {"tbody {", {"background-color:#FFFFFF;", "border:1px solid #6495ed;"}},
    {"th {", {"border:1px dotted #6495ed;", "padding:5px;"}},
    {"td {", {"border:1px solid #6495cd;", "padding:5px;", "text-align:left;"}},
    {".cj1 { /* couleur joueur 1 */", {"background-color: lightskyblue;"}},
    {".cj2 { /* couleur joueur 2 */", {"background-color: lightblue;"}},
    {".cj3 { /* couleur joueur 3 */", {"background-color: cyan;"}},
    {".cj4 { /* couleur joueur 4 */", {"background-color: aquamarine;"}},
    {".ctop { /* couleur top */", {"background-color: turquoise;"}},
    {"body {",
     {"font-family: Verdana, Arial, Helvetica, sans-serif;",
      "font-size: 62.5%; /* 16px (100%) -> 10px, ainsi, 1em = 10px */"}},
    {"h2.GrosTitre {",
     {"font-size: 1.8em;", "font-weight: bold;", "text-decoration: none;", "border-bottom : 2px solid grey"}},
    {"h3.GrosTitre {",
     {"color: blue;", "font-size: 1.5em;", "font-weight: bold;", "text-decoration: none;",
      "border-bottom : 1px solid grey"}},
};

void ajouteCarHtml(std::string& out, char c) {
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    default: out += c;
    }
}

const char* coche(bool b) { return b ? "coch\351e" : "d\351coch\351e"; }

const char* nomTypeChoix(short type) {
    switch (type) {
    case 0: return "premier";
    case 1: return "al\351atoire";
    case 2: return "coef. par lettre";
    case 3: return "nb de raccords";
    default: return "";
    }
}

}  // namespace

std::string texteHtml(const std::string& texte) {
    if (texte.find_first_of("&<>") == std::string::npos) return texte;
    std::string out;
    out.reserve(texte.size() + 16);
    for (char c : texte) ajouteCarHtml(out, c);
    return out;
}

std::string nomNiveau(int niveau) {
    if (niveau < 1 || niveau > 8) return std::string();
    return lookup(niveaux, static_cast<unsigned short>(niveau), "|");
}

std::string banniereVersion() {
    std::string s = chaine("%s (compilateur %s, FLTK %d.%d.%d)", QV_VERSION, __VERSION__, FL_MAJOR_VERSION,
                           FL_MINOR_VERSION, FL_PATCH_VERSION);
    // The banner goes inside an HTML comment, which "--" would end early.
    while (replaceAllNb(s, "--", "-") > 0) {
    }
    return s;
}

// The page is Latin-1: an XML reader takes a page without an encoding in its
// declaration for UTF-8, and a browser must meet the charset before the first
// accented letter (the title's), so both come first.
void affHeadHtml(std::ostream& out) {
    out << "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
        << "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
           "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\n"
        << "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"fr\">\n"
        << "<head>\n"
        << "    <meta http-equiv=\"content-Type\" content=\"text/html; charset=iso-8859-1\" />\n"
        << "    <title>R\351capitulatif de partie</title>\n"
        << "    <meta name=\"robots\" content=\"noindex,nofollow\" />\n"
        << "    <meta name=\"rating\" content=\"General\" />\n"
        << "    <meta name=\"distribution\" content=\"Global\" />\n"
        << "    <meta name=\"author\" content=\"" << QV_PRODUIT << " fltk\" />\n"
        << "    <meta name=\"Auteur\" content=\"the quorvel developers\" />\n"
        << "    <meta name=\"Category\" content=\"Games\" />\n"
        << "    <meta name=\"Language\" content=\"fr\" />\n"
        << "    <meta http-equiv=\"content-style-type\" content=\"text/css\" />\n"
        << "    <meta http-equiv=\"content-language\" content=\"fr\" />\n"
        << " <style type=\"text/css\">\n"
        << "    <!--\n";
    for (const RegleStyle& r : kStyle) {
        out << r.selecteur << '\n';
        for (const char* d : r.declarations) out << "    " << d << '\n';
        out << "}\n";
    }
    out << "     -->\n"
        << "     </style>\n"
        << "</head>\n";
}

void affFinFichier(std::ostream& out) {
    out << "<!--\n";
    for (size_t i = 0; i < vect_regpt.size(); ++i)
        out << "Regroupement de dico " << i + 1 << " : " << vect_regpt[i] << '\n';
    out << "type choix : " << nomTypeChoix(params.typeChoixTop) << '\n'
        << "Un seul chevalet (normal) : option " << coche(partie.unSeulChevalet) << '\n'
        << "Saisie tirage (duplicate) : option " << coche(params.saisieTirage) << '\n'
        << "Valeur facultative (duplicate) : option " << coche(partie.valeurFacultative) << '\n'
        << "Joker Tessarel : option " << coche(menu_joker_coche()) << " (mais vaut "
        << coche(partie.partieJoker) << ")\n"
        << "Duplicate : option " << coche(partie.modeDuplicate) << '\n'
        << "R\351solution : option " << coche(partie.modeResolution) << '\n'
        << "Afficher toutes les solutions (r\351solution) : option " << coche(partie.afficherToutesSolutions)
        << '\n';
    if (partie.modeTest) out << "Mode test : oui\n";
    out << "Version : " << banniereVersion() << '\n';
    for (int i = 1; i <= 15; ++i)
        if (params.bonus[i] > 0) out << "Bonus pour mots de " << i << " lettres : " << params.bonus[i] << '\n';
    out << "-->\n"
        << "<script language=\"javascript\">\n"
        << "function OpenAll() {\n";
    // The block numbers bypass the stream's number format: after the
    // statistics it groups digits, and "affcach_1.000" would name no block.
    for (unsigned int n = 1; n <= gi_nb_affcach; ++n) out << "ShowHide('affcach_" << std::to_string(n) << "');\n";
    out << "}\n"
        << "</script>\n"
        << "\n"
        << "</body>\n"
        << "</html>\n";
}

std::string blocPliable(int nombre, const std::string& extra, const std::string& texte) {
    std::string n = std::to_string(++gi_nb_affcach);
    return "<a class=\"affcach\" onclick=\"ShowHide('affcach_" + n + "')\">Afficher : " + std::to_string(nombre) +
           extra + "</a><div id=\"affcach_" + n + "\" style=\"display:none;\">" + remplaceJokerDsTexte(texte) +
           "</div>";
}

void ecrirePageHtml(const std::string& path, const std::string& contenu) {
    if (!ecrireFichierAtomique(path, contenu))
        affDebug("%s\n", formaterTexte(ptraduire("Creation du fichier recap. impossible (%s)"), {path}).c_str());
}

bool pageRecapAEcrire() {
    if (!partie.modeDuplicate || partie.modeTest) return true;
    partie.AlimDernCoupDuplSaisi();
    return partie.dernCoupDuplSaisi != 0;
}

int typeJoueurEnreg(int joueur) {
    if (joueur < 1 || joueur > NB_JOUEURS_MAX) return 0;
    return partie.joueurs[joueur - 1].type;
}

void ajoutMotVDef(const std::string& mot) {
    std::string w = chaineMajuscule(chaineSansAccent(mot));
    if (partie.partieJoker) {
        size_t blanc = w.find(' ');
        if (blanc != std::string::npos) w.resize(blanc);
    }
    // A game of a thousand moves lists thousands of words: a search through
    // vdef for each one would cost more than the rest of the page.
    if (indexVdef.size() != vdef.size()) indexVdef = std::unordered_set<std::string>(vdef.begin(), vdef.end());
    if (indexVdef.insert(w).second) vdef.push_back(w);
}

void viderVdef() {
    vdef.clear();
    indexVdef.clear();
}

void ajoutMotsFormesVDef(const std::string& mots) {
    const int n = nbElem(mots, ", ");
    for (int k = 1; k <= n; ++k) ajoutMotVDef(champ(mots, k, ", "));
}

void debutLigneCoup(std::ostream& out, const c_historique& h) {
    if (h.typeCoup == COUP_NORMAL) {
        ajoutMotVDef(h.coupJoue);
        ajoutMotsFormesVDef(h.mots);
    }
    out << "    <tr";
    if (h.joueur >= 1 && h.joueur <= 4) out << " class=\"" << couleurs[h.joueur - 1] << '"';
    out << ">\n";
}

std::string texteCoup(const c_historique& h) {
    return h.typeCoup == COUP_NORMAL ? remplaceJokerDsTexte(h.coupJoue) : texteHtml(h.coupJoue);
}

std::string neGarderQueRaccords(const std::string& mots) {
    size_t p = mots.find(", ");
    if (p == std::string::npos) return std::string();
    return mots.substr(p + 2);
}

std::string remplaceJokerDsTexte(const std::string& texte) {
    if (texte.empty()) return std::string();
    if (params.typePartie == TYPE_PARTIE_GRILLE) return texteHtml(texte);
    std::string out;
    out.reserve(texte.size() + 8);
    for (char c : texte) {
        if (c >= 'a' && c <= 'z') {
            out += '(';
            out += QToUpper(c);
            out += ')';
        } else {
            ajouteCarHtml(out, c);
        }
    }
    replaceAllNb(out, "]", "]<br/>");
    return out;
}
