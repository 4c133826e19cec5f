#pragma once

// A program the benchmark starts and watches from outside: its CPU time and
// peak memory from /proc, its exit; it is killed when left running.

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace ironmoat::bench {

class ChildProcess {
public:
    // Starts the program with the arguments in the current folder; its
    // standard output goes to a pipe readable with `readLine` when
    // captureOutput is set (else to /dev/null), standard error to /dev/null.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 bool captureOutput);
    // Kills the process by its id if it still runs, and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    bool started() const { return m_pid > 0; }
    // True while the process has not exited.
    bool running();
    // One line of the captured output, waiting at most the timeout.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // User plus system CPU time of the whole process (all threads), seconds.
    std::optional<double> cpuSeconds() const;
    // Peak resident set (VmHWM) in MiB; negative when unreadable.
    double peakResidentMiB() const;
    // Waits at most the timeout for the exit; true when it has exited.
    bool waitForExit(std::chrono::milliseconds timeout);
    // Sends SIGKILL to this process (by its id) and reaps it.
    void kill();

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffer;
    bool m_exited = false;
};

} // namespace ironmoat::bench
