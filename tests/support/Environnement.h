#ifndef QV_TEST_ENVIRONNEMENT_H
#define QV_TEST_ENVIRONNEMENT_H

#include <cstdlib>
#include <string>

// Sets (or, with a null value, removes) an environment variable while this
// lives, then puts back what was there: later tests of the same process read
// the real HOME again.
class VariableEnvironnement {
public:
    VariableEnvironnement(const char* nom, const char* valeur) : nom_(nom) {
        if (const char* avant = std::getenv(nom)) {
            existait_ = true;
            avant_ = avant;
        }
        if (valeur)
            setenv(nom, valeur, 1);
        else
            unsetenv(nom);
    }
    ~VariableEnvironnement() {
        if (existait_)
            setenv(nom_.c_str(), avant_.c_str(), 1);
        else
            unsetenv(nom_.c_str());
    }
    VariableEnvironnement(const VariableEnvironnement&) = delete;
    VariableEnvironnement& operator=(const VariableEnvironnement&) = delete;

private:
    std::string nom_, avant_;
    bool existait_ = false;
};

#endif
