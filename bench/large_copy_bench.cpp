// SPDX-License-Identifier: MIT
// Copies one large add-on file (sparse, 8 GiB unless told otherwise) with the write pass and
// reports the longest time the window got no chance to handle its messages, then how long a
// close asked for one second into a second copy takes to be honoured, and what it leaves.
//
//   large_copy_bench [GiB] [work folder]     (default: 8, a new folder under /tmp, removed after)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/installer.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// A window that notes the longest stretch between two chances to handle messages, and closes
// once the given time into the pass has passed.
class StallWatch : public rv::WindowOperations {
public:
    explicit StallWatch(Clock::duration close_after) : close_after_(close_after) {}

    void SetCaption(rv::Control, const std::string&) override {}
    std::string Caption(rv::Control) const override { return {}; }
    void SetEnabled(rv::Control, bool) override {}
    void SetToolTip(rv::Control, const std::string&) override {}
    void SetMousePointer(rv::MousePointer) override {}
    bool ProcessPendingMessages() override {
        Note();
        ++yields;
        if (!closing && last_ - start_ >= close_after_) {
            closing = true;
            close_asked = last_;
        }
        return !closing;
    }

    void Start() { start_ = last_ = Clock::now(); }
    void Note() {
        const Clock::time_point now = Clock::now();
        longest_stall = std::max(longest_stall, now - last_);
        last_ = now;
    }

    Clock::duration longest_stall{};
    Clock::time_point close_asked;
    bool closing = false;
    long yields = 0;

private:
    Clock::duration close_after_;
    Clock::time_point start_, last_;
};

}  // namespace

int main(int argc, char** argv) {
    const double gib = argc > 1 ? std::atof(argv[1]) : 8.0;
    const bool own_folder = argc < 3;
    const std::string work =
        own_folder
            ? (fs::temp_directory_path() / ("rv-copy-bench-" + std::to_string(::getpid()))).string()
            : argv[2];
    fs::remove_all(work);
    fs::create_directories(work + "/add");
    fs::create_directories(work + "/game/Maps");
    const auto size = static_cast<std::uintmax_t>(gib * (1 << 30));
    std::ofstream(work + "/add/Huge.rv2");
    fs::resize_file(work + "/add/Huge.rv2", size);  // sparse: reads as zeros, written in full
    std::printf("copying a %.1f GiB file under %s\n", gib, work.c_str());

    for (const bool close_early : {false, true}) {
        StallWatch window(close_early ? std::chrono::seconds(1) : std::chrono::hours(1));
        rv::RV2003_2004_Add_On_Installer installer(window);
        installer.SetAddOnFolder(work + "/add");
        installer.SetGameFolder(work + "/game");
        fs::remove(work + "/game/Maps/Huge.rv2");
        window.Start();
        const Clock::time_point start = Clock::now();
        installer.cmd_write_Click();
        window.Note();
        const Clock::time_point end = Clock::now();
        const auto left = std::distance(fs::directory_iterator(work + "/game/Maps"), {});
        if (!close_early) {
            const double seconds = Milliseconds(end - start) / 1000;
            std::printf(
                "whole copy: %.1f s (%.0f MiB/s), %ld yields, longest stall %.1f ms "
                "(goal < 250), %zu file(s) in Maps\n",
                seconds, gib * 1024 / seconds, window.yields, Milliseconds(window.longest_stall),
                static_cast<std::size_t>(left));
        } else if (!window.closing) {
            std::printf("the second copy ended before the close was asked\n");
        } else {
            std::printf("close asked 1 s in: honoured after %.1f ms, %zu file(s) left in Maps\n",
                        Milliseconds(end - window.close_asked), static_cast<std::size_t>(left));
        }
    }
    if (own_folder) {
        fs::remove_all(work);
    }
    return 0;
}
