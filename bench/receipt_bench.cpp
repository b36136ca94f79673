// SPDX-License-Identifier: MIT
// Makes a receipt of a million written files, each a real file of 16 bytes spread over the game's
// sub-folders, then times the real program's `--list` of it and its `--remove --yes` against
// `rm -r` of the same files, with the peak memory of each.
//
//   receipt_bench [work folder [files [program]]]
//   receipt_bench --make <work folder> <files>    (only makes them, to profile the program on)
//
// The work folder is a new one under /dev/shm (tmpfs: the figures are the program's, not the
// disk's), removed at the end, unless one is named; it needs about 5 GB of memory for a million
// files. The program is the one built beside this benchmark unless one is named.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/category_table.h"
#include "receipts/game_files.h"
#include "receipts/receipt_book.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

#ifdef RV_PROGRAM
constexpr const char* kProgram = RV_PROGRAM;
#else
constexpr const char* kProgram = "rv-addon-installer";
#endif

struct Ran {
    double seconds = 0;
    double processor = 0;  // user and system time: less at the mercy of other work
    long peak_kib = 0;
    int status = -1;
};

// Runs the program with its output thrown away, and measures it. Spawned without a copy of this
// process, whose memory would count in the program's peak.
Ran RunMeasured(const std::vector<std::string>& arguments, const std::string& data_home) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    ::setenv("XDG_DATA_HOME", data_home.c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Ran ran;
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    struct rusage usage {};
    ::wait4(child, &ran.status, 0, &usage);
    ran.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ran.peak_kib = usage.ru_maxrss;
    ran.processor = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    ran.status = WIFEXITED(ran.status) ? WEXITSTATUS(ran.status) : -1;
    return ran;
}

// Makes the files below the game folder and, when asked, their receipt's entries.
void MakeFiles(const std::string& game, int count, std::vector<rv::ReceiptFile>* entries) {
    for (const rv::CategoryInfo& info : rv::kCategories) {
        fs::create_directories(game + "/" + std::string(info.sub_folder));
    }
    for (int n = 0; n < count; ++n) {
        const rv::CategoryInfo& info = rv::kCategories[std::size_t(n) % rv::kCategories.size()];
        const std::string target =
            std::string(info.sub_folder) + "/file" + std::to_string(n) + ".bin";
        char content[17];
        std::snprintf(content, sizeof content, "content %07d\n", n % 10000000);
        const int fd = ::open((game + "/" + target).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        struct stat facts {};
        if (fd < 0 || ::write(fd, content, 16) != 16 || ::fstat(fd, &facts) != 0) {
            std::perror(target.c_str());
            std::exit(1);
        }
        ::close(fd);
        if (entries != nullptr) {
            rv::ReceiptFile& file = entries->emplace_back();
            file.source = "/home/player/addons/Large Pack/" + target;
            file.target = target;
            file.category = std::string(info.sub_folder);
            file.size = 16;
            file.modified_ns = facts.st_mtim.tv_sec * 1'000'000'000LL + facts.st_mtim.tv_nsec;
            file.hash = rv::HashHex(XXH3_64bits(content, 16));
        }
    }
}

// Makes the files and their receipt by a process of its own, which then ends: the programs
// measured are started from this one, and a process's peak memory starts from that of the one
// that started it.
bool MakeReceipt(const std::string& game, const std::string& book, int count,
                 const std::string& name) {
    const pid_t maker = fork();
    if (maker == 0) {
        std::vector<rv::ReceiptFile> files;
        files.reserve(std::size_t(count));
        MakeFiles(game, count, &files);
        rv::Receipt receipt{"2026-12-07T08:00:00.000Z",       game,  rv::IdentityOf(game), "RV2004",
                            "/home/player/addons/Large Pack", false, std::move(files)};
        std::string named = name;
        const std::string problem = rv::ReceiptBook(book).Add(std::move(receipt), named);
        std::fprintf(stderr, "%s", problem.c_str());
        _exit(problem.empty() ? 0 : 1);
    }
    int made = 0;
    return ::waitpid(maker, &made, 0) == maker && WIFEXITED(made) && WEXITSTATUS(made) == 0;
}

std::size_t FilesBelow(const std::string& game) {
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(game)) {
        files += entry.is_regular_file() ? 1u : 0u;
    }
    return files;
}

void Report(const char* what, const Ran& ran) {
    std::printf("%-24s %7.2f s (processor %6.2f s)  %7.1f MiB  exit %d\n", what, ran.seconds,
                ran.processor, double(ran.peak_kib) / 1024.0, ran.status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--make") {
        fs::create_directories(std::string(argv[2]) + "/data/rv-addon-installer");
        return MakeReceipt(std::string(argv[2]) + "/game",
                           std::string(argv[2]) + "/data/rv-addon-installer", std::atoi(argv[3]),
                           "2026-12-07T08-00-00.000Z-0000.json")
                   ? 0
                   : 1;
    }
    const bool own_work = argc < 2 || argv[1][0] == '\0';
    std::string work = own_work ? "/dev/shm/rv-receipt-bench-XXXXXX" : argv[1];
    if (own_work && ::mkdtemp(work.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 1'000'000;
    const std::string program = argc > 3 ? argv[3] : kProgram;
    const std::string game = work + "/game", data = work + "/data";
    fs::create_directories(data + "/rv-addon-installer");

    const std::string name = "2026-12-07T08-00-00.000Z-0000.json";
    if (!MakeReceipt(game, data + "/rv-addon-installer", count, name)) {
        return 1;
    }
    std::printf("%d files, receipt of %.1f MiB in %s\n", count,
                double(fs::file_size(data + "/rv-addon-installer/" + name)) / (1 << 20),
                work.c_str());
    for (int run = 0; run < 3; ++run) {
        Report("--list", RunMeasured({program, "--list"}, data));
    }
    const Ran removed = RunMeasured({program, "--remove", name, "--yes"}, data);
    Report("--remove --yes", removed);
    Report("(this benchmark itself)", {0, 0,
                                       [] {
                                           struct rusage usage {};
                                           ::getrusage(RUSAGE_SELF, &usage);
                                           return usage.ru_maxrss;
                                       }(),
                                       0});
    std::printf("%zu files left after the removal\n", FilesBelow(game));

    fs::remove_all(game);
    MakeFiles(game, count, nullptr);
    std::vector<std::string> rm = {"rm", "-r"};
    for (const rv::CategoryInfo& info : rv::kCategories) {
        rm.push_back(game + "/" + std::string(info.sub_folder));
    }
    const Ran by_rm = RunMeasured(rm, data);
    Report("rm -r of the same files", by_rm);
    std::printf("removal / rm: %.2f (processor %.2f)\n", removed.seconds / by_rm.seconds,
                removed.processor / by_rm.processor);
    if (own_work) {
        fs::remove_all(work);
    }
    return 0;
}
