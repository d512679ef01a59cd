// The command-line program, for what the loader's own tests do not reach:
// its translations, its folder and files that cannot be written.
#include "support/LimiteEcriture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

TEST(MainQuorvel, TranslatedRefusalAndUsage) {
    InTempDir ici;
    // The translation table of the current folder serves its messages.
    ecrireFichier("msgmenus.ini", "[Le fichier '%s' est introuvable]\nfr=Pas de fichier %s\n");
    const Sortie s = quorvel("absent.qv2");
    EXPECT_EQ(s.out + std::to_string(s.statut) + s.err.substr(0, s.err.find('\n')), "1Pas de fichier absent.qv2");
    EXPECT_EQ(quorvel("a.qv2 b.qv2").err, "usage: quorvel RECAP.qv2\n");
}

TEST(MainQuorvel, FolderOrFilesThatCannotBeWritten) {
    InTempDir ici;
    ecrireFichier("_recap", "un fichier, pas un dossier");
    Sortie s = quorvel(kEchantillon);
    EXPECT_EQ(s.out + std::to_string(s.statut) + s.err, "1quorvel: cannot create the folder '_recap': Not a directory\n");
    std::filesystem::remove("_recap");
    std::filesystem::create_directories("_recap/histo.qv2");  // neither file can take its name
    std::filesystem::create_directories("_recap/histo.html");
    const std::string rien = "quorvel: nothing was written for this game\n";
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out + std::to_string(s.statut), "0");
    EXPECT_NE(s.err.find(rien), std::string::npos) << s.err;
    std::filesystem::remove("_recap/histo.html");
    s = quorvel(kEchantillon);
    EXPECT_EQ(s.out, "_recap/histo.html\n");
    EXPECT_EQ(s.err.find(rien), std::string::npos);
    // Files that exist but cannot be replaced are not reported as written.
    std::filesystem::remove("_recap/histo.qv2");
    ASSERT_EQ(quorvel(kEchantillon).out, "_recap/histo.qv2\n_recap/histo.html\n");
    // The built-in rules stand when the folder holds no game parameters: K is worth 10.
    EXPECT_NE(lireFichier("_recap/histo.html").find("<tr><td>K</td><td>10</td><td>1</td></tr>"), std::string::npos);
    {
        LimiteEcriture disquePlein(1024);  // neither file fits
        s = quorvel(kEchantillon);
    }
    EXPECT_EQ(s.out, "");
    EXPECT_NE(s.err.find(rien), std::string::npos);
    EXPECT_EQ(s.err.find("Creation du fichier"), std::string::npos) << "debug lines stay off";
}
