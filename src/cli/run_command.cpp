// SPDX-License-Identifier: MIT
#include "cli/run_command.h"

#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/command_line.h"
#include "cli/console_window.h"
#include "cli/receipt_commands.h"
#include "core/installer.h"
#include "edition/edition_selection.h"
#include "platform/file_system.h"
#include "receipts/receipt_journal.h"

namespace rv {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::string_view, 4> kStateNames = {"ready to write", "already there",
                                                         "written", "failed"};

// "File(s) read:" gives "read".
std::string Heading(const CounterKindInfo& kind) {
    const std::string_view caption = kind.frame_caption;
    return std::string(caption.substr(8, caption.size() - 9));
}

std::string RowName(std::size_t row) {
    return row < kCategoryCount ? std::string(kCategories[row].sub_folder) : "Total";
}

std::int32_t CountAt(const FileCounters& counters, std::size_t row, CounterKind kind) {
    return row < kCategoryCount ? counters.Count(kind, kCategories[row].category)
                                : counters.Total(kind);
}

bool IsFolder(const std::string& path) {
    return platform::ListFolder(path).has_value();
}

// The game folder named, or the one the edition is registered with, as the window finds it.
std::string FindGameFolder(const CommandLine& command, ConsoleWindow& window,
                           RV2003_2004_Add_On_Installer& installer, Console& console) {
    if (command.game) {
        installer.GameFolder = *command.game;
        installer.Edition = command.edition.value_or("RV2004");
        return IsFolder(*command.game) ? ""
                                       : "the game folder " + *command.game + " is not a folder";
    }
    EditionSelection edition(window, installer, console.registry);
    edition.Form_Load();
    if (command.edition == "RV2003") {
        installer.GameFolder.clear();  // the switch keeps the old folder when none is registered
        edition.cmd_gameChange_Click();
    }
    if (installer.GameFolder.empty()) {
        return "no game folder is registered for " + installer.Edition +
               "; name one with --game FOLDER";
    }
    return {};
}

void PrintTable(const FileCounters& counters, std::ostream& out) {
    out << std::left << std::setw(14) << "";
    for (const CounterKindInfo& kind : kCounterKinds) {
        out << std::right << std::setw(16) << Heading(kind);
    }
    out << '\n';
    for (std::size_t row = 0; row <= kCategoryCount; ++row) {
        out << std::left << std::setw(14) << RowName(row);
        for (const CounterKindInfo& kind : kCounterKinds) {
            out << std::right << std::setw(16) << CountAt(counters, row, kind.kind);
        }
        out << '\n';
    }
}

Json PassJson(const RV2003_2004_Add_On_Installer& installer, const std::string& status) {
    Json counters;
    for (std::size_t row = 0; row <= kCategoryCount; ++row) {
        Json counts;
        for (const CounterKindInfo& kind : kCounterKinds) {
            counts[Heading(kind)] = CountAt(installer.Counters(), row, kind.kind);
        }
        counters[RowName(row)] = counts;
    }
    Json files = Json::array();
    for (const PassFile& file : installer.LastPass().files) {
        files.push_back({{"addon_path", file.addon_path},
                         {"category", Info(file.category).sub_folder},
                         {"target", file.target_path},
                         {"state", kStateNames[static_cast<std::size_t>(file.state)]},
                         {"reason", file.reason}});
    }
    return {{"game_folder", installer.GameFolder},
            {"addon_folder", installer.AddOnFolder},
            {"edition", installer.Edition},
            {"status", status},
            {"counters", counters},
            {"files", files},
            {"receipt", installer.LastReceiptName()},
            {"receipt_problem", installer.LastReceiptProblem()}};
}

int RunPass(const CommandLine& command, Console& console) {
    ConsoleWindow window;
    RV2003_2004_Add_On_Installer installer(window);
    // Also without a data folder: the pass then says that it kept no receipt.
    ReceiptJournal journal(console.receipt_folder);
    installer.Journal = &journal;
    if (std::string problem = FindGameFolder(command, window, installer, console);
        !problem.empty()) {
        console.err << "rv-addon-installer: " << problem << '\n';
        return 2;
    }
    if (!IsFolder(command.addon)) {
        console.err << "rv-addon-installer: the add-on folder " << command.addon
                    << " is not a folder\n";
        return 2;
    }
    installer.AddOnFolder = command.addon;
    command.action == Action::Read ? installer.cmd_read_Click() : installer.cmd_write_Click();

    const std::string status = window.Caption({"lbl_status"});
    if (command.json) {
        console.out
            << PassJson(installer, status).dump(2, ' ', false, Json::error_handler_t::replace)
            << '\n';
    } else {
        PrintTable(installer.Counters(), console.out);
        console.out << status << '\n';
        if (!installer.LastReceiptName().empty()) {
            console.out << "Receipt: " << installer.LastReceiptName() << '\n';
        }
    }
    const std::string failures = window.ToolTip({"lbl_status"});
    if (!failures.empty()) {
        console.err << failures << '\n';
    }
    return failures.empty() ? 0 : 1;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments, Console& console) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.command) {
        console.err << "rv-addon-installer: " << parsed.problem << "\n\n" << kCommandLineHelp;
        return 2;
    }
    switch (parsed.command->action) {
        case Action::Help:
            console.out << kCommandLineHelp;
            return 0;
        case Action::Read:
        case Action::Write:
            return RunPass(*parsed.command, console);
        case Action::List:
            return ListReceipts(*parsed.command, console);
        case Action::Remove:
            return RemoveReceipt(*parsed.command, console);
    }
    return 2;
}

}  // namespace rv
