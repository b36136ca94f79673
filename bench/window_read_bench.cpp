// SPDX-License-Identifier: MIT
// Times the read pass through the real Qt window (offscreen platform) against the read pass of
// the core with a window that does nothing and against one `find` walk of the add-on and game
// folders, all on the reference tree in the same run: the labels the window updates for every
// file must not undo the single walk.
//
//   window_read_bench [work folder]
//
// The work folder is a new one under /tmp, removed at the end, unless one is named. The window
// runs over an empty home and Wine prefix, so no game is registered: the game folder is picked
// as the add-on folder is, by pressing the Open buttons, and the pass by pressing Read.

#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/installer.h"
#include "pass_timing.h"
#include "reference_tree.h"
#include "window_qt/archive_warning.h"
#include "window_qt/main_window.h"
#include "window_qt/mod_get_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace rv::bench;

// The main window as the program builds it, over the registry of the current home.
class WindowUnderTest {
public:
    explicit WindowUnderTest(const std::string& receipts)
        : registry_(rv::platform::OpenSystemRegistry()), window_(*registry_, {}, receipts) {
        rv::modGetFolder::SetDirectoryPicker(
            [this](QWidget*, const QString&, const QString&, QFileDialog::Options) {
                return QFile::decodeName(answer_.c_str());
            });
        rv::SetMessageBoxRunner([](QDialog&) {});  // the warning before the add-on folder
        window_.show();
        (void)QTest::qWaitForWindowExposed(&window_);
    }
    ~WindowUnderTest() {
        rv::modGetFolder::SetDirectoryPicker({});
        rv::SetMessageBoxRunner({});
    }

    void Pick(std::string_view button, const std::string& folder) {
        answer_ = folder;
        Press(button);
    }
    // Returns once the button's handler has ended and what it left is painted.
    void Press(std::string_view button) {
        QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
        QApplication::processEvents();
    }
    std::string Status() const {
        return Widget<QLabel>(rv::names::lbl_status)->text().toStdString();
    }
    std::string StatusToolTip() const {
        return Widget<QLabel>(rv::names::lbl_status)->toolTip().toStdString();
    }

private:
    template <typename Kind>
    Kind* Widget(std::string_view name) const {
        auto* widget = window_.findChild<Kind*>(QString::fromUtf8(name));
        if (widget == nullptr) {
            std::fprintf(stderr, "no control %.*s\n", static_cast<int>(name.size()), name.data());
            std::exit(1);
        }
        return widget;
    }

    std::unique_ptr<rv::platform::RegistryBackend> registry_;
    rv::MainWindow window_;
    std::string answer_;
};

// A home and a Wine prefix that hold nothing, so the window finds no game.
void UseEmptyHome(const std::string& home) {
    fs::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("WINEPREFIX", home.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
}

double Best(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// Makes every tenth installed file another version, one byte longer; returns how many.
int MakeOtherVersions(const std::vector<AddOnFile>& files, const std::string& game) {
    int made = 0;
    for (const AddOnFile& file : files) {
        if (file.installed && made++ % 10 == 0) {
            std::ofstream(
                game + "/" + std::string(rv::Info(file.category).sub_folder) + "/" + file.name,
                std::ios::app)
                << 'x';
        }
    }
    return (made + 9) / 10;
}

// Makes every tenth installed file another version, presses Read and waits for the comparisons
// that follow it: the time from the press until the status tool tip shows their line, and the
// longest the window went without a turn meanwhile (a timer asks for one every millisecond).
void TimeComparisons(WindowUnderTest& window, const std::vector<AddOnFile>& files,
                     const std::string& game) {
    const std::string line = std::to_string(MakeOtherVersions(files, game)) +
                             " File(s) already there in another version would not be replaced "
                             "(see Files of the last pass)";
    const auto start = Clock::now();
    window.Press(rv::names::cmd_read);
    const double read = Seconds(start);
    auto last_turn = Clock::now();
    Clock::duration longest{};
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longest = std::max(longest, Clock::now() - last_turn);
        last_turn = Clock::now();
    });
    turns.start(1);
    while (window.StatusToolTip() != line) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf(
        "read %.3f s, then its comparisons until the line shows %.3f s; the window's "
        "longest wait for a turn meanwhile %.1f ms\n",
        read, Seconds(start) - read, std::chrono::duration<double, std::milli>(longest).count());
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const bool own_folder = argc < 2;
    const std::string work =
        own_folder
            ? (fs::temp_directory_path() / ("rv-window-read-bench-" + std::to_string(::getpid())))
                  .string()
            : argv[1];
    fs::remove_all(work);
    UseEmptyHome(work + "/home");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);

    const std::string add = work + "/add", game = work + "/game";
    std::printf("generating %d files in %d folders under %s ...\n", kFiles, kFolders, work.c_str());
    const std::vector<AddOnFile> files = GenerateReferenceTree(add, {game});
    const auto missing = std::count_if(files.begin(), files.end(),
                                       [](const AddOnFile& file) { return !file.installed; });
    const std::string end_line = std::to_string(missing) + " File(s) are ready to write - " +
                                 std::to_string(files.size()) + " File(s) checked!";

    QuietWindow quiet;
    rv::RV2003_2004_Add_On_Installer core(quiet);
    core.SetAddOnFolder(add);
    core.SetGameFolder(game);
    WindowUnderTest window(work + "/receipts");
    window.Pick(rv::names::cmd_Open1, game);
    window.Pick(rv::names::cmd_Open2, add);

    // Three rounds after a warm-up, the three ways in turn on the same warm tree.
    // What the pass must look at: the add-on folder and the game folder.
    const std::string finds = "find '" + add + "' '" + game + "' -type f > /dev/null";
    Run(finds);
    std::vector<double> find_times, core_times, window_times;
    for (int round = 0; round < 3; ++round) {
        find_times.push_back(Run(finds));
        auto start = Clock::now();
        core.cmd_read_Click();
        core_times.push_back(Seconds(start));
        start = Clock::now();
        window.Press(rv::names::cmd_read);
        window_times.push_back(Seconds(start));
        if (window.Status() != end_line) {
            std::fprintf(stderr, "the window's read pass ended with \"%s\", not \"%s\"\n",
                         window.Status().c_str(), end_line.c_str());
            return 1;
        }
        std::printf("round %d: find %.3f s, core read %.3f s, read through the window %.3f s\n",
                    round + 1, find_times.back(), core_times.back(), window_times.back());
    }
    const double find = Best(find_times), core_read = Best(core_times);
    const double window_read = Best(window_times);
    TimeComparisons(window, files, game);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("best of 3: one find walk of add-on and game folder %.3f s\n", find);
    std::printf("  core read pass          %.3f s   ratio %.2f (target <= 2.0)\n", core_read,
                core_read / find);
    std::printf("  read through the window %.3f s   ratio %.2f (target <= 2.0)\n", window_read,
                window_read / find);
    std::printf("peak memory %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    if (own_folder) {
        fs::remove_all(work);
    }
    return 0;
}
