#pragma once

// Saves run in a child process and cut short: killed at a random moment, or
// left without room on the disk. The parent then looks at what is on disk.

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ziro::test {

// Runs `work` in a child process and kills it after `delayUs` (it may have
// finished by then). Returns whether it finished on its own.
inline bool runAndKill(const std::function<void()>& work, int delayUs)
{
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    usleep(useconds_t(delayUs));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// How long `work` takes in a child, in microseconds. A child still running
// after 30 s is killed and the test fails: the child has only the thread
// that forked, so work handed to a thread pool never comes back (keep
// tables below the size the reader parses on two threads).
inline int measureInChild(const std::function<void()>& setup, const std::function<void()>& work)
{
    setup();
    QElapsedTimer t;
    t.start();
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (t.elapsed() > 30000) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            ADD_FAILURE() << "the save did not end in a child process";
            break;
        }
        usleep(200);
    }
    return std::max(200, int(t.nsecsElapsed() / 1000));
}

struct KillStats {
    int finished = 0;  // the save ran to its end before the kill
    int cut = 0;       // killed on the way
};

// `runs` times: `setup`, then `work` in a child killed after a random delay
// up to one and a half times its own duration, then `check` on what is left.
// Stops at the first failed check.
inline KillStats killAtRandom(const std::function<void()>& setup, const std::function<void()>& work,
                              const std::function<void()>& check, int runs = 100)
{
    const int span = measureInChild(setup, work) * 3 / 2;
    std::mt19937 random(12345);
    KillStats s;
    if (::testing::Test::HasFailure())
        return s;
    for (int run = 0; run < runs; ++run) {
        setup();
        const int delay = std::uniform_int_distribution<int>(0, span)(random);
        (runAndKill(work, delay) ? s.finished : s.cut)++;
        check();
        if (::testing::Test::HasFailure())
            break;
    }
    return s;
}

// Runs `work` in a child whose files cannot grow past `roomBytes`, as on a
// full disk: a write past it fails (EFBIG) instead of ending the process.
// Returns what `work` returned, or -1 when the child did not end normally.
inline int runOnFullDisk(const std::function<int()>& work, rlim_t roomBytes = 0)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{roomBytes, roomBytes};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(99);
        _exit(work());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace ziro::test
