// SPDX-License-Identifier: MIT
#include "cli/receipt_commands.h"

#include <array>
#include <chrono>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/cli_output.h"
#include "cli/exit_status.h"
#include "platform/end_signals.h"
#include "receipts/removal.h"
#include "text/text.h"

namespace rv {
namespace {

using Json = nlohmann::json;

Json ReceiptJson(const StoredReceipt& stored) {
    Json json = {{"name", stored.name}, {"status", StatusName(stored.status)}};
    if (!stored.problem.empty()) {
        json["problem"] = stored.problem;
        return json;
    }
    const WrittenFiles& count = stored.count;
    json.update({{"time", stored.receipt.time},
                 {"game_folder", stored.receipt.game_folder},
                 {"game_real_path", stored.receipt.game.path},
                 {"edition", stored.receipt.edition},
                 {"addon_folder", stored.receipt.addon_folder},
                 {"files_written", count.written},
                 {"still_as_written", count.still_as_written}});
    return json;
}

std::string Shown(const Json& text) {
    return text::ShownName(text.get<std::string>());
}

void PrintKept(const std::vector<KeptFile>& kept, std::ostream& out) {
    for (const KeptFile& file : kept) {
        out << "  kept " << text::ShownName(file.target) << ": " << text::ShownName(file.reason)
            << '\n';
    }
}

// Lists what the removal would do and asks once; true when it may go ahead.
bool Agreed(Console& console, std::ostream& talk, const RemovalPlan& plan) {
    for (const std::string& target : plan.to_delete) {
        talk << "  delete " << text::ShownName(target) << '\n';
    }
    PrintKept(plan.kept, talk);
    if (plan.to_delete.empty()) {
        return true;
    }
    talk << "Delete " << plan.to_delete.size() << " File(s)? [y/N] " << std::flush;
    std::string answer;
    std::getline(console.in, answer);
    if (answer != "y" && answer != "Y" && answer != "yes") {
        talk << "Nothing was removed.\n";
        return false;
    }
    return true;
}

void PrintResult(const CommandLine& command, Console& console, const StoredReceipt& stored,
                 const RemovalResult& result) {
    if (command.json) {
        Json kept = Json::array();
        for (const KeptFile& file : result.kept) {
            kept.push_back({{"target", file.target}, {"reason", file.reason}});
        }
        console.out << JsonText({{"receipt", stored.name},
                                 {"line", result.Line()},
                                 {"deleted", result.deleted},
                                 {"kept", kept},
                                 {"installed", result.in_force},
                                 {"problem", result.problem}});
        return;
    }
    console.out << result.Line() << '\n';
    PrintKept(result.kept, console.out);
    if (result.in_force && result.problem.empty()) {
        console.out << "The add-on stays installed: some files could not be checked.\n";
    }
}

// Waits for another copy of the program that holds the game folder, saying so once, for at most
// half a minute.
Waiting WaitSaying(std::ostream& err) {
    const auto start = std::chrono::steady_clock::now();
    return [&err, start, said = false](const std::string& what) mutable {
        if (!said) {
            err << what << std::endl;
            said = true;
        }
        return std::chrono::steady_clock::now() - start < std::chrono::seconds(30);
    };
}

}  // namespace

int ListReceipts(const CommandLine& command, Console& console) {
    Json list = Json::array();
    std::string problem;
    const std::optional<GameIdentity> game =
        command.game ? std::optional(IdentityOf(*command.game)) : std::nullopt;
    for (const StoredReceipt& stored :
         ReceiptBook(console.receipt_folder).List(game, &problem, Reading::Counted)) {
        list.push_back(ReceiptJson(stored));
    }
    if (!problem.empty()) {
        console.err << "rv-addon-installer: " << text::ShownName(problem) << '\n';
    }
    if (command.json) {
        console.out << JsonText(list);
        return problem.empty() ? exit_status::kSuccess : exit_status::kFailed;
    }
    for (const Json& receipt : list) {
        console.out << Shown(receipt["name"]) << "  " << Shown(receipt["status"]);
        if (receipt.contains("problem")) {
            console.out << ": " << Shown(receipt["problem"]) << '\n';
            continue;
        }
        console.out << "  " << Shown(receipt["time"]) << "  " << receipt["files_written"].get<int>()
                    << " File(s) written, " << receipt["still_as_written"].get<int>()
                    << " still as written\n  " << Shown(receipt["addon_folder"]) << " -> "
                    << Shown(receipt["game_folder"]) << '\n';
    }
    return problem.empty() ? exit_status::kSuccess : exit_status::kFailed;
}

int RemoveReceipt(const CommandLine& command, Console& console) {
    const ReceiptBook book(console.receipt_folder);
    const std::optional<std::string> name = book.NameOf(command.receipt);
    std::vector<StoredReceipt> all = name ? book.List() : std::vector<StoredReceipt>{};
    std::optional<StoredReceipt> found = name ? TakeOut(book, all, *name) : std::nullopt;
    if (!found) {
        return Refuse(console, command.json, exit_status::kBadArguments,
                      "no receipt " + command.receipt + " in " + book.Folder());
    }
    StoredReceipt stored = std::move(*found);
    const std::string refusal =
        stored.problem.empty()
            ? RemovalBlocked(book, stored, all)
            : "the receipt " + stored.name + " cannot be read (" + stored.problem + ")";
    if (!refusal.empty()) {
        return Refuse(console, command.json,
                      stored.problem.empty() ? exit_status::kFailed : exit_status::kBadArguments,
                      refusal);
    }
    std::ostream& talk = command.json ? console.err : console.out;
    // With --yes nothing is asked, so nothing is looked at twice: each file is listed as it is
    // deleted instead.
    if (!command.yes && !Agreed(console, talk, PlanRemoval(book, stored, all))) {
        return exit_status::kFailed;
    }
    const DeletedFile listed = [&talk](const ReceiptFile& file) {
        talk << "  deleted " << text::ShownName(file.target) << '\n';
    };
    // Once answered, the removal runs to its end: a closed output fails writes (the program ignores
    // SIGPIPE), and a signal that ends the program stops it after the file under way, is answered
    // here with the deletions recorded, and ends it with the signal's status.
    RemovalResult result;
    int signal = 0;
    {
        const platform::EndSignalsAnswered answered;
        result = CarryOutRemoval(book, stored, command.yes ? listed : DeletedFile(),
                                 WaitSaying(console.err), std::move(all));
        signal = platform::EndSignal();
    }
    PrintResult(command, console, stored, result);
    if (!result.problem.empty()) {
        console.err << "rv-addon-installer: " << text::ShownName(result.problem) << '\n';
    }
    if (signal != 0) {
        (command.json ? console.err : console.out)
            << "Stopped - " << result.deleted
            << " File(s) deleted! The receipt stays installed for the rest.\n";
        return exit_status::Interrupted(signal);
    }
    return result.problem.empty() && !result.in_force ? exit_status::kSuccess
                                                      : exit_status::kFailed;
}

}  // namespace rv
