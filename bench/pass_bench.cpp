// SPDX-License-Identifier: MIT
// Generates an add-on tree and a game folder holding half of its files, then times the read pass
// against one `find` walk of the tree and the write pass against `cp -n` of the same files. Then
// writes 200,000 small files and reports the longest time the window was not given a turn.
//
//   pass_bench [work folder [part ...]]
//
// The work folder is a new one under /tmp, removed at the end, unless one is named. The parts are
// "passes" (read and write against find and cp), "case" (case-blind lookups) and "stall" (the
// 200,000-file write); all three unless some are named.
//
// The write passes leave receipts, as the program's do; NO_RECEIPTS=1 in the environment leaves
// them out, to see what the receipts cost.
//
// Name a work folder on a file system with a journal, as a game's disk has, for figures that
// hold from run to run. Without one, ext4 steps over each inode freed in the last minute or more
// whenever it makes a file, so the figures depend on what was deleted shortly before; a loop
// mount serves:
//   truncate -s 8G /tmp/e4.img && mkfs.ext4 -q /tmp/e4.img && mount -o loop /tmp/e4.img /mnt

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/category_table.h"
#include "core/installer.h"
#include "pass_timing.h"
#include "receipts/receipt_journal.h"
#include "receipts/removal.h"
#include "reference_tree.h"

namespace {

namespace fs = std::filesystem;
using rv::bench::AddOnFile, rv::bench::Clock, rv::bench::Median, rv::bench::QuietWindow,
    rv::bench::Run, rv::bench::Seconds, rv::bench::kFiles, rv::bench::kFolders;

// Writes 200,000 one-byte files, 2,000 to a folder, into an empty game folder and returns the
// longest time the pass kept the window from its event loop, in seconds.
double LongestStallOfAWrite(const std::string& work) {
    constexpr int kMany = 200000;
    const std::string add = work + "/many", game = work + "/game-many";
    for (const rv::CategoryInfo& info : rv::kCategories) {
        fs::create_directories(game + "/" + std::string(info.sub_folder));
    }
    for (int f = 0; f < kMany; ++f) {
        const std::string dir = add + "/Pack" + std::to_string(f / 2000);
        if (f % 2000 == 0) {
            fs::create_directories(dir);
        }
        std::ofstream(dir + "/file" + std::to_string(f) + ".u") << 'u';
    }
    QuietWindow window;
    rv::RV2003_2004_Add_On_Installer installer(window);
    installer.SetAddOnFolder(add);
    installer.SetGameFolder(game);
    rv::ReceiptJournal journal(work + "/receipts-many");
    installer.SetJournal(std::getenv("NO_RECEIPTS") ? nullptr : &journal);
    window.StartWatch();
    installer.cmd_write_Click();
    window.ProcessPendingMessages();  // the stretch after the pass's last yield counts too
    if (installer.Counters().Total(rv::CounterKind::Written) != kMany) {
        std::fprintf(stderr, "the 200,000-file write copied %d files\n",
                     installer.Counters().Total(rv::CounterKind::Written));
        std::exit(1);
    }
    fs::remove_all(add);
    fs::remove_all(game);
    return std::chrono::duration<double>(window.longest_stall).count();
}

// User and system time of this process, or of the commands it ran and waited for.
double ProcessorSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// 20,000 add-on files new to a System folder that already holds 20,000: Read and Write through a
// hand-picked game folder whose sub-folder is spelled exactly, through one spelled "system", and
// through a drive-letter path of a Wine prefix to the latter. Prints the median times of seven
// rounds and their ratios: a read takes some 30 ms, and of three rounds one hiccup could make
// the median. Each round takes the three ways in another order, and each step starts
// on a quiet disk (a sync), so that no way pays for the writing out of another's copies.
void CaseBlindLookups(const std::string& work) {
    constexpr int kEach = 20000;
    constexpr int kRounds = 7;
    const std::string add = work + "/case-add", exact = work + "/case-exact";
    const std::string prefix = work + "/case-prefix", blind = prefix + "/drive_c/Game";
    for (const std::string& game : {exact, blind}) {
        for (const rv::CategoryInfo& info : rv::kCategories) {
            fs::create_directories(game + "/" + std::string(info.sub_folder));
        }
    }
    fs::rename(blind + "/System", blind + "/system");
    fs::create_directories(prefix + "/dosdevices");
    fs::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
    ::setenv("WINEPREFIX", prefix.c_str(), 1);
    fs::create_directories(add);
    for (int f = 0; f < kEach; ++f) {
        const std::string number = std::to_string(f);
        std::ofstream(add + "/New" + number + ".u") << 'n';
        std::ofstream(exact + "/System/old" + number + ".u") << 'o';
        std::ofstream(blind + "/system/old" + number + ".u") << 'o';
    }
    struct Way {
        const char* what;
        std::string game_folder;
        std::string system;  // where its copies land
        std::vector<double> reads, writes;
    };
    std::vector<Way> ways = {{"exact spelling", exact, exact + "/System", {}, {}},
                             {"other case", blind, blind + "/system", {}, {}},
                             {"drive letter", "C:\\Game", blind + "/system", {}, {}}};
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t turn = 0; turn < ways.size(); ++turn) {
            Way& way = ways[(turn + static_cast<std::size_t>(round)) % ways.size()];
            QuietWindow window;
            rv::RV2003_2004_Add_On_Installer installer(window);
            installer.SetAddOnFolder(add);
            installer.SetGameFolder(way.game_folder);
            Run("sync");
            auto start = Clock::now();
            installer.cmd_read_Click();
            way.reads.push_back(Seconds(start));
            Run("sync");
            start = Clock::now();
            installer.cmd_write_Click();
            way.writes.push_back(Seconds(start));
            if (installer.Counters().Total(rv::CounterKind::Written) != kEach) {
                std::fprintf(stderr, "case-blind write copied %d files: %.300s\n",
                             installer.Counters().Total(rv::CounterKind::Written),
                             window.tool_tip.c_str());
                std::exit(1);
            }
            for (int f = 0; f < kEach; ++f) {
                fs::remove(way.system + "/New" + std::to_string(f) + ".u");
            }
        }
    }
    const double exact_read = Median(ways[0].reads), exact_write = Median(ways[0].writes);
    for (const Way& way : ways) {
        const double read = Median(way.reads), write = Median(way.writes);
        std::printf(
            "20,000 + 20,000, %-15s read %.3f s (%.2f x exact), write %.3f s (%.2f x exact)"
            " (target <= 1.5)\n",
            way.what, read, read / exact_read, write, write / exact_write);
    }
    ::unsetenv("WINEPREFIX");
    for (const std::string& folder : {add, exact, prefix}) {
        fs::remove_all(folder);
    }
}

// Takes the last write pass's copies back out by its receipt, against `rm` of the same files
// that cp copied into `cp_game`; both until the disk has it all.
void TimeRemoval(const rv::RV2003_2004_Add_On_Installer& installer,
                 const std::string& receipt_folder, const std::vector<AddOnFile>& files,
                 const std::string& cp_game, std::size_t missing) {
    std::string copies;
    for (const AddOnFile& file : files) {
        if (!file.installed) {
            copies += cp_game + "/" + std::string(rv::Info(file.category).sub_folder) + "/" +
                      file.name + '\0';
        }
    }
    const std::string list = cp_game + ".copies";
    std::ofstream(list, std::ios::binary) << copies;
    const rv::ReceiptBook book(receipt_folder);
    rv::StoredReceipt receipt = *book.Find(installer.LastReceiptName());
    Run("sync");
    const auto start = Clock::now();
    const rv::RemovalResult removed = rv::CarryOutRemoval(book, receipt);
    Run("sync");
    const double removal = Seconds(start);
    if (removed.deleted != static_cast<int>(missing)) {
        std::fprintf(stderr, "the removal deleted %d files\n", removed.deleted);
        std::exit(1);
    }
    const double rm = Run("xargs -0 -a '" + list + "' rm") + Run("sync");
    std::printf("removal        %8.3f s   rm            %8.3f s   (checks each file's content)\n",
                removal, rm);
}

// The read pass against one `find` walk of the reference tree, the write pass against `cp -n`,
// and the peak memory.
void ComparePassesWithShellTools(const std::string& work) {
    const std::string add = work + "/add";
    const std::string game = work + "/game";  // each write round copies into a copy of it
    std::printf("generating %d files in %d folders under %s ...\n", kFiles, kFolders, work.c_str());
    const std::vector<AddOnFile> files = rv::bench::GenerateReferenceTree(add, {game});
    std::size_t missing = 0;
    std::uintmax_t missing_bytes = 0;
    for (const AddOnFile& file : files) {
        if (!file.installed) {
            ++missing;
            missing_bytes += file.size;
        }
    }
    std::printf("%zu add-on files, %zu of them missing from the game (%.1f MiB)\n", files.size(),
                missing, static_cast<double>(missing_bytes) / (1 << 20));

    QuietWindow window;
    rv::RV2003_2004_Add_On_Installer installer(window);
    installer.SetAddOnFolder(add);
    installer.SetGameFolder(game);
    // A receipt costs hashing what was written and comparing what was already there.
    rv::ReceiptJournal journal(work + "/receipts");
    installer.SetJournal(std::getenv("NO_RECEIPTS") ? nullptr : &journal);

    // Read pass against one find walk of the tree; median of three runs each, after a warm-up.
    const std::string finds = "find '" + add + "' -type f > /dev/null";
    Run(finds);
    Run("sync");
    std::vector<double> read_times;
    std::vector<double> find_times;
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        installer.cmd_read_Click();
        read_times.push_back(Seconds(start));
        find_times.push_back(Run(finds));
    }
    const auto& counters = installer.Counters();
    if (counters.Total(rv::CounterKind::Ready) != static_cast<std::int32_t>(missing) ||
        counters.Total(rv::CounterKind::Read) != static_cast<std::int32_t>(files.size())) {
        std::fprintf(stderr, "read pass miscounted: %d read, %d ready\n",
                     counters.Total(rv::CounterKind::Read), counters.Total(rv::CounterKind::Ready));
        std::exit(1);
    }
    const double read = Median(read_times);
    const double find = Median(find_times);

    // Write pass against cp -n of the same files into another copy of the game folder: one list
    // of add-on files per game sub-folder.
    std::map<std::string, std::string> lists;  // sub-folder, file of its list
    {
        std::map<std::string, std::string> names;
        for (const AddOnFile& file : files) {
            names[std::string(rv::Info(file.category).sub_folder)] += file.path + '\0';
        }
        for (const auto& [folder, list] : names) {
            lists[folder] = work + "/" + folder;
            std::ofstream(lists[folder], std::ios::binary) << list;
        }
    }
    // Each round copies into game folders of its own, made untimed as hard links of the first
    // ones: removing the copies of the round before would leave thousands of just-deleted inodes,
    // which a file system without a journal steps over one by one for a minute after, and the
    // later rounds would measure that. Both sides are timed until their copies are on the disk (a
    // closing sync): without it the figures are those of the page cache.
    const auto fresh_game = [&](const std::string& side, int round) {
        const std::string copy = side + "-" + std::to_string(round);
        Run("cp -al '" + game + "' '" + copy + "'");
        return copy;
    };
    // Five rounds, the two sides taking turns to go first; medians of the wall times, and the
    // processor time each side spent (less at the mercy of other work on the machine).
    std::vector<double> write_times, cp_times, write_cpu, cp_cpu;
    const auto write_pass = [&](int round) {
        installer.SetGameFolder(fresh_game(game + "-pass", round));
        Run("sync");
        const double cpu_before = ProcessorSeconds(RUSAGE_SELF);
        const auto start = Clock::now();
        installer.cmd_write_Click();
        const double alone = Seconds(start);
        write_cpu.push_back(ProcessorSeconds(RUSAGE_SELF) - cpu_before);
        Run("sync");
        write_times.push_back(Seconds(start));
        if (installer.Counters().Total(rv::CounterKind::Written) !=
            static_cast<std::int32_t>(missing)) {
            std::fprintf(stderr, "write pass copied %d files\n",
                         installer.Counters().Total(rv::CounterKind::Written));
            std::exit(1);
        }
        return alone;
    };
    const auto copy_with_cp = [&](int round) {
        const std::string target = fresh_game(game + "-cp", round);
        std::string copies;
        for (const auto& [folder, list_file] : lists) {
            copies += "xargs -0 -a '" + list_file + "' cp -n -t '" + target + "/" + folder + "'; ";
        }
        Run("sync");
        const double cpu_before = ProcessorSeconds(RUSAGE_CHILDREN);
        const double alone = Run(copies);
        cp_cpu.push_back(ProcessorSeconds(RUSAGE_CHILDREN) - cpu_before);
        cp_times.push_back(alone + Run("sync"));
        return alone;
    };
    for (int round = 1; round <= 5; ++round) {
        const double pass_alone = round % 2 == 1 ? write_pass(round) : 0;
        const double cp_alone = copy_with_cp(round);
        const double pass_after = round % 2 == 1 ? pass_alone : write_pass(round);
        std::printf(
            "round %d: write pass %.3f s (%.3f s before the sync, %.3f s processor), cp -n %.3f "
            "s (%.3f s, %.3f s)\n",
            round, write_times.back(), pass_after, write_cpu.back(), cp_times.back(), cp_alone,
            cp_cpu.back());
    }
    const double write = Median(write_times);
    const double cp = Median(cp_times);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double mib = static_cast<double>(missing_bytes) / (1 << 20);
    std::printf("read pass      %8.3f s   one find walk %8.3f s   ratio %.2f (target <= 2.0)\n",
                read, find, read / find);
    std::printf(
        "write pass     %8.3f s   cp -n         %8.3f s   throughput %.1f vs %.1f MiB/s,"
        " ratio %.2f (target >= 0.9)\n",
        write, cp, mib / write, mib / cp, cp / write);
    std::printf("processor      %8.3f s   cp -n         %8.3f s   ratio %.2f\n", Median(write_cpu),
                Median(cp_cpu), Median(cp_cpu) / Median(write_cpu));
    std::printf("peak memory    %8.1f MiB (target < 50)\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    if (!std::getenv("NO_RECEIPTS")) {  // after the peak memory of the passes is taken
        TimeRemoval(installer, journal.Folder(), files, work + "/game-cp-5", missing);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
    const bool own_folder = argc < 2;
    const std::string work =
        own_folder
            ? (fs::temp_directory_path() / ("rv-pass-bench-" + std::to_string(::getpid()))).string()
            : argv[1];
    const std::vector<std::string> parts(argv + std::min(argc, 2), argv + argc);
    const auto wanted = [&parts](const std::string& part) {
        return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
    };
    fs::remove_all(work);
    if (wanted("passes")) {
        ComparePassesWithShellTools(work);
    }
    if (wanted("case")) {
        CaseBlindLookups(work);
    }
    if (wanted("stall")) {
        std::printf("longest stall  %8.3f s during a 200,000-file write (target < 0.25)\n",
                    LongestStallOfAWrite(work));
    }
    if (own_folder) {
        fs::remove_all(work);
    }
    return 0;
}
