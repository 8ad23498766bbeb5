#include "tests/print/PrivateCups.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <signal.h>
#include <unistd.h>

namespace testing_cups {
namespace {

const std::string kScript = std::string(TLACSUB_SOURCE_DIR) + "/scripts/private-cups";

int CountLines(const std::string& text) {
    int lines = 0;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty()) ++lines;
    return lines;
}

} // namespace

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string RunCommand(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) throw std::runtime_error("cannot run: " + command);
    std::string output;
    std::array<char, 4096> buffer{};
    while (const size_t read = fread(buffer.data(), 1, buffer.size(), pipe.get()))
        output.append(buffer.data(), read);
    const int status = pclose(pipe.release());
    if (status != 0)
        throw std::runtime_error("failed (" + std::to_string(status) + "): " + command);
    return output;
}

PrivateCups::PrivateCups() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tlacsub-cups-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for cupsd");
    folder_ = pattern;
    try {
        const std::string socket = RunCommand(kScript + " start " + ShellQuote(folder_.string()) +
                                              " --owner " + std::to_string(getpid()));
        setenv("CUPS_SERVER", socket.substr(0, socket.find('\n')).c_str(), 1);
        running_ = true;
    } catch (...) {
        std::filesystem::remove_all(folder_);
        throw;
    }
    // A printer named by the environment would take the place of the default.
    unsetenv("PRINTER");
    unsetenv("LPDEST");
}

PrivateCups& PrivateCups::ForThisProcess() {
    static PrivateCups cups;
    return cups;
}

int PrivateCups::Pid() const {
    std::ifstream file(folder_ / "cupsd.pid");
    int pid = 0;
    if (!(file >> pid) || pid <= 0)
        throw std::runtime_error("no cupsd runs in " + folder_.string());
    return pid;
}

void PrivateCups::Crash(int lostJob) {
    RunCommand(kScript + " crash " + ShellQuote(folder_.string()) +
               (lostJob > 0 ? " " + std::to_string(lostJob) : std::string()));
}

void PrivateCups::Restart() {
    RunCommand(kScript + " start " + ShellQuote(folder_.string()) + " --owner " +
               std::to_string(getpid()));
}

PausedScheduler::PausedScheduler(const PrivateCups& cups, std::chrono::seconds limit)
    : pid_(cups.Pid()) {
    if (kill(pid_, SIGSTOP) != 0) throw std::runtime_error("cannot stop cupsd");
    watchdog_ = std::thread([this, limit] {
        std::unique_lock lock(mutex_);
        if (!ended_.wait_for(lock, limit, [this] { return ending_; })) {
            resumedByLimit_ = true;
            kill(pid_, SIGCONT);
        }
    });
}

PausedScheduler::~PausedScheduler() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    ended_.notify_one();
    watchdog_.join();
    kill(pid_, SIGCONT);
}

PrivateCups::~PrivateCups() {
    if (running_) std::system((kScript + " stop " + ShellQuote(folder_.string())).c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void PrivateCups::AddPdfPrinter(const std::string& name, const std::filesystem::path& output,
                                bool makeDefault) {
    const std::string before = makeDefault ? std::string() : DefaultPrinter();
    RunCommand(kScript + " add-pdf-printer " + ShellQuote(folder_.string()) + " " +
               ShellQuote(name) + " " + ShellQuote(output.string()));
    if (!before.empty()) RunCommand("lpadmin -d " + ShellQuote(before));
}

void PrivateCups::AddFailingPrinter(const std::string& name) {
    RunCommand(kScript + " add-failing-printer " + ShellQuote(folder_.string()) + " " +
               ShellQuote(name));
}

void PrivateCups::AddRefusingPrinter(const std::string& name, Refusing what) {
    RunCommand(kScript + " add-refusing-printer " + ShellQuote(folder_.string()) + " " +
               ShellQuote(name) + (what == Refusing::Documents ? " documents" : " queries"));
}

void PrivateCups::RejectJobs(const std::string& name, const std::string& reason) {
    RunCommand("cupsreject -r " + ShellQuote(reason) + " " + ShellQuote(name));
}

void PrivateCups::StopQueue(const std::string& name, const std::string& reason) {
    RunCommand("cupsdisable -r " + ShellQuote(reason) + " " + ShellQuote(name));
}

int PrivateCups::WaitingJobs(const std::string& name) const {
    return CountLines(RunCommand("LC_ALL=C lpstat -W not-completed -o " + ShellQuote(name)));
}

std::string PrivateCups::DefaultPrinter() {
    // "system default destination: NAME", or "no system default destination".
    const std::string answer = RunCommand("LC_ALL=C lpstat -d");
    const auto colon = answer.find(": ");
    if (colon == std::string::npos) return {};
    return answer.substr(colon + 2, answer.find('\n') - colon - 2);
}

void PrivateCups::RemovePrinter(const std::string& name) {
    RunCommand(kScript + " remove-printer " + ShellQuote(folder_.string()) + " " +
               ShellQuote(name));
}

int PrivateCups::SubmittedJobs() const {
    // The access log has a line for every request; a job arrives by one of these two.
    std::ifstream log(folder_ / "log" / "access_log");
    int jobs = 0;
    for (std::string line; std::getline(log, line);)
        if (line.find(" Create-Job ") != std::string::npos ||
            line.find(" Print-Job ") != std::string::npos)
            ++jobs;
    return jobs;
}

bool PrivateCups::WaitUntilIdle() const {
    // Generous: this only guards against a scheduler that hangs, it measures nothing.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
        if (CountLines(RunCommand("LC_ALL=C lpstat -W not-completed -o")) == 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

} // namespace testing_cups
