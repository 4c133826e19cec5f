#include "tools/bench/ChildProcess.hpp"

#include "tools/bench/Bench.hpp"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ironmoat::bench {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           bool captureOutput) {
    int pipeEnds[2] = {-1, -1};
    if (captureOutput && ::pipe(pipeEnds) != 0)
        return;
    std::vector<std::string> args;
    args.push_back(program);
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(captureOutput ? pipeEnds[1] : null, 1);
        ::dup2(null, 2);
        if (captureOutput) {
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (captureOutput) {
        ::close(pipeEnds[1]);
        m_output = pipeEnds[0];
    }
}

ChildProcess::~ChildProcess() {
    kill();
    if (m_output >= 0)
        ::close(m_output);
}

bool ChildProcess::running() {
    if (m_pid <= 0 || m_exited)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid)
        m_exited = true;
    return !m_exited;
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto end = BenchClock::now() + timeout;
    while (true) {
        const auto newline = m_buffer.find('\n');
        if (newline != std::string::npos) {
            std::string line = m_buffer.substr(0, newline);
            m_buffer.erase(0, newline + 1);
            return line;
        }
        if (m_output < 0)
            return std::nullopt;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - BenchClock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd fd{m_output, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char chunk[512];
        const ssize_t got = ::read(m_output, chunk, sizeof chunk);
        if (got <= 0) {
            ::close(m_output);
            m_output = -1;
            continue;
        }
        m_buffer.append(chunk, static_cast<std::size_t>(got));
    }
}

std::optional<double> ChildProcess::cpuSeconds() const {
    std::ifstream stat("/proc/" + std::to_string(m_pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields start after its ')'.
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    // Fields 3 to 13 come first (state .. cmajflt), then utime and stime.
    for (int i = 3; i <= 13 && fields >> field; ++i) {
    }
    if (!(fields >> utime >> stime))
        return std::nullopt;
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double ChildProcess::peakResidentMiB() const {
    return bench::peakResidentMiB(std::to_string(m_pid));
}

bool ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto end = BenchClock::now() + timeout;
    while (running()) {
        if (BenchClock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void ChildProcess::kill() {
    if (m_pid <= 0 || m_exited)
        return;
    ::kill(m_pid, SIGKILL);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_exited = true;
}

} // namespace ironmoat::bench
