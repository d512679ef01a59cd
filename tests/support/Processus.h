#ifndef QV_TEST_PROCESSUS_H
#define QV_TEST_PROCESSUS_H

#include <cerrno>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Runs corps(i) for i = 0 .. n-1 in n child processes released together, as
// several copies of the program started at once; true when every child
// returned true. The children leave through _exit, running no test code.
template <class Corps>
bool enParallele(int n, Corps corps) {
    int tube[2];
    if (pipe(tube) != 0) return false;
    std::vector<pid_t> fils;
    for (int i = 0; i < n; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            close(tube[1]);
            char c;
            while (read(tube[0], &c, 1) < 0 && errno == EINTR) {
            }
            _exit(corps(i) ? 0 : 1);
        }
        if (pid > 0) fils.push_back(pid);
    }
    close(tube[0]);
    close(tube[1]);  // end of file: every child starts now
    bool ok = static_cast<int>(fils.size()) == n;
    for (pid_t pid : fils) {
        int statut = 0;
        ok = waitpid(pid, &statut, 0) == pid && WIFEXITED(statut) && WEXITSTATUS(statut) == 0 && ok;
    }
    return ok;
}

#endif
