#ifndef QV_TEST_LIMITEECRITURE_H
#define QV_TEST_LIMITEECRITURE_H

#include <csignal>
#include <sys/resource.h>

// A disk that takes no more than `octets` bytes per file while this lives:
// writes past it fail (even for root), as on a full disk.
class LimiteEcriture {
public:
    explicit LimiteEcriture(rlim_t octets) {
        signalAvant_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &avant_);
        rlimit limite = avant_;
        limite.rlim_cur = octets;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~LimiteEcriture() {
        setrlimit(RLIMIT_FSIZE, &avant_);
        std::signal(SIGXFSZ, signalAvant_);
    }
    LimiteEcriture(const LimiteEcriture&) = delete;
    LimiteEcriture& operator=(const LimiteEcriture&) = delete;

private:
    rlimit avant_{};
    void (*signalAvant_)(int) = nullptr;
};

#endif
