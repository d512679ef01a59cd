// The command-line program, for what the loader's own tests do not reach:
// its arguments, its folder, its translations and an unwritable recap.
#include "support/LimiteEcriture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// Runs quorvel in the current folder: its exit status, standard output and error.
struct Sortie {
    int statut;
    std::string out, err;
};

Sortie quorvel(const std::string& arguments) {
    const std::string cmd = std::string(QV_BIN_DIR) + "/quorvel " + arguments + " >out.txt 2>err.txt";
    const int s = std::system(cmd.c_str());
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, lireFichier("out.txt"), lireFichier("err.txt")};
}

const std::string kEchantillon = std::string(QV_SOURCE_DIR) + "/samples/partie_normale.qv2";

}  // namespace

TEST(MainQuorvel, UsageAndTranslatedRefusal) {
    InTempDir ici;
    for (const char* args : {"", "a.qv2 b.qv2"}) {
        const Sortie s = quorvel(args);
        EXPECT_EQ(s.statut, 2) << args;
        EXPECT_EQ(s.err, "usage: quorvel RECAP.qv2\n");
    }
    // The translation table of the current folder serves its messages.
    ecrireFichier("msgmenus.ini", "[Le fichier '%s' est introuvable]\nfr=Pas de fichier %s\n");
    const Sortie s = quorvel("absent.qv2");
    EXPECT_EQ(s.statut, 1);
    EXPECT_NE(s.err.find("Pas de fichier absent.qv2"), std::string::npos) << s.err;
    EXPECT_EQ(s.out, "");
}

TEST(MainQuorvel, FolderOrFilesThatCannotBeWritten) {
    InTempDir ici;
    ecrireFichier("_recap", "un fichier, pas un dossier");
    Sortie s = quorvel(kEchantillon);
    EXPECT_EQ(s.statut, 1);
    EXPECT_EQ(s.err, "quorvel: cannot create the folder '_recap': Not a directory\n");
    EXPECT_EQ(s.out, "");
    std::filesystem::remove("_recap");
    std::filesystem::create_directories("_recap/histo.qv2");  // neither file can take its name
    std::filesystem::create_directories("_recap/histo.html");
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.statut, 0);
    EXPECT_EQ(s.out, "");
    EXPECT_NE(s.err.find("quorvel: nothing was written for this game\n"), std::string::npos) << s.err;
    std::filesystem::remove("_recap/histo.html");
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "_recap/histo.html\n");
    EXPECT_EQ(s.err.find("nothing was written"), std::string::npos);
    // A page that exists but cannot be replaced is not reported as written.
    {
        LimiteEcriture disquePlein(1024);  // neither file fits
        s = quorvel(kEchantillon);
    }
    EXPECT_EQ(s.out, "");
    EXPECT_NE(s.err.find("nothing was written"), std::string::npos);
    EXPECT_EQ(s.err.find("Creation du fichier"), std::string::npos) << "debug lines stay off";
}

TEST(MainQuorvel, AFreshProgramWritesAnOrdinaryGame) {
    InTempDir ici;
    const Sortie s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "_recap/histo.qv2\n_recap/histo.html\n");
    const std::string page = lireFichier("_recap/histo.html"), recap = lireFichier("_recap/histo.qv2");
    EXPECT_NE(page.find("d'une partie  libre jou\351e avec"), std::string::npos);  // not a batch game
    EXPECT_NE(recap.find("Afficher les lettres de l'ordinateur=non\n"), std::string::npos);
    EXPECT_NE(recap.find("Afficher les valeurs des lettres=non\n"), std::string::npos);
    struct stat st;
    const mode_t masque = umask(0);
    umask(masque);
    ASSERT_EQ(stat("_recap", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0777u & ~masque) << "the folder is made as any other";
}
