#include "reports/records.h"

#include "app/interface.h"
#include "core/maChaine.h"
#include "core/utile_gcc.h"
#include "engine/chargerpeau2.h"
#include "engine/divers.h"
#include "engine/duplicate.h"
#include "engine/historic.h"
#include "engine/params.h"
#include "engine/partie.h"
#include "support/LimiteEcriture.h"
#include "support/MessageRecorder.h"
#include "support/Processus.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sstream>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
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
    for (int t = 0; t < 8; ++t) EXPECT_TRUE(triee(rec().scoresHumains[t]) && triee(rec().scoresOrdi[t])) << t;
    EXPECT_TRUE(triee(rec().bestGosHumains) && triee(rec().bestGosOrdi) && triee(rec().meilleuresParties));
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

class RecordsTest : public ::testing::Test {
protected:
    InTempDir dir;
    MessageRecorder messages;
    // Every global the records read, as a program starts; the tables are read
    // afresh from this test's folder.
    void SetUp() override {
        parametresParDefaut();
        params.saisieTirage = false;
        params.utiliserRepCourant = true;
        utiliserChemin.clear();
        gl_generationParties = false;
        gl_debugAfficher = false;
        partie.partieJoker = partie.modeTest = 0;
        InitLangue("");
        InitLangue("defaut.bst");
    }
    void TearDown() override { EXPECT_TRUE(messages.boites().empty()); }
};

TEST_F(RecordsTest, UnePartieNormaleEcritDeuxFoisLeFichierComplet) {
    const int fd = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd, ".", IN_CREATE | IN_MOVED_TO);  // creations too, so that two renames stay two events
    partieTerminee({{"Alice", 0, 25, 40}});
    rec().alterscores();
    alignas(inotify_event) char buf[8192];
    int remplacements = 0;
    for (ssize_t lus; (lus = read(fd, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + lus; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            remplacements += (reinterpret_cast<inotify_event*>(p)->mask & IN_MOVED_TO) != 0;
    close(fd);
    EXPECT_EQ(remplacements, 2);
    const std::string f = lireFichier("defaut.bst");
    EXPECT_EQ(nbLignes(f), 1180);
    EXPECT_EQ(f.substr(0, 18) + f.substr(18 + 20, 18), "Alice (max=40)\n25\nInitialisation\n20\n");  // a date between
    EXPECT_NE(f.find("\n25\nAlice (25)\n"), std::string::npos);
}

TEST_F(RecordsTest, InsertionSousLesScoresEgaux) {
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
}

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

TEST_P(GardesAlterscores, EnregistreCeQueLaPartiePermet) {
    const CasGarde& c = GetParam();
    c.preparer();
    rec().alterscores();
    const char* alice = partie.modeDuplicate ? "Alice (top=120), (3,90)" : "Alice (max=150), (3,90)";
    for (int t : {0, 1}) EXPECT_EQ(rec().scoresHumains[t][0].texte, t == c.tableHumains ? alice : "Initialisation");
    EXPECT_EQ(rec().scoresOrdi[1][0].score, c.ordi ? 90 : 20);
    EXPECT_EQ(rec().meilleuresParties[0].texte, c.meilleurePartie ? "Alice (100), Bot [3] (90)" : "----");
    EXPECT_EQ(fichierExiste("defaut.bst"), c.tableHumains >= 0);
}

INSTANTIATE_TEST_SUITE_P(Records, GardesAlterscores, ::testing::ValuesIn(kCasGardes),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(RecordsTest, PartieASixJoueurs) {
    partieTerminee({{"A", 0, 312, 400}, {"B", 3, 287, 0}, {"C", 0, 250, 300},
                    {"D", 5, 240, 0}, {"E", 0, 230, 10}, {"F", 0, 220, 5}});
    rec().alterscores();
    // A human's record names at most three others, from the first four slots.
    EXPECT_EQ(rec().scoresHumains[5][2].texte, "E (max=10), (A,312), (3,287), (C,250)");
    EXPECT_EQ(rec().meilleuresParties[0].texte, "A (312), B [3] (287), C (250), D [5] (240), E (230), F (220)");
    EXPECT_EQ(rec().meilleuresParties[0].score, 312 + 287 + 250 + 240) << "the first four slots only";
    EXPECT_EQ(rec().scoresOrdi[5][0].texte + rec().scoresOrdi[5][1].texte, "BD");
}

TEST_F(RecordsTest, MeilleursCoupsHumainOrdiEtAnnulation) {
    partieTerminee({{"Alice", 0, 0, 0}, {"Bot", 2, 0, 0}});
    alimBestGosOrdi = false;
    valBestGosOrdi = 0;
    partie.joueurEnCours = 1;
    rec().alterbestgo(55, "MOT H8");
    EXPECT_TRUE(alimBestGosOrdi && valBestGosOrdi == 55);
    EXPECT_EQ(rec().bestGosOrdi[0].joueur + rec().bestGosOrdi[0].mot, "BotMOT H8");
    EXPECT_NE(lireFichier("defaut.bst").find("\nBot\n55\n"), std::string::npos);
    alimBestGosOrdi = false;
    // A computer move below the whole table: nothing changes, nothing is signalled.
    const std::string avant = lireFichier("defaut.bst");
    rec().alterbestgo(2, "PETIT");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(valBestGosOrdi, 55);
    EXPECT_EQ(rec().bestGosOrdi[19].score * 1000 + rec().bestGosOrdi[19].mot.size(), 2004);  // the default "----"
    EXPECT_EQ(lireFichier("defaut.bst"), avant);
    partie.joueurEnCours = 0;
    rec().alterbestgo(30, "CHAT, CHATS");
    EXPECT_FALSE(alimBestGosOrdi);
    EXPECT_EQ(rec().bestGosHumains[0].joueur + rec().bestGosHumains[0].mot, "AliceCHAT, CHATS");
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

TEST_F(RecordsTest, InitLangueChargeUneFoisEtLaPartieJokerASonFichier) {
    ecrireFichier("ord.bst", fichierMarque("Ord"));
    ecrireFichier("jord.bst", fichierMarque("Jok"));
    InitLangue("ord.bst");
    ecrireFichier("ord.bst", fichierMarque("Autre"));
    InitLangue("ord.bst");
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Ord") << "the same name is loaded once";
    params.ficRecords = "ord.bst";
    changerPartieJoker(true);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Jok");
    changerPartieJoker(false);
    EXPECT_EQ(rec().bestGosHumains[0].joueur, "Autre");
    fs::create_directory("bst");
    params.ficRecords = "bst/x.bst";
    changerPartieJoker(true);
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(600, "DOSSIER");
    EXPECT_TRUE(fichierExiste("bst/jx.bst") && nbFichiers("bst") == 1);
}

TEST_F(RecordsTest, AllerRetourDesTextesEtDesNombres) {
    const std::string longNom(300, '\351');
    const std::vector<std::pair<std::string, std::string>> noms = {
        {"", ""}, {" tete", " tete"}, {longNom, longNom.substr(0, 255)}, {"%s%n%d", "%s%n%d"}, {"a\nb\rc", "a b c"}};
    partieTerminee({{"Alice", 0, 0, 0}});
    for (size_t i = 0; i < noms.size(); ++i) rec().alterbestgo(static_cast<int>(100 - i), noms[i].first);
    const std::string fichier = lireFichier("defaut.bst");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().contenuFichier(), fichier);
    for (size_t i = 0; i < noms.size(); ++i) EXPECT_EQ(rec().bestGosHumains[i].mot, noms[i].second) << i;

    // A score line as a hand edit may leave it, in either line end; nullopt: the entry is not read.
    const std::vector<std::pair<std::string, std::optional<short>>> nombres = {
        {"012", 10}, {"0x1A", 26}, {" 7\t", 7}, {"-32768", -32768}, {"32768", {}}, {"12abc", {}}, {"", {}}, {"09", {}}};
    for (const char* fin : {"\n", "\r\n", "\r\r\n"})
        for (const auto& [ligne, score] : nombres) {
            std::string f = fichierMarque("x").replace(0, 5, "N\n" + ligne);
            replaceAllNb(f, "\n", fin);
            ecrireFichier("defaut.bst", f);
            rec().defauts();
            rec().loadscores();
            verifierTablesTriees();
            const auto& t = rec().scoresHumains[0];
            auto e = std::find_if(t, t + Records::NB, [](const c_record& r) { return r.texte == "N"; });
            EXPECT_EQ(e == t + Records::NB ? std::optional<short>() : e->score, score) << ligne;
        }
}

TEST_F(RecordsTest, FichiersAbimesDonnentDesTablesTrieesPuisUnFichierComplet) {
    const std::string marque = fichierMarque("F");
    auto tronque = [&marque](int n) {
        size_t p = 0;
        while (n-- > 0) p = marque.find('\n', p) + 1;
        return marque.substr(0, p);
    };
    std::vector<std::string> abimes = {tronque(0), tronque(1), tronque(500), tronque(1179), marque,
                                       std::string(100000, 'z') + marque, std::string(60000, 0)};
    // Entries with a bad line keep their defaults: text in a score line (blocks 1
    // and 5) and a text over 255 characters.
    abimes[4].replace(marque.find("\n120\n") + 1, 3, "vingt");
    abimes[4].replace(abimes[4].find("\n120\nF\n") + 1, 3, "vingt");
    abimes[4].replace(abimes[4].find("\nF\n119\n") + 1, 1, std::string(256, 'F'));
    for (size_t i = 0; i < 60000; ++i) abimes[6][i] = static_cast<char>((i * 2654435761u) >> 24);  // random bytes
    partieTerminee({{"Alice", 0, 0, 0}});
    for (size_t i = 0; i < abimes.size(); ++i) {
        const std::string nom = "abime" + std::to_string(i) + ".bst";
        ecrireFichier(nom, abimes[i]);
        InitLangue(nom);
        verifierTablesTriees();
        if (i == 4) {
            auto marquees = [](const c_record* t) {
                return std::count_if(t, t + Records::NB, [](const c_record& e) { return e.texte == "F"; });
            };
            EXPECT_EQ(marquees(rec().scoresHumains[0]) * 100 + marquees(rec().meilleuresParties), 1819);
        }
        rec().alterbestgo(30000, "APRES");
        const std::string fichier = lireFichier(nom);
        EXPECT_EQ(nbLignes(fichier), 1180) << i;
        rec().loadscores();
        EXPECT_EQ(rec().contenuFichier(), fichier) << i;
    }
}

TEST_F(RecordsTest, SauvegardeRateeLaisseLAncienFichier) {
    TempDir repli;
    utiliserChemin = repli.path() + "/";
    partieTerminee({{"Alice", 0, 0, 0}});
    rec().alterbestgo(50, "PREMIER");
    const std::string ancien = lireFichier("defaut.bst");
    {
        LimiteEcriture disquePlein(4096);  // both paths fail
        rec().alterbestgo(60, "SECOND");
    }
    EXPECT_EQ(lireFichier("defaut.bst"), ancien);
    EXPECT_EQ(nbFichiers(".") + nbFichiers(repli.path()), 1) << "no temporary left";
    // "bst" is not a folder here: the save and the next load go to the fallback folder.
    ecrireFichier("bst", "pas un dossier");
    fs::create_directory(repli.file("bst"));
    InitLangue("bst/x.bst");
    rec().alterbestgo(70, "REPLI");
    EXPECT_EQ(nbLignes(lireFichier(repli.file("bst/x.bst"))), 1180);
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot, "REPLI");
}

// The records file without its dates, which depend on the moment of the test.
std::string sansDates(const Records& r) {
    std::istringstream in(r.contenuFichier());
    std::string out;
    for (std::string l; std::getline(in, l);) {
        const bool date = l.size() == 19 && l[2] == '/' && l[5] == '/' && l[13] == ':' && l[16] == ':';
        out += (date ? "D" : l) + "\n";
    }
    return out;
}

TEST_F(RecordsTest, ContenuParDefautDeChaqueBloc) {
    rec().defauts();
    const std::string f = sansDates(rec());
    EXPECT_EQ(nbLignes(f), 1180);
    // the first and the last entry of each block
    EXPECT_EQ(f.substr(0, 20), "Initialisation\n20\nD\n");
    for (const char* bloc : {"Initialisation\n1\nD\nInitialisation\n20\nD\n----\n",
                             "Initialisation\n1\nD\n----\nOrdi0\n20\nD\n", "Ordi0\n1\nD\nOrdi0\n20\nD\n----\n",
                             "Ordi0\n1\nD\n----\n20\n----\nD\n"})
        EXPECT_NE(f.find(bloc), std::string::npos) << bloc;
    EXPECT_EQ(f.substr(f.size() - 9), "1\n----\nD\n");
}

TEST_F(RecordsTest, ChangerDeFichierRepartDesDefauts) {
    Records defauts;
    defauts.defauts();
    ecrireFichier("a.bst", fichierMarque("A"));
    InitLangue("a.bst");
    ASSERT_EQ(rec().bestGosOrdi[0].joueur, "A");
    InitLangue("absent.bst");
    EXPECT_EQ(sansDates(rec()), sansDates(defauts)) << "nothing of a.bst stays";
    // A short file: its three whole entries, then the defaults (not a.bst's entries).
    InitLangue("a.bst");
    ecrireFichier("court.bst", fichierMarque("C").substr(0, 26));
    InitLangue("court.bst");
    const auto& t = rec().scoresHumains[0];
    EXPECT_EQ(t[0].texte + t[2].texte + t[3].texte, "CCInitialisation");
    EXPECT_EQ(t[2].score * 1000 + t[3].score, 118017);
    EXPECT_EQ(rec().bestGosOrdi[0].joueur, "Ordi0");
}

// Two programs ending moves at the same moment both keep every entry.
TEST_F(RecordsTest, DeuxProgrammesGardentTousLeursCoups) {
    partieTerminee({{"Alice", 0, 0, 0}});
    ASSERT_TRUE(enParallele(2, [](int i) {
        partie.joueurs[0].nom = "P" + std::to_string(i);
        for (int k = 0; k < 10; ++k) rec().alterbestgo(100 * (i + 1) + k, "M");
        return true;
    }));
    const std::string fichier = lireFichier("defaut.bst");
    EXPECT_EQ(nbLignes(fichier), 1180);
    rec().loadscores();
    std::vector<int> scores;
    for (const c_recordCoup& e : rec().bestGosHumains) scores.push_back(e.score);
    std::sort(scores.begin(), scores.end());
    EXPECT_EQ(scores, (std::vector<int>{100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
                                        200, 201, 202, 203, 204, 205, 206, 207, 208, 209}));
}

TEST_F(RecordsTest, LaMiseAJourRelitLeFichierSousLeVerrou) {
    partieTerminee({{"Alice", 0, 0, 0}});
    // Another program saved its records after this one loaded them.
    ecrireFichier("defaut.bst", fichierMarque("Autre"));
    rec().alterbestgo(500, "MOI");
    EXPECT_EQ(rec().bestGosHumains[0].mot + rec().bestGosHumains[1].joueur, "MOIAutre");
    EXPECT_EQ(rec().scoresOrdi[7][19].texte, "Autre");
    rec().defauts();
    rec().loadscores();
    EXPECT_EQ(rec().bestGosHumains[0].mot + rec().bestGosHumains[1].joueur, "MOIAutre");

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
    EXPECT_EQ(rec().bestGosHumains[1].mot + rec().bestGosHumains[2].mot, "ATTENTEENSUITE");
}

TEST_F(RecordsTest, SansVerrouRienNEstEcrit) {
    gl_debugAfficher = true;
    partieTerminee({{"Alice", 0, 0, 0}});
    const int autre = open("defaut.bst.lock", O_RDWR | O_CREAT, 0666);  // another program holds the lock
    ASSERT_EQ(flock(autre, LOCK_EX), 0);
    rec().alterbestgo(500, "BLOQUE");
    EXPECT_EQ(rec().bestGosHumains[0].score, 20) << "the insertion is skipped";
    EXPECT_FALSE(fichierExiste("defaut.bst"));
    close(autre);
    rec().alterbestgo(501, "LIBRE");
    EXPECT_EQ(rec().bestGosHumains[0].mot, "LIBRE");
    // No lock file can be made where the records go: the same.
    InitLangue("absent/x.bst");
    rec().alterbestgo(502, "SANS DOSSIER");
    EXPECT_EQ(rec().bestGosHumains[0].score, 20);
    // No records file at all: the tables change in memory, no file and no lock.
    InitLangue("");
    rec().alterbestgo(503, "SANS NOM");
    EXPECT_EQ(rec().bestGosHumains[0].score, 503);
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2) << "defaut.bst and its lock only";
    gl_debugAfficher = false;
    ASSERT_EQ(messages.journal().size(), 2u);
    EXPECT_NE(messages.journal()[0].find("defaut.bst"), std::string::npos);
    EXPECT_NE(messages.journal()[1].find("absent/x.bst"), std::string::npos);
}

}  // namespace
