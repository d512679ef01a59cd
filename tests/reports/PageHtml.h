#ifndef QV_TEST_REPORTS_PAGEHTML_H
#define QV_TEST_REPORTS_PAGEHTML_H

// Helpers of the HTML page tests: small game set-ups and the checks every page must pass.

#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/partie.h"
#include "reports/export_html.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>

namespace pagehtml {

using Lignes = std::vector<std::string>;

inline int compte(const std::string& texte, const std::string& motif) {
    int n = 0;
    for (size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + motif.size())) ++n;
    return n;
}

inline bool contient(const std::string& page, const std::string& texte) { return page.find(texte) != std::string::npos; }

// What a section writer puts on a page stream.
template <typename F>
std::string ecrit(F ecrire, const std::locale& loc = std::locale::classic()) {
    std::ostringstream out;
    out.imbue(loc);
    ecrire(out);
    return out.str();
}

// The page the recap writer gives the game in place.
inline std::string page() {
    export_html("histo.html");
    return lireFichier("histo.html");
}

// Each text is found after the one before it.
inline void dansLOrdre(const std::string& p, const Lignes& reperes) {
    size_t pos = 0;
    for (const std::string& r : reperes) {
        const size_t trouve = p.find(r, pos);
        ASSERT_NE(trouve, std::string::npos) << r << " after byte " << pos;
        pos = trouve + r.size();
    }
}

// Each row's cell contents (td and th lines indented by 6) joined by "|"; a row opens on "    <tr".
inline Lignes rangees(const std::string& page) {
    Lignes r;
    std::istringstream in(page);
    for (std::string l; std::getline(in, l);) {
        if (l.rfind("    <tr", 0) == 0) r.emplace_back();
        if (r.empty() || (l.rfind("      <td", 0) != 0 && l.rfind("      <th", 0) != 0)) continue;
        const size_t d = l.find('>') + 1;
        r.back() += (r.back().empty() ? "" : "|") + l.substr(d, l.rfind("</t") - d);
    }
    return r;
}

// Every page: table tags balanced, each folded-block id once, Latin-1 bytes (no UTF-8 sequence).
inline void verifierPage(const std::string& page) {
    ASSERT_FALSE(page.empty());
    for (std::string t : {"tr", "td", "th", "table", "div", "thead", "tbody", "tfoot"})
        EXPECT_EQ(compte(page, "<" + t + ">") + compte(page, "<" + t + " "), compte(page, "</" + t + ">")) << t;
    for (int i = 1, n = compte(page, "<div id=\"affcach_"); i <= n; ++i)
        EXPECT_EQ(compte(page, "<div id=\"affcach_" + std::to_string(i) + "\""), 1) << i;
    for (size_t i = 0; i + 1 < page.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(page[i]), b = static_cast<unsigned char>(page[i + 1]);
        ASSERT_FALSE(a >= 0xC2 && a <= 0xF4 && b >= 0x80 && b <= 0xBF) << "UTF-8 sequence at byte " << i;
    }
}

// A new game of players J1, J2... of the given kinds (0 human, else a level).
inline void nouvellePartie(std::vector<short> types, bool duplicate = false) {
    fixtures::nouvellePartie(static_cast<int>(types.size()));
    partie.modeDuplicate = duplicate;
    for (size_t i = 0; i < types.size(); ++i) fixtures::joueur(static_cast<int>(i + 1), "J" + std::to_string(i + 1), types[i]);
}

// A duplicate round: its top (draw "ABCDEFG" at H8) and record, then each player's (score, word) at H4.
inline void tour(const std::string& mot, short score, short nbLettres,
                 const std::vector<std::pair<short, std::string>>& entrees, const std::string& mots = "") {
    result_best.push_back({score, 1, nbLettres, "H8", "ABCDEFG", mot, mots.empty() ? mot : mots, "", true});
    for (size_t p = 0; p < entrees.size(); ++p)
        saisie_duplicate[p].push_back({entrees[p].first, 1, static_cast<short>(entrees[p].second.size()), "H4",
                                       "ABCDEFG", entrees[p].second, entrees[p].second, "", true});
    v_histo.back().mots = result_best.back().mots;
    ajouterEnregHisto();
}

}  // namespace pagehtml

#endif
