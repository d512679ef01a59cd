#ifndef QV_REPORTS_RECORDS_H
#define QV_REPORTS_RECORDS_H

#include <string>

struct c_record {
    short score = 0;
    std::string texte;
    std::string date;
};

struct c_recordCoup {
    short score = 0;
    std::string joueur;
    std::string date;
    std::string mot;
};

class VerrouRecords;

// The records of best games and best moves, kept in the records file. Each
// update re-reads the file under a lock, so that programs ending games at
// the same time all keep their entries.
class Records {
public:
    static const int NB = 20;
    static const int NB_LIGNES_FICHIER = 1180;
    static const size_t LONGUEUR_TEXTE_MAX = 255;  // longest text value of the file
    static constexpr int DELAI_VERROU_MS = 3000;       // an update waits this long for the lock

    Records();

    void defauts();  // the default content of every table
    void loadscores();
    void savescores();
    void alterscores();
    void alterbestgo(int score, const std::string& mot);

    // The records file as savescores writes it: 1,180 lines, one value each.
    std::string contenuFichier() const;

    c_record meilleuresParties[NB];
    c_record scoresHumains[8][NB];
    c_record scoresOrdi[8][NB];
    c_recordCoup bestGosHumains[NB];
    c_recordCoup bestGosOrdi[NB];

private:
    friend void InitLangue(const std::string& ficRecords);
    // Takes the lock and re-reads the file; false when the update must not happen.
    bool debutMiseAJour(VerrouRecords& verrou);
    bool nonSauve_ = false;  // the tables hold an entry that the file lacks
};

// Forms the records file name in use and reloads the tables when it changes.
void InitLangue(const std::string& ficRecords);

#endif
