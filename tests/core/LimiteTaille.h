#ifndef QV_TEST_CORE_LIMITETAILLE_H
#define QV_TEST_CORE_LIMITETAILLE_H

#include <csignal>
#include <sys/resource.h>

// Caps the size of any file this process writes, so that a write fails even
// for root (EFBIG, SIGXFSZ ignored); the old limit comes back at scope exit.
class LimiteTailleFichiers {
public:
    explicit LimiteTailleFichiers(rlim_t octets) {
        getrlimit(RLIMIT_FSIZE, &ancienne_);
        ancienSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit r = ancienne_;
        r.rlim_cur = octets;
        setrlimit(RLIMIT_FSIZE, &r);
    }
    ~LimiteTailleFichiers() {
        setrlimit(RLIMIT_FSIZE, &ancienne_);
        std::signal(SIGXFSZ, ancienSignal_);
    }
    LimiteTailleFichiers(const LimiteTailleFichiers&) = delete;
    LimiteTailleFichiers& operator=(const LimiteTailleFichiers&) = delete;

private:
    rlimit ancienne_{};
    void (*ancienSignal_)(int) = SIG_DFL;
};

#endif
