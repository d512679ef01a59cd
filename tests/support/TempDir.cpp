#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string base = (fs::temp_directory_path() / "qvtest.XXXXXX").string();
    if (!mkdtemp(&base[0])) ADD_FAILURE() << "mkdtemp failed";
    path_ = base;
}

TempDir::~TempDir() {
    std::error_code ec;
    // A test may have made a folder read-only; give it back before removing.
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

InTempDir::InTempDir() : previous_(fs::current_path().string()) {
    fs::current_path(dir_.path());
}

InTempDir::~InTempDir() {
    std::error_code ec;
    fs::current_path(previous_, ec);
}

std::string lireFichier(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ecrireFichier(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool fichierExiste(const std::string& path) { return fs::exists(path); }

void remplirDossier(const std::string& folder, int n, const char* prefix) {
    // A step prime to n visits every number once, in a scattered order.
    int step = n / 3 + 1;
    while (std::gcd(step, n) != 1) ++step;
    for (int i = 0; i < n; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%04d", static_cast<int>(static_cast<long long>(i) * step % n));
        ecrireFichier(folder + "/" + prefix + number, "");
    }
}
