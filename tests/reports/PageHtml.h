#ifndef QV_TEST_REPORTS_PAGEHTML_H
#define QV_TEST_REPORTS_PAGEHTML_H

// Helpers of the HTML page tests: small game set-ups and the checks that
// every page must pass whatever game it shows.

#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

#include <locale>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace pagehtml {

using Lignes = std::vector<std::string>;

inline Lignes lignes(const std::string& texte) {
    Lignes v;
    std::istringstream in(texte);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

inline int compte(const std::string& texte, const std::string& motif) {
    int n = 0;
    for (size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + motif.size())) ++n;
    return n;
}

inline bool contientLigne(const std::string& page, const std::string& ligne) {
    return ("\n" + page).find("\n" + ligne + "\n") != std::string::npos;
}

// What a section writer puts on a page stream.
template <typename F>
std::string ecrit(F ecrire, const std::locale& loc = std::locale::classic()) {
    std::ostringstream out;
    out.imbue(loc);
    ecrire(out);
    return out.str();
}

inline bool contient(const std::string& page, const std::string& texte) { return page.find(texte) != std::string::npos; }

// The cell lines (td or th, indented by 6) of each row opened by a line that
// starts with "    <tr".
inline std::vector<Lignes> rangees(const std::string& page) {
    std::vector<Lignes> r;
    for (const std::string& l : lignes(page)) {
        if (l.rfind("    <tr", 0) == 0) r.emplace_back();
        else if (!r.empty() && (l.rfind("      <td", 0) == 0 || l.rfind("      <th", 0) == 0)) r.back().push_back(l);
    }
    return r;
}

// The contents of a row's cells, joined by "|".
inline std::string valeurs(const Lignes& rangee) {
    std::string v;
    for (const std::string& c : rangee) {
        size_t d = c.find('>') + 1;
        v += (v.empty() ? "" : "|") + c.substr(d, c.rfind("</t") - d);
    }
    return v;
}

// Table tags and div open and close in nested order.
inline void verifierBalises(const std::string& page) {
    static const std::set<std::string> suivies = {"tr", "td", "th", "table", "div", "thead", "tbody", "tfoot"};
    std::vector<std::string> pile;
    for (size_t p = page.find('<'); p != std::string::npos; p = page.find('<', p + 1)) {
        size_t q = p + 1 + (page[p + 1] == '/');
        size_t f = q;
        while (f < page.size() && std::isalpha(static_cast<unsigned char>(page[f]))) ++f;
        std::string nom = page.substr(q, f - q);
        if (!suivies.count(nom)) continue;
        if (q == p + 1) pile.push_back(nom);
        else if (pile.empty() || pile.back() != nom) FAIL() << "</" << nom << "> unmatched at byte " << p;
        else pile.pop_back();
    }
    EXPECT_TRUE(pile.empty()) << pile.size() << " tags left open";
}

// Every page: balanced tags, each folded block has one id numbered in page
// order and is opened by the closing script, and the bytes are Latin-1 (no
// sequence reads as UTF-8).
inline void verifierPage(const std::string& page) {
    ASSERT_FALSE(page.empty());
    verifierBalises(page);
    const int n = compte(page, "<div id=\"affcach_");
    EXPECT_EQ(compte(page, "ShowHide('affcach_"), 2 * n);
    for (int i = 1; i <= n; ++i) {
        const std::string id = "affcach_" + std::to_string(i);
        EXPECT_EQ(compte(page, "<div id=\"" + id + "\""), 1) << id;
        EXPECT_EQ(compte(page, "ShowHide('" + id + "')\">") + compte(page, "ShowHide('" + id + "');\n"), 2) << id;
    }
    for (size_t i = 0; i + 1 < page.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(page[i]), b = static_cast<unsigned char>(page[i + 1]);
        ASSERT_FALSE(a >= 0xC2 && a <= 0xF4 && b >= 0x80 && b <= 0xBF) << "UTF-8 sequence at byte " << i;
    }
    EXPECT_EQ(page.size() - page.rfind("</html>\n"), 8u);
}

// A new game of players J1, J2... of the given kinds (0 human, else a level).
inline void nouvellePartie(std::vector<short> types, bool duplicate = false) {
    fixtures::nouvellePartie(static_cast<int>(types.size()));
    partie.modeDuplicate = duplicate;
    for (size_t i = 0; i < types.size(); ++i) fixtures::joueur(static_cast<int>(i + 1), "J" + std::to_string(i + 1), types[i]);
}

// The next record of the history (a top when its score is the best move's),
// without touching the board.
inline c_historique& coup(short joueur, const std::string& mot, const std::string& mots, short score,
                          short typeCoup = COUP_NORMAL) {
    c_historique& h = v_histo.back();
    h.joueur = joueur;
    h.coupJoue = mot;
    h.mots = mots;
    h.score = h.scoreMeilleurCoup = score;
    h.typeCoup = typeCoup;
    h.sens = 1;
    h.nbLettresPosees = static_cast<short>(mot.size());
    ajouterEnregHisto();
    return v_histo[v_histo.size() - 2];
}

inline saisieDP unTop(const std::string& mot, short score, short nbLettres, const std::string& mots = "") {
    saisieDP t;
    t.mot = mot;
    t.mots = mots.empty() ? mot : mots;
    t.score = score;
    t.nbLettresPosees = nbLettres;
    t.position = "H8";
    t.tirage = "ABCDEFG";
    t.nbTops = 1;
    return t;
}

// One duplicate round: its top and history record, then each player's entry
// (score, word) at "H4".
inline void tour(const saisieDP& top, const std::vector<std::pair<short, std::string>>& entrees) {
    result_best.push_back(top);
    for (size_t p = 0; p < entrees.size(); ++p) {
        saisieDP e = unTop(entrees[p].second, entrees[p].first, static_cast<short>(entrees[p].second.size()));
        e.position = "H4";
        saisie_duplicate[p].push_back(e);
    }
    v_histo.back().mots = top.mots;
    ajouterEnregHisto();
}

}  // namespace pagehtml

#endif
