#include "reports/records.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/LimiteEcriture.h"
#include "support/MessageRecorder.h"
#include "support/PartieNeuve.h"
#include "support/Processus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Records& rec() { return partie.records; }

struct Place { std::string nom; short type, score, max; };  // type 0 human, else a computer level

// A game of these players as end_game leaves it: final scores set, no longer running.
void partieTerminee(const std::vector<Place>& places, bool duplicate = false) {
    partie.nbJoueurs = static_cast<short>(places.size());
    partie.modeDuplicate = duplicate;
    for (size_t i = 0; i < places.size(); ++i) {
        partie.joueurs[i].nom = places[i].nom;
        partie.joueurs[i].type = places[i].type;
    }
    init_board();
    partie.partieEnCours = 0;
    for (size_t i = 0; i < places.size(); ++i) {
        partie.joueurs[i].score = partie.joueurs[i].scoreFinal = places[i].score;
        partie.joueurs[i].sommeMeilleursCoups = places[i].max;
    }
}

long nbLignes(const std::string& texte) { return std::count(texte.begin(), texte.end(), '\n'); }

// Files of a folder, the records' lock files aside.
long nbFichiers(const std::string& dossier) {
    return std::count_if(fs::directory_iterator(dossier), {},
                         [](const fs::directory_entry& e) { return e.path().extension() != ".lock"; });
}

void verifierTablesTriees() {
    auto triee = [](const auto& t) {
        return std::is_sorted(t, t + Records::NB, [](const auto& a, const auto& b) { return a.score > b.score; });
    };
    for (int t = 0; t < 8; ++t) {
        EXPECT_TRUE(triee(rec().scoresHumains[t])) << t;
        EXPECT_TRUE(triee(rec().scoresOrdi[t])) << t;
    }
    EXPECT_TRUE(triee(rec().bestGosHumains));
    EXPECT_TRUE(triee(rec().bestGosOrdi));
    EXPECT_TRUE(triee(rec().meilleuresParties));
}

// A records file whose every entry is marked, scores 120 down to 101.
std::string fichierMarque(const std::string& marque) {
    Records r;
    for (int j = 0; j < Records::NB; ++j) {
        const short s = static_cast<short>(120 - j);
        for (int t = 0; t < 8; ++t) r.scoresHumains[t][j] = r.scoresOrdi[t][j] = {s, marque, "d"};
        r.bestGosHumains[j] = r.bestGosOrdi[j] = {s, marque, "d", "m"};
        r.meilleuresParties[j] = {s, marque, "d"};
    }
    return r.contenuFichier();
}

// The records without their dates, which depend on the moment of the test.
std::string sansDates(const Records& r) {
    std::istringstream in(r.contenuFichier());
    std::string out;
    for (std::string l; std::getline(in, l);)
        out += (l.size() == 19 && l[2] == '/' && l[5] == '/' && l[13] == ':' && l[16] == ':' ? "D" : l) + "\n";
    return out;
}

// The tables are read afresh from the test's own folder.
class RecordsTest : public PartieNeuve {
protected:
    MessageRecorder messages;
    void SetUp() override {
        PartieNeuve::SetUp();
        params.utiliserRepCourant = true;
        InitLangue("");
        InitLangue("defaut.bst");
    }
    void TearDown() override {
        EXPECT_TRUE(messages.boites().empty());
        PartieNeuve::TearDown();
    }
};

void normale() { partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}); }

void duplicate() {
    partieTerminee({{"Alice", 0, 100, 150}, {"Bot", 3, 90, 0}}, true);
    result_best.assign(3, saisieDP{40, 0, 0, "", "", "", "", "", true});  // tops summing to 120
    saisie_duplicate[0].resize(3);
    saisie_duplicate[1].resize(3);
}

// tableHumains: the scoresHumains table that gets Alice, -1 none.
struct CasGarde { const char* nom; void (*preparer)(); int tableHumains; bool ordi, meilleurePartie; };

const CasGarde kCasGardes[] = {
    {"Normale", normale, 1, true, true},
    {"CoupAnnule", [] { normale(); partie.noterCoupAnnule(); }, -1, false, false},
    {"OrdreFixe", [] { normale(); params.listeLettresOrdonnees = "ABCDEFG"; }, -1, false, false},
    {"TiragesSaisis", [] { duplicate(); params.saisieTirage = true; }, -1, false, false},
    {"EnCours", [] { normale(); partie.partieEnCours = 1; }, 1, true, false},
    {"ModeTest", [] { normale(); partie.modeTest = 1; }, 1, true, false},
    {"Duplicate", duplicate, 0, false, false},
    {"DuplicateGeneration", [] { duplicate(); gl_generationParties = true; }, 0, true, true},
    {"AucunJoueur", [] { normale(); partie.nbJoueurs = 0; }, -1, false, false},
    {"NeufJoueurs", [] { normale(); partie.nbJoueurs = 9; }, -1, false, false},
};

class GardesAlterscores : public RecordsTest, public ::testing::WithParamInterface<CasGarde> {};

}  // namespace

TEST_P(GardesAlterscores, EnregistreCeQueLaPartiePermet) {
    const CasGarde& c = GetParam();
    c.preparer();
    rec().alterscores();
    const char* alice = partie.modeDuplicate ? "Alice (top=120), (3,90)" : "Alice (max=150), (3,90)";
    for (int t : {0, 1}) EXPECT_EQ(rec().scoresHumains[t][0].texte, t == c.tableHumains ? alice : "Initialisation");
    EXPECT_EQ(rec().scoresOrdi[1][0].score, c.ordi ? 90 : 20);
    EXPECT_EQ(rec().meilleuresParties[0].texte, c.meilleurePartie ? "Alice (100), Bot [3] (90)" : "----");
    // The file holds every table's last state, or was never written.
    EXPECT_EQ(fichierExiste("defaut.bst") ? lireFichier("defaut.bst") : "",
              c.tableHumains >= 0 ? rec().contenuFichier() : "");
}

INSTANTIATE_TEST_SUITE_P(Records, GardesAlterscores, ::testing::ValuesIn(kCasGardes),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(RecordsTest, InsertionSousLesScoresEgauxEtSixJoueurs) {
    partieTerminee({{"Alice", 0, 0, 0}});
    // new score -> index it takes, -1 when it does not enter (the defaults run 20 down to 1)
    for (const auto& [score, index] : std::vector<std::pair<int, int>>{{1, -1}, {-7, -1}, {2, 19}, {20, 1}, {21, 0}}) {
        rec().defauts();
        std::remove("defaut.bst");
        rec().alterbestgo(score, "MOT");
        EXPECT_EQ(fichierExiste("defaut.bst"), index >= 0) << score;
        for (int j = 0; j < Records::NB; ++j)
            EXPECT_EQ(rec().bestGosHumains[j].score, j == index ? score : 20 - (index >= 0 && j > index ? j - 1 : j));
    }
    partieTerminee({{"A", 0, 312, 400}, {"B", 3, 287, 0}, {"C", 0, 250, 300},
                    {"D", 5, 240, 0}, {"E", 0, 230, 10}, {"F", 0, 220, 5}});
    rec().alterscores();
    // A human's record names at most three others, from the first four slots; so does the game's score.
    EXPECT_EQ(rec().scoresHumains[5][2].texte, "E (max=10), (A,312), (3,287), (C,250)");
    EXPECT_EQ(rec().meilleuresParties[0].texte, "A (312), B [3] (287), C (250), D [5] (240), E (230), F (220)");
    EXPECT_EQ(rec().meilleuresParties[0].score, 312 + 287 + 250 + 240);
    EXPECT_EQ(rec().scoresOrdi[5][0].texte, "B");
    EXPECT_EQ(rec().scoresOrdi[5][1].texte, "D");
}

TEST_F(RecordsTest, MeilleursCoupsHumainOrdiEtAnnulation) {
    partieTerminee({{"Alice", 0, 0, 0}, {"Bot", 2, 0, 0}});
    partie.joueurEnCours = 1;
    rec().alterbestgo(55, "MOT H8");
    EXPECT_TRUE(alimBestGosOrdi);
    EXPECT_EQ(valBestGosOrdi, 55);
    EXPECT_NE(lireFichier("defaut.bst").find("\nBot\n55\n"), std::string::npos);
    alimBestGosOrdi = false;
    // A computer move below the whole table: nothing changes, nothing is signalled.
    const std::string avant = lireFichier("defaut.bst");
    rec().alterbestgo(2, "PETIT");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(valBestGosOrdi, 55);
    EXPECT_EQ(lireFichier("defaut.bst"), avant);
    partie.joueurEnCours = 0;
    rec().alterbestgo(30, "CHAT, CHATS");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Alice");
    EXPECT_EQ(rec().bestGosHumains[0].mot, "CHAT, CHATS");
    // An undo at record 5: moves count again once the game is back there.
    for (int i = 0; i < 4; ++i) ajouterEnregHisto();
    partie.noterCoupAnnule();
    v_histo.pop_back();
    rec().alterbestgo(400, "ANNULE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 30);
    ajouterEnregHisto();
    rec().alterbestgo(401, "REJOUE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 401);
}

TEST_F(RecordsTest, ChangerDeFichierRepartDesDefauts) {
    Records defauts;
    defauts.defauts();
    EXPECT_EQ(sansDates(rec()), sansDates(defauts));
    const std::string d = sansDates(defauts);  // the first and last entry of each block, computers' texts too
    EXPECT_EQ(nbLignes(d), 1180);
    for (const char* bloc : {"Initialisation\n20\nD\n", "Initialisation\n1\nD\nInitialisation\n20\nD\n----\n",
                             "Initialisation\n1\nD\n----\nOrdi0\n20\nD\n", "Ordi0\n1\nD\nOrdi0\n20\nD\n----\n",
                             "Ordi0\n1\nD\n----\n20\n----\nD\n"})
        EXPECT_NE(d.find(bloc), std::string::npos) << bloc;
    EXPECT_EQ(d.substr(d.size() - 9), "1\n----\nD\n");
    ecrireFichier("a.bst", fichierMarque("A"));
    ecrireFichier("ja.bst", fichierMarque("Jok"));
    InitLangue("a.bst");
    ecrireFichier("a.bst", fichierMarque("Autre"));
    InitLangue("a.bst");
    EXPECT_EQ(rec().bestGosOrdi[0].joueur, "A") << "the same name is loaded once";
    InitLangue("absent.bst");
    EXPECT_EQ(sansDates(rec()), d) << "nothing of a.bst stays";
    // A short file: its three whole entries, then the defaults (not a.bst's entries).
    InitLangue("a.bst");
    ecrireFichier("court.bst", fichierMarque("C").substr(0, 26));
    InitLangue("court.bst");
    const auto& t = rec().scoresHumains[0];
    EXPECT_EQ(t[0].texte, "C");
    EXPECT_EQ(t[2].texte, "C");
    EXPECT_EQ(t[3].texte, "Initialisation");
    EXPECT_EQ(t[2].score, 118);
    EXPECT_EQ(t[3].score, 17);
    EXPECT_EQ(rec().bestGosOrdi[0].joueur, "Ordi0");
    // A joker game has its own file, beside the other in its folder.
    params.ficRecords = "a.bst";
    changerPartieJoker(true);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Jok");
    changerPartieJoker(false);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Autre");
    fs::create_directory("bst");
    params.ficRecords = "bst/x.bst";
    changerPartieJoker(true);
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(600, "DOSSIER");
    EXPECT_TRUE(fichierExiste("bst/jx.bst"));
    EXPECT_EQ(nbFichiers("bst"), 1);
}

// The bounded reader: odd numbers, line ends, cut or huge files give sorted tables, then a whole file.
TEST_F(RecordsTest, FichiersAbimesDonnentDesTablesTrieesPuisUnFichierComplet) {
    partieTerminee({{"Alice", 0, 0, 0}});
    const std::string longNom(300, '\351');
    for (const std::string& mot : {std::string("a\nb\rc"), std::string("%s%n%d"), longNom}) rec().alterbestgo(100, mot);
    const std::string relu = lireFichier("defaut.bst");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().contenuFichier(), relu);
    EXPECT_EQ(rec().bestGosHumains[0].mot, "a b c");
    EXPECT_EQ(rec().bestGosHumains[2].mot, longNom.substr(0, 255));
    // A score line as a hand edit may leave it, in any line end; nullopt: the entry is not read.
    const std::vector<std::pair<std::string, std::optional<short>>> nombres = {
        {"012", 10}, {"0x1A", 26}, {" 7\t", 7}, {"-32768", -32768}, {"32768", {}}, {"12abc", {}}, {"", {}}, {"09", {}}};
    for (const char* fin : {"\n", "\r\n", "\r\r\n"})
        for (const auto& [ligne, score] : nombres) {
            std::string f = fichierMarque("x").replace(0, 5, "N\n" + ligne);
            replaceAllNb(f, "\n", fin);
            ecrireFichier("defaut.bst", f);
            rec().defauts();
            rec().loadscores();
            const auto& t = rec().scoresHumains[0];
            auto e = std::find_if(t, t + Records::NB, [](const c_record& r) { return r.texte == "N"; });
            EXPECT_EQ(e == t + Records::NB ? std::optional<short>() : e->score, score) << ligne;
        }
    const std::string marque = fichierMarque("F");
    std::vector<std::string> abimes = {"", marque.substr(0, marque.rfind('\n', marque.size() - 2) + 1), marque,
                                       std::string(100000, 'z') + marque, std::string(60000, 0)};
    // Entries with a bad line keep their defaults: text in a score line (blocks 1 and 5), a text over 255 bytes.
    abimes[2].replace(marque.find("\n120\n") + 1, 3, "vingt");
    abimes[2].replace(abimes[2].find("\n120\nF\n") + 1, 3, "vingt");
    abimes[2].replace(abimes[2].find("\nF\n119\n") + 1, 1, std::string(256, 'F'));
    for (size_t i = 0; i < 60000; ++i) abimes[4][i] = static_cast<char>((i * 2654435761u) >> 24);  // random bytes
    for (size_t i = 0; i < abimes.size(); ++i) {
        const std::string nom = "abime" + std::to_string(i) + ".bst";
        ecrireFichier(nom, abimes[i]);
        InitLangue(nom);
        verifierTablesTriees();
        auto marquees = [](const c_record* t) {
            return std::count_if(t, t + Records::NB, [](const c_record& e) { return e.texte == "F"; });
        };
        if (i == 2) {
            EXPECT_EQ(marquees(rec().scoresHumains[0]), 18);
            EXPECT_EQ(marquees(rec().meilleuresParties), 19);
        }
        rec().alterbestgo(30000, "APRES");
        const std::string fichier = lireFichier(nom);
        EXPECT_EQ(nbLignes(fichier), 1180) << i;
        rec().loadscores();
        EXPECT_EQ(rec().contenuFichier(), fichier) << i;
    }
}

// Each update re-reads the file under the lock and replaces it whole; without the lock nothing is written.
TEST_F(RecordsTest, VerrouRelectureEtEcritureEntiere) {
    gl_debugAfficher = true;
    partieTerminee({{"Alice", 0, 0, 0}});
    ecrireFichier("defaut.bst", fichierMarque("Autre"));  // saved by another program after this one loaded
    rec().alterbestgo(500, "MOI");
    EXPECT_EQ(rec().bestGosHumains[0].mot, "MOI");
    EXPECT_EQ(rec().bestGosHumains[1].joueur, "Autre");
    EXPECT_EQ(rec().scoresOrdi[7][19].texte, "Autre");
    // An entry that could not be saved (typed draws) is not lost by the next read.
    partie.modeDuplicate = 1;
    params.saisieTirage = true;
    const std::string avant = lireFichier("defaut.bst");
    rec().alterbestgo(450, "ATTENTE");
    EXPECT_EQ(lireFichier("defaut.bst"), avant);
    partie.modeDuplicate = 0;
    params.saisieTirage = false;
    rec().alterbestgo(400, "ENSUITE");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot, "MOI");
    EXPECT_EQ(rec().bestGosHumains[1].mot, "ATTENTE");
    EXPECT_EQ(rec().bestGosHumains[2].mot, "ENSUITE");
    const int autre = open("defaut.bst.lock", O_RDWR | O_CREAT, 0666);  // another program holds the lock
    ASSERT_EQ(flock(autre, LOCK_EX), 0);
    const std::string ancien = lireFichier("defaut.bst");
    rec().alterbestgo(501, "BLOQUE");
    EXPECT_EQ(rec().bestGosHumains[0].mot, "MOI") << "the insertion is skipped";
    close(autre);
    {
        LimiteEcriture disquePlein(4096);  // a full disk: the old file stays, no temporary left
        rec().alterbestgo(502, "PLEIN");
    }
    EXPECT_EQ(lireFichier("defaut.bst"), ancien);
    InitLangue("absent/x.bst");  // no lock file can be made where the records go: the same
    rec().alterbestgo(503, "SANS DOSSIER");
    EXPECT_EQ(rec().bestGosHumains[0].score, 20);
    InitLangue("");  // no records file at all: the tables change in memory, no file and no lock
    rec().alterbestgo(504, "SANS NOM");
    EXPECT_EQ(rec().bestGosHumains[0].score, 504);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2) << "defaut.bst and its lock only";
    gl_debugAfficher = false;
    ASSERT_EQ(messages.journal().size(), 2u);
    EXPECT_NE(messages.journal()[0].find("defaut.bst"), std::string::npos);
    EXPECT_NE(messages.journal()[1].find("verrou de 'absent/x.bst' impossible"), std::string::npos);
    // A folder in the way: the save and the next load go to the fallback folder.
    TempDir repli;
    utiliserChemin = repli.path() + "/";
    ecrireFichier("bst", "pas un dossier");
    fs::create_directory(repli.file("bst"));
    InitLangue("bst/x.bst");
    rec().alterbestgo(70, "REPLI");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot, "REPLI");
}

// Two programs ending moves at the same moment both keep every entry.
TEST_F(RecordsTest, DeuxProgrammesGardentTousLeursCoups) {
    partieTerminee({{"Alice", 0, 0, 0}});
    ASSERT_TRUE(enParallele(2, [](int i) {
        partie.joueurs[0].nom = "P" + std::to_string(i);
        for (int k = 0; k < 10; ++k) rec().alterbestgo(100 * (i + 1) + k, "M");
        return true;
    }));
    rec().loadscores();
    std::vector<int> scores;
    for (const c_recordCoup& e : rec().bestGosHumains) scores.push_back(e.score);
    std::sort(scores.begin(), scores.end());
    EXPECT_EQ(scores, (std::vector<int>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
                                        200, 201, 202, 203, 204, 205, 206, 207, 208, 209}));
}
