#ifndef QV_TEST_REPORTS_PAGEHTML_H
#define QV_TEST_REPORTS_PAGEHTML_H

// Helpers of the HTML page tests: small game set-ups and checks that every
// page must pass whatever game it shows.

#include "engine/chargerpeau2.h"
#include "engine/dicopartie.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pagehtml {

inline std::vector<std::string> lignes(const std::string& texte) {
    std::vector<std::string> v;
    std::istringstream in(texte);
    std::string l;
    while (std::getline(in, l)) v.push_back(l);
    return v;
}

inline int compte(const std::string& texte, const std::string& motif) {
    int n = 0;
    for (size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + motif.size())) ++n;
    return n;
}

inline bool contientLigne(const std::string& page, const std::string& ligne) {
    for (const std::string& l : lignes(page))
        if (l == ligne) return true;
    return false;
}

// The lines from the first one equal to `debut` up to the first one equal to
// `fin`, both included; empty when `debut` is missing.
inline std::vector<std::string> bloc(const std::string& page, const std::string& debut, const std::string& fin) {
    std::vector<std::string> out;
    bool dedans = false;
    for (const std::string& l : lignes(page)) {
        if (!dedans && l == debut) dedans = true;
        if (!dedans) continue;
        out.push_back(l);
        if (l == fin && out.size() > 1) break;
    }
    return out;
}

// tr, td, th, table and div open and close in nested order.
inline void verifierBalises(const std::string& page) {
    static const std::set<std::string> suivies = {"tr", "td", "th", "table", "div", "thead", "tbody", "tfoot"};
    std::vector<std::string> pile;
    for (size_t p = page.find('<'); p != std::string::npos; p = page.find('<', p + 1)) {
        size_t q = p + 1;
        bool fermeture = q < page.size() && page[q] == '/';
        if (fermeture) ++q;
        size_t f = q;
        while (f < page.size() && std::isalpha(static_cast<unsigned char>(page[f]))) ++f;
        std::string nom = page.substr(q, f - q);
        if (!suivies.count(nom)) continue;
        if (!fermeture) {
            pile.push_back(nom);
            continue;
        }
        ASSERT_FALSE(pile.empty()) << "</" << nom << "> without its opening tag at byte " << p;
        ASSERT_EQ(pile.back(), nom) << "at byte " << p;
        pile.pop_back();
    }
    EXPECT_TRUE(pile.empty()) << pile.size() << " tags left open";
}

// Every folded block has a unique id, numbered 1 to n in page order, and the
// closing script opens each of them.
inline void verifierBlocs(const std::string& page) {
    int n = compte(page, "<div id=\"affcach_");
    for (int i = 1; i <= n; ++i) {
        std::string id = "affcach_" + std::to_string(i);
        EXPECT_EQ(compte(page, "id=\"" + id + "\""), 1) << id;
        EXPECT_EQ(compte(page, "ShowHide('" + id + "')\">"), 1) << id;
        EXPECT_EQ(compte(page, "ShowHide('" + id + "');\n"), 1) << id;
    }
    EXPECT_EQ(compte(page, "ShowHide('affcach_"), 2 * n);
}

// The page is Latin-1: no byte sequence that reads as UTF-8.
inline void verifierLatin1(const std::string& page) {
    for (size_t i = 0; i + 1 < page.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(page[i]);
        unsigned char b = static_cast<unsigned char>(page[i + 1]);
        ASSERT_FALSE(a >= 0xC2 && a <= 0xF4 && b >= 0x80 && b <= 0xBF) << "UTF-8 sequence at byte " << i;
    }
}

inline void verifierPage(const std::string& page) {
    ASSERT_FALSE(page.empty());
    verifierBalises(page);
    verifierBlocs(page);
    verifierLatin1(page);
    EXPECT_EQ(page.rfind("</html>\n"), page.size() - 8);
}

// A new game on the built-in rules: players named J1, J2... of the given
// kinds (0 human, else a computer level).
inline void nouvellePartie(std::vector<short> types, bool duplicate = false) {
    parametresParDefaut();
    partie.nbJoueurs = static_cast<short>(types.size());
    partie.modeDuplicate = duplicate;
    for (size_t i = 0; i < types.size(); ++i) {
        partie.joueurs[static_cast<int>(i)].type = types[i];
        partie.joueurs[static_cast<int>(i)].nom = "J" + std::to_string(i + 1);
    }
    init_board();
    partie.partieEnCours = 1;
}

// The next move of the history: fills the waiting empty record, then
// appends a new empty one for the move to come.
inline c_historique& coup(short joueur, const std::string& mot, const std::string& mots, short score,
                          short typeCoup = COUP_NORMAL) {
    c_historique& h = v_histo.back();
    h.joueur = joueur;
    h.coupJoue = mot;
    h.mots = mots;
    h.score = score;
    h.typeCoup = typeCoup;
    h.reglette = "ABCDEFG";
    h.position = "H8";
    h.sens = 1;
    h.nbLettresPosees = static_cast<short>(mot.size());
    h.scoreMeilleurCoup = score;
    ajouterEnregHisto();
    return v_histo[v_histo.size() - 2];
}

// One duplicate round: the top, then each player's entry (score, word).
inline void tour(const saisieDP& top, const std::vector<std::pair<short, std::string>>& entrees) {
    result_best.push_back(top);
    for (size_t p = 0; p < entrees.size(); ++p) {
        saisieDP e;
        e.score = entrees[p].first;
        e.mot = entrees[p].second;
        e.mots = entrees[p].second;
        e.position = "H4";
        e.nbLettresPosees = static_cast<short>(entrees[p].second.size());
        saisie_duplicate[p].push_back(e);
    }
    c_historique& h = v_histo.back();
    h.mots = top.mots;
    ajouterEnregHisto();
}

inline saisieDP unTop(const std::string& mot, short score, short nbLettres) {
    saisieDP t;
    t.mot = mot;
    t.mots = mot;
    t.score = score;
    t.nbLettresPosees = nbLettres;
    t.position = "H8";
    t.tirage = "ABCDEFG";
    t.nbTops = 1;
    return t;
}

}  // namespace pagehtml

#endif
