#ifndef QV_REPORTS_STATISTIQUES_H
#define QV_REPORTS_STATISTIQUES_H

#include <locale>
#include <ostream>
#include <string>

// The counters of one column of the statistics table.
class c_statistique {
public:
    int nbMotsSatellites = 0;     // connecting words
    int nbMotsParTaille[23] = {}; // words formed, by length 0 to 22
    int nbTessarels = 0;          // whole-rack moves
    int nbCoupsHoriz = 0;
    int nbCoupsVertic = 0;
    int nbTopsTrouves = 0;
    int nbCoups = 0;              // moves counted (history only)
    int tabReserve1[14] = {};     // part of the column's layout; nothing fills them
    int tabReserve2[14] = {};
    int valMax = 0;
    int valMin = 0;
    int total = 0;                // sum of the scores (duplicate only)
    float valMoy = 0.0f;

    // Every counter to 0 but the minimum, which starts above any score.
    void raz();
};

// Column 0 the tops, column p player p.
extern c_statistique statistiques[9];

// Comma decimals, '.' between groups of three digits.
class myPunct : public std::numpunct<char> {
protected:
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

void alimStats();
void affStats(std::ostream& out);
void affLigneStats(std::ostream& out, const std::string& cle, const int& taille);

#endif
