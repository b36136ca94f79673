// SPDX-License-Identifier: MIT
#include "cli/receipt_commands.h"

#include <algorithm>
#include <array>
#include <iostream>
#include <nlohmann/json.hpp>

#include "receipts/removal.h"

namespace rv {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::string_view, 4> kStatusNames = {"in force", "removed", "damaged",
                                                          "unknown version"};

std::string_view StatusName(ReceiptStatus status) {
    return kStatusNames[static_cast<std::size_t>(status)];
}

std::string Dump(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Json ReceiptJson(const StoredReceipt& stored) {
    Json json = {{"name", stored.name}, {"status", StatusName(stored.status)}};
    if (!stored.problem.empty()) {
        json["problem"] = stored.problem;
        return json;
    }
    const WrittenFiles count = CountWritten(stored.receipt);
    json.update({{"time", stored.receipt.time},
                 {"game_folder", stored.receipt.game_folder},
                 {"edition", stored.receipt.edition},
                 {"addon_folder", stored.receipt.addon_folder},
                 {"files_written", count.written},
                 {"still_as_written", count.still_as_written}});
    return json;
}

void PrintKept(const std::vector<KeptFile>& kept, std::ostream& out) {
    for (const KeptFile& file : kept) {
        out << "  kept " << file.target << ": " << file.reason << '\n';
    }
}

}  // namespace

int ListReceipts(const CommandLine& command, Console& console) {
    Json list = Json::array();
    for (const StoredReceipt& stored : ReceiptBook(console.receipt_folder).List(command.game)) {
        list.push_back(ReceiptJson(stored));
    }
    if (command.json) {
        console.out << Dump(list);
        return 0;
    }
    for (const Json& receipt : list) {
        console.out << receipt["name"].get<std::string>() << "  "
                    << receipt["status"].get<std::string>();
        if (receipt.contains("problem")) {
            console.out << ": " << receipt["problem"].get<std::string>() << '\n';
            continue;
        }
        console.out << "  " << receipt["time"].get<std::string>() << "  "
                    << receipt["files_written"].get<int>() << " File(s) written, "
                    << receipt["still_as_written"].get<int>() << " still as written\n  "
                    << receipt["addon_folder"].get<std::string>() << " -> "
                    << receipt["game_folder"].get<std::string>() << '\n';
    }
    return 0;
}

int RemoveReceipt(const CommandLine& command, Console& console) {
    const ReceiptBook book(console.receipt_folder);
    const std::vector<StoredReceipt> all = book.List();
    const std::optional<StoredReceipt> found = book.Find(command.receipt);
    if (!found) {
        console.err << "rv-addon-installer: no receipt " << command.receipt << " in "
                    << book.Folder() << '\n';
        return 2;
    }
    StoredReceipt stored = *found;
    if (!stored.problem.empty()) {  // damaged or of an unknown version: refused
        console.err << "rv-addon-installer: " << CarryOutRemoval(book, stored, all).problem << '\n';
        return 2;
    }
    const RemovalPlan plan = PlanRemoval(stored, all);
    std::ostream& talk = command.json ? console.err : console.out;
    for (const std::string& target : plan.to_delete) {
        talk << "  delete " << target << '\n';
    }
    PrintKept(plan.kept, talk);
    if (!command.yes && !plan.to_delete.empty()) {
        talk << "Delete " << plan.to_delete.size() << " File(s)? [y/N] " << std::flush;
        std::string answer;
        std::getline(console.in, answer);
        if (answer != "y" && answer != "Y" && answer != "yes") {
            talk << "Nothing was removed.\n";
            return 1;
        }
    }
    const RemovalResult result = CarryOutRemoval(book, stored, all);
    if (command.json) {
        Json kept = Json::array();
        for (const KeptFile& file : result.kept) {
            kept.push_back({{"target", file.target}, {"reason", file.reason}});
        }
        console.out << Dump({{"receipt", stored.name},
                             {"line", result.Line()},
                             {"deleted", result.deleted},
                             {"kept", kept},
                             {"problem", result.problem}});
    } else {
        console.out << result.Line() << '\n';
        PrintKept(result.kept, console.out);
    }
    const bool stuck = std::any_of(
        result.kept.begin(), result.kept.end(),
        [](const KeptFile& file) { return file.reason.starts_with("cannot be deleted"); });
    if (!result.problem.empty()) {
        console.err << "rv-addon-installer: " << result.problem << '\n';
    }
    return result.problem.empty() && !stuck ? 0 : 1;
}

}  // namespace rv
