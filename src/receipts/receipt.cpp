// SPDX-License-Identifier: MIT
#include "receipts/receipt.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace rv {
namespace {

using Json = nlohmann::json;

constexpr std::string_view kFormat = "rv-addon-installer receipt";
constexpr std::array<std::string_view, 4> kOutcomeNames = {"written", "identical", "different",
                                                           "failed"};
// The longest a file's line can be besides its texts: the keys, the numbers and the separators.
constexpr std::size_t kFixedLength = 160;

std::string TimeNow() {
    using namespace std::chrono;
    const auto now = floor<milliseconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date(day);
    const hh_mm_ss time(now - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()),
                  int(time.subseconds().count()));
    return text;
}

ReceiptFile FileOf(const PassFile& file) {
    ReceiptFile entry;
    entry.source = file.addon_path;
    entry.target = file.target_path;
    entry.category = Info(file.category).sub_folder;
    if (file.state == FileState::Written) {
        entry.size = file.written.size;
        entry.modified_ns = file.written.modified_ns;
        entry.hash = file.hash;
    } else if (file.state == FileState::Failed) {
        entry.outcome = Outcome::Failed;
        entry.reason = file.reason;
    } else {
        entry.outcome =
            file.sameness == Sameness::Identical ? Outcome::Identical : Outcome::Different;
    }
    return entry;
}

Json FileJson(const ReceiptFile& file) {
    Json json = {{"source", file.source},
                 {"target", file.target},
                 {"category", file.category},
                 {"outcome", kOutcomeNames[static_cast<std::size_t>(file.outcome)]}};
    if (file.outcome == Outcome::Written) {
        json["size"] = file.size;
        json["modified_ns"] = file.modified_ns;
        json["xxh3"] = file.hash;
        json["deleted"] = file.deleted;
    } else if (file.outcome == Outcome::Failed) {
        json["reason"] = file.reason;
    }
    return json;
}

ReceiptFile FileFromJson(const Json& json) {
    ReceiptFile file;
    file.source = json.at("source");
    file.target = json.at("target");
    file.category = json.at("category");
    const std::string outcome = json.at("outcome");
    std::size_t index = 0;
    while (index < kOutcomeNames.size() && kOutcomeNames[index] != outcome) {
        ++index;
    }
    if (index == kOutcomeNames.size()) {
        throw std::invalid_argument("unknown outcome \"" + outcome + "\"");
    }
    file.outcome = static_cast<Outcome>(index);
    if (file.outcome == Outcome::Written) {
        file.size = json.at("size");
        file.modified_ns = json.at("modified_ns");
        file.hash = json.at("xxh3");
        file.deleted = json.at("deleted");
    } else if (file.outcome == Outcome::Failed) {
        file.reason = json.at("reason");
    }
    return file;
}

}  // namespace

Receipt ReceiptOf(const PassRecord& pass, const std::string& edition, const EachFile& each) {
    Receipt receipt{TimeNow(), pass.game_folder, edition, pass.addon_folder, false, {}};
    receipt.files.reserve(pass.files.size());  // growing would move every entry at once
    for (const PassFile& file : pass.files) {
        receipt.files.push_back(FileOf(file));
        if (each) {
            each();
        }
    }
    return receipt;
}

std::string ToJson(const Receipt& receipt, const EachFile& each) {
    const Json head = {{"format", kFormat},          {"version", kReceiptVersion},
                       {"time", receipt.time},       {"game_folder", receipt.game_folder},
                       {"edition", receipt.edition}, {"addon_folder", receipt.addon_folder},
                       {"removed", receipt.removed}};
    // One file a line, each dumped on its own: a whole tree of a large add-on's receipt would
    // take several times the memory of the text. A name that is not UTF-8 cannot be stored as
    // such; it is kept readable, and a removal then finds nothing at the changed name.
    std::string text = head.dump(-1, ' ', false, Json::error_handler_t::replace);
    // Room for the whole text from the start: growing it would copy tens of megabytes in one
    // step, between two calls of `each`. Texts count twice, for escaped backslashes; only names
    // full of control characters can overrun it. Room not written to costs no memory.
    std::size_t room = text.size() + 16;
    for (const ReceiptFile& file : receipt.files) {
        room += kFixedLength + 2 * (file.source.size() + file.target.size() + file.category.size() +
                                    file.hash.size() + file.reason.size());
    }
    text.reserve(room);
    text.back() = ',';
    text += "\"files\":[";
    for (std::size_t i = 0; i < receipt.files.size(); ++i) {
        text += i == 0 ? "\n" : ",\n";
        text += FileJson(receipt.files[i]).dump(-1, ' ', false, Json::error_handler_t::replace);
        if (each) {
            each();
        }
    }
    text += "\n]}\n";
    return text;
}

ParsedReceipt ParseReceipt(const std::string& text) {
    const Json json = Json::parse(text, nullptr, false);
    try {
        if (json.is_discarded() || !json.is_object() || json.value("format", "") != kFormat) {
            return {{}, false, "not a receipt, or damaged"};
        }
        if (json.value("version", 0) != kReceiptVersion) {
            return {{}, true, "a receipt of an unknown version"};
        }
        Receipt receipt{json.at("time"),         json.at("game_folder"), json.at("edition"),
                        json.at("addon_folder"), json.at("removed"),     {}};
        for (const Json& file : json.at("files")) {
            receipt.files.push_back(FileFromJson(file));
        }
        return {std::move(receipt), false, {}};
    } catch (const std::exception& error) {
        return {{}, false, std::string("damaged: ") + error.what()};
    }
}

}  // namespace rv
