#ifndef QV_TEST_TEMPDIR_H
#define QV_TEST_TEMPDIR_H

#include <string>

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path()/name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Makes the test's current folder a fresh TempDir for the test's lifetime
// (the program writes its running files relative to the current folder).
class InTempDir {
public:
    InTempDir();
    ~InTempDir();
    const TempDir& dir() const { return dir_; }
    std::string file(const std::string& name) const { return dir_.file(name); }

private:
    TempDir dir_;
    std::string previous_;
};

std::string lireFichier(const std::string& path);
void ecrireFichier(const std::string& path, const std::string& content);
bool fichierExiste(const std::string& path);
// Fills `folder` with n empty files named f0000, f0001, ... (`prefix` in
// place of "f"), made out of their name order.
void remplirDossier(const std::string& folder, int n, const char* prefix = "f");

#endif
