// SPDX-License-Identifier: MIT
#include "cli/pass_command.h"

#include <algorithm>
#include <array>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>

#include "cli/cli_output.h"
#include "cli/console_window.h"
#include "cli/exit_status.h"
#include "core/installer.h"
#include "edition/edition_selection.h"
#include "platform/end_signals.h"
#include "platform/file_system.h"
#include "receipts/receipt_journal.h"
#include "text/text.h"

namespace rv {
namespace {

using Json = nlohmann::json;

// "File(s) read:" gives "read".
std::string Heading(const CounterKindInfo& kind) {
    const std::string_view caption = kind.frame_caption;
    return std::string(caption.substr(8, caption.size() - 9));
}

std::string RowName(std::size_t row) {
    return row < kCategoryCount ? std::string(kCategories[row].sub_folder) : "Total";
}

// "ready to write" gives "ready_to_write", "StaticMeshes" "static_meshes": the JSON keys.
std::string SnakeCase(std::string_view name) {
    std::string key;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool upper = c >= 'A' && c <= 'Z';
        if (c == ' ' || (upper && i > 0 && name[i - 1] >= 'a' && name[i - 1] <= 'z')) {
            key += '_';
        }
        if (c != ' ') {
            key += upper ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return key;
}

std::int32_t CountAt(const FileCounters& counters, std::size_t row, CounterKind kind) {
    return row < kCategoryCount ? counters.Count(kind, kCategories[row].category)
                                : counters.Total(kind);
}

bool IsFolder(const std::string& path) {
    return platform::ListFolder(path).has_value();
}

struct Refusal {
    std::string message;
    Json details = Json::object();
};

// The edition's registered folder, looked up as the window does at start even when --game names
// the folder: a drive-letter path then means a drive of the prefix the game was found in.
std::optional<Refusal> FindGameFolder(const CommandLine& command, ConsoleWindow& window,
                                      RV2003_2004_Add_On_Installer& installer, Console& console) {
    EditionSelection edition(window, installer, console.registry);
    edition.Form_Load();
    if (command.edition == "RV2003") {
        installer.SetGameFolder("");  // the switch keeps the old folder when none is registered
        edition.cmd_gameChange_Click();
    }
    if (command.game) {
        installer.SetGameFolder(*command.game);
        installer.SetEdition(command.edition.value_or("RV2004"));
        if (!IsFolder(*command.game)) {
            return Refusal{"the game folder " + *command.game + " is not a folder"};
        }
    } else if (installer.GetGameFolder().empty()) {
        Refusal refusal{"no game folder is registered for " + installer.GetEdition() +
                        "; name one with --game FOLDER"};
        if (const std::string looked = console.registry.WhereLooked(); !looked.empty()) {
            refusal.details["where_looked"] = looked;
        }
        return refusal;
    }
    return std::nullopt;
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
            counts[SnakeCase(Heading(kind))] = CountAt(installer.Counters(), row, kind.kind);
        }
        counters[SnakeCase(RowName(row))] = counts;
    }
    Json files = Json::array();
    for (const PassFile& file : installer.LastPass().files) {
        files.push_back({{"addon_path", file.addon_path},
                         {"category", Info(file.category).sub_folder},
                         {"target", file.target_path},
                         {"state", SnakeCase(StateName(file.state))},
                         {"reason", file.reason}});
    }
    return {{"game_folder", installer.GetGameFolder()},
            {"addon_folder", installer.GetAddOnFolder()},
            {"edition", installer.GetEdition()},
            {"status", status},
            {"counters", counters},
            {"files", files},
            {"receipt", installer.LastReceiptName()},
            {"receipt_problem", installer.LastReceiptProblem()}};
}

struct PassOutcome {
    bool failed = false;  // a folder could not be read, a file failed or the receipt was not kept
    int signal = 0;       // the signal that ended the program, if one came
};

// Reads, and for --write then writes unless a signal that ends the program came meanwhile; such a
// signal is answered here. The status tooltip also says what was left alone on purpose (files of
// another version), so what failed is taken from the passes themselves.
PassOutcome RunPasses(const CommandLine& command, RV2003_2004_Add_On_Installer& installer,
                      const ConsoleWindow& window) {
    std::optional<platform::EndSignalsAnswered> answered;
    if (command.action == Action::Write) {
        answered.emplace();
    }
    installer.cmd_read_Click();
    PassOutcome outcome{!window.ToolTip({"lbl_status"}).empty()};  // folders that were not read
    if (!answered) {
        // Without a window to keep answering, the files of another version are counted now.
        installer.FinishComparisons();
    }
    if (answered && !platform::EndRequested()) {
        installer.cmd_write_Click();
        const std::vector<PassFile>& files = installer.LastPass().files;
        outcome.failed = outcome.failed || !installer.LastReceiptProblem().empty() ||
                         std::any_of(files.begin(), files.end(), [](const PassFile& file) {
                             return file.state == FileState::Failed;
                         });
    }
    outcome.signal = answered ? platform::EndSignal() : 0;
    return outcome;
}

// The last line of a write a signal stopped: what was written and what became of its receipt.
std::string StoppedLine(const RV2003_2004_Add_On_Installer& installer) {
    std::int32_t written = 0;
    for (const PassFile& file : installer.LastPass().files) {
        written += file.state == FileState::Written ? 1 : 0;
    }
    std::string line = "Stopped - " + std::to_string(written) + " File(s) written!";
    if (!installer.LastReceiptName().empty()) {
        line += " Their receipt is kept: " + installer.LastReceiptName();
    } else if (!installer.LastReceiptProblem().empty()) {
        line += " Their receipt could not be kept: " + installer.LastReceiptProblem();
    }
    return line;
}

}  // namespace

int RunPass(const CommandLine& command, Console& console) {
    ConsoleWindow window;
    RV2003_2004_Add_On_Installer installer(window);
    // Also without a data folder: the pass then says that it kept no receipt.
    ReceiptJournal journal(console.receipt_folder);
    installer.SetJournal(&journal);
    if (const std::optional<Refusal> refusal =
            FindGameFolder(command, window, installer, console)) {
        return Refuse(console, command.json, exit_status::kNotFound, refusal->message,
                      refusal->details);
    }
    if (!IsFolder(command.addon)) {
        return Refuse(console, command.json, exit_status::kNotFound,
                      "the add-on folder " + command.addon + " is not a folder");
    }
    installer.SetAddOnFolder(command.addon);
    const PassOutcome outcome = RunPasses(command, installer, window);
    const int signal = outcome.signal;

    const std::string status =
        signal != 0 ? StoppedLine(installer) : window.Caption({"lbl_status"});
    if (command.json) {
        console.out << JsonText(PassJson(installer, status));
    } else {
        PrintTable(installer.Counters(), console.out);
        console.out << ShownLines(status) << '\n';
        if (signal == 0 && !installer.LastReceiptName().empty()) {
            console.out << "Receipt: " << ShownLines(installer.LastReceiptName()) << '\n';
        }
    }
    // What failed, and the files of another version left alone: after the report, also where
    // both streams go to one place.
    if (const std::string tool_tip = window.ToolTip({"lbl_status"}); !tool_tip.empty()) {
        console.out << std::flush;
        console.err << ShownLines(tool_tip) << '\n';
    }
    if (signal != 0) {
        return exit_status::Interrupted(signal);
    }
    return outcome.failed ? exit_status::kFailed : exit_status::kSuccess;
}

}  // namespace rv
