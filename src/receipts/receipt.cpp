// SPDX-License-Identifier: MIT
#include "receipts/receipt.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <array>
#include <chrono>
#include <cstdio>
#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <span>
#include <unordered_map>

#include "platform/file_facts.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "receipts/receipt_reader.h"
#include "receipts/stored_name.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

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

// A pass's target is the game folder's path (as the system opens it), its sub-folder and the
// name: the last two parts are the target below the game folder.
std::string BelowGame(const std::string& target_path) {
    const std::size_t name = target_path.rfind(platform::kPathSeparator);
    if (name == std::string::npos || name == 0) {
        return target_path;
    }
    const std::size_t sub = target_path.rfind(platform::kPathSeparator, name - 1);
    std::string below = target_path.substr(sub == std::string::npos ? 0 : sub + 1);
    below[below.find(platform::kPathSeparator)] = '/';
    return below;
}

ReceiptFile FileOf(const PassFile& file) {
    ReceiptFile entry;
    entry.source = file.addon_path;
    entry.target = BelowGame(file.target_path);
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

// Writes each file's object straight into the text, its keys always in the same order: a tree
// per file made the text of a large receipt take several times as long.
class FileWriter {
public:
    void Append(const ReceiptFile& file, std::string& text) {
        line_.Clear();
        out_.Reset(line_);
        out_.StartObject();
        Text("category", file.category);
        Text("outcome", kOutcomeNames[static_cast<std::size_t>(file.outcome)]);
        Name("source", file.source);
        Name("target", file.target);
        if (file.outcome == Outcome::Written) {
            out_.Key("size");
            out_.Uint64(file.size);
            out_.Key("modified_ns");
            out_.Int64(file.modified_ns);
            Text("xxh3", file.hash);
            out_.Key("deleted");
            out_.Bool(file.deleted);
        } else if (file.outcome == Outcome::Failed) {
            Name("reason", file.reason);
        }
        out_.EndObject();
        text.append(line_.GetString(), line_.GetSize());
    }

private:
    void Text(std::string_view key, std::string_view value) {
        out_.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
        out_.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
    }
    void Name(const std::string& key, const std::string& name) {
        if (ValidUtf8(name)) {
            Text(key, name);
        } else {
            Text(key + "_bytes", HexOf(name));
        }
    }

    rapidjson::StringBuffer line_;
    rapidjson::Writer<rapidjson::StringBuffer> out_;
};

ReceiptFile FileFromJson(const Json& json) {
    ReceiptFile file;
    file.source = TakeName(json, "source");
    file.target = TakeName(json, "target");
    file.category = json.at("category");
    const std::optional<Outcome> outcome = OutcomeNamed(json.at("outcome").get<std::string>());
    if (!outcome) {
        throw std::invalid_argument("a file's outcome is unknown");
    }
    file.outcome = *outcome;
    if (file.outcome == Outcome::Written) {
        file.size = json.at("size");
        file.modified_ns = json.at("modified_ns");
        file.hash = json.at("xxh3");
        file.deleted = json.at("deleted");
    } else if (file.outcome == Outcome::Failed) {
        file.reason = TakeName(json, "reason");
    }
    return file;
}

// A version 1 receipt names its targets by whole paths and its game folder as typed: the
// identity comes from the folder now, the targets are made relative to the folder's spelling.
void FromVersion1(Receipt& receipt) {
    receipt.game = IdentityOf(receipt.game_folder);
    const std::array<std::string, 2> spellings = {receipt.game_folder,
                                                  platform::ResolveNativePath(receipt.game_folder)};
    for (ReceiptFile& file : receipt.files) {
        bool below = false;
        for (const std::string& folder : spellings) {
            const std::string prefix = folder + platform::kPathSeparator;
            if (!below && !folder.empty() && file.target.starts_with(prefix)) {
                file.target = BelowGame(file.target);
                below = true;
            }
        }
        file.outside = !below && !file.target.empty();
    }
}

GameIdentity IdentityFromJson(const Json& game) {
    return {TakeName(game, "path"), game.at("device"), game.at("node")};
}

Receipt HeadFromJson(const Json& json, int version, std::vector<ReceiptFile> files) {
    Receipt receipt{json.at("time"),
                    TakeName(json, "game_folder"),
                    {},
                    json.at("edition"),
                    TakeName(json, "addon_folder"),
                    json.at("removed"),
                    {}};
    if (version > 1) {
        receipt.game = IdentityFromJson(json.at("game_identity"));
    }
    receipt.files = std::move(files);
    if (version == 1) {
        FromVersion1(receipt);
    }
    return receipt;
}

std::string HeadText(const Receipt& receipt) {
    Json game = {{"device", receipt.game.device}, {"node", receipt.game.node}};
    PutName(game, "path", receipt.game.path);
    Json head = {{"format", kFormat},          {"version", kReceiptVersion},
                 {"time", receipt.time},       {"game_identity", game},
                 {"edition", receipt.edition}, {"removed", receipt.removed}};
    PutName(head, "game_folder", receipt.game_folder);
    PutName(head, "addon_folder", receipt.addon_folder);
    return head.dump();
}

}  // namespace

Receipt ReceiptOf(const PassRecord& pass, const std::string& edition, const GameIdentity& game,
                  const EachFile& each) {
    Receipt receipt{TimeNow(), pass.game_folder, game, edition, pass.addon_folder, false, {}};
    receipt.files.reserve(pass.files.size());  // growing would move every entry at once
    for (const PassFile& file : pass.files) {
        receipt.files.push_back(FileOf(file));
        if (each) {
            each();
        }
    }
    return receipt;
}

std::string TargetPath(const Receipt& receipt, const ReceiptFile& file) {
    if (file.outside) {
        return file.target;
    }
    std::string path = receipt.game.path + platform::kPathSeparator + file.target;
    std::replace(path.end() - static_cast<std::ptrdiff_t>(file.target.size()), path.end(), '/',
                 platform::kPathSeparator);
    return path;
}

namespace {

// A receipt's text made a piece at a time: its head, then one file a line, each written on its
// own (a whole tree of a large add-on's receipt would take several times the memory of the
// text), then its end.
class TextMaker {
public:
    explicit TextMaker(const Receipt& receipt) : receipt_(receipt) {}

    // Appends to `text` until it grew by `at_least` or the receipt is whole; false once whole.
    bool Next(std::string& text, std::size_t at_least, const EachFile& each) {
        const std::size_t start = text.size();
        if (!begun_) {
            text += HeadText(receipt_);
            text.back() = ',';
            text += "\"files\":[";
            begun_ = true;
        }
        const std::vector<ReceiptFile>& files = receipt_.files;
        for (; next_ < files.size() && text.size() - start < at_least; ++next_) {
            text += next_ == 0 ? "\n" : ",\n";
            writer_.Append(files[next_], text);
            if (each) {
                each();
            }
        }
        if (next_ < files.size()) {
            return true;
        }
        text += "\n]}\n";
        return false;
    }

private:
    const Receipt& receipt_;
    FileWriter writer_;
    std::size_t next_ = 0;
    bool begun_ = false;
};

}  // namespace

std::string ToJson(const Receipt& receipt, const EachFile& each) {
    // Room for the whole text from the start: growing it would copy tens of megabytes in one
    // step, between two calls of `each`. Texts count twice, for escaped backslashes; only names
    // full of control characters can overrun it. Room not written to costs no memory.
    std::size_t room = HeadText(receipt).size() + 16;
    for (const ReceiptFile& file : receipt.files) {
        room += kFixedLength + 2 * (file.source.size() + file.target.size() + file.category.size() +
                                    file.hash.size() + file.reason.size());
    }
    std::string text;
    text.reserve(room);
    TextMaker(receipt).Next(text, std::numeric_limits<std::size_t>::max(), each);
    return text;
}

std::function<std::string_view()> JsonPieces(const Receipt& receipt) {
    struct Made {
        explicit Made(const Receipt& receipt) : maker(receipt) {}
        TextMaker maker;
        std::string piece;
        bool more = true;
    };
    return [made = std::make_shared<Made>(receipt)] {
        made->piece.clear();
        if (made->more) {
            made->more = made->maker.Next(made->piece, std::size_t{1} << 20, {});
        }
        return std::string_view(made->piece);
    };
}

std::optional<Outcome> OutcomeNamed(std::string_view name) {
    std::size_t index = 0;
    while (index < kOutcomeNames.size() && kOutcomeNames[index] != name) {
        ++index;
    }
    return index == kOutcomeNames.size() ? std::nullopt
                                         : std::optional(static_cast<Outcome>(index));
}

namespace {

// Judges what the reader took from a whole text, or from one the parser gave up on.
ParsedReceipt Judge(bool parsed, ReceiptReader& reader) {
    const Json& json = reader.Head();
    if (!parsed || !json.is_object() || json.value("format", "") != kFormat) {
        return {{}, false, "not a receipt, or not whole"};
    }
    const Json version = json.value("version", Json());
    if (!version.is_number_integer() || version.get<int>() < 1 ||
        version.get<int>() > kReceiptVersion) {
        return {{}, true, "a receipt of an unknown version"};
    }
    try {
        if (reader.FilesWhole()) {
            return {HeadFromJson(json, version.get<int>(), std::move(reader.Files())),
                    false,
                    {},
                    version.get<int>()};
        }
    } catch (const std::exception&) {
    }
    return {{}, false, "a value is missing or of the wrong kind"};
}

// Hands the parser a file's pieces one character at a time. A NUL stands for the end, as the
// parser expects; one inside the text is told from the end by AtEnd.
class PieceStream {
public:
    using Ch = char;
    explicit PieceStream(const std::string& path) : reader_(path) {
        XXH3_64bits_reset(&hash_);
        NextPiece();
    }
    Ch Peek() const { return at_ == end_ ? '\0' : *at_; }
    Ch Take() {
        const Ch taken = Peek();
        if (at_ != end_ && ++at_ == end_) {
            NextPiece();
        }
        ++taken_;
        return taken;
    }
    std::size_t Tell() const { return taken_; }
    bool AtEnd() const { return at_ == end_; }
    bool Failed() const { return failed_; }
    std::uint64_t Hash() const { return XXH3_64bits_digest(&hash_); }
    // Never written to.
    Ch* PutBegin() { return nullptr; }
    void Put(Ch) {}
    void Flush() {}
    std::size_t PutEnd(Ch*) { return 0; }

private:
    void NextPiece() {
        std::span<const char> piece;
        failed_ = !reader_.Next(piece);
        at_ = piece.data();
        end_ = at_ + (failed_ ? 0 : piece.size());
        XXH3_64bits_update(&hash_, at_, static_cast<std::size_t>(end_ - at_));
    }

    platform::PieceReader reader_;
    const char* at_ = nullptr;
    const char* end_ = nullptr;
    std::size_t taken_ = 0;
    bool failed_ = false;
    XXH3_state_t hash_;
};

}  // namespace

ParsedReceipt ParseReceipt(const std::string& text, const FileSink& sink) {
    ReceiptReader reader(sink);
    rapidjson::MemoryStream stream(text.data(), text.size());
    reader.ExpectLength(text.size(), [&stream] { return stream.Tell(); });
    const bool parsed = ParseWith(stream, reader) && stream.Tell() == text.size();
    return Judge(parsed, reader);
}

ParsedReceipt ReadReceipt(const std::string& path, bool& readable, const FileSink& sink,
                          const GameSink& early) {
    PieceStream stream(path);
    ReceiptReader reader(sink, [&early](const Json& head) {
        // Only a head of this version names its game folder as the rest of the receipt does.
        std::optional<GameIdentity> game;
        if (early && head.is_object() && head.value("version", Json()) == kReceiptVersion) {
            try {
                game = IdentityFromJson(head.at("game_identity"));
            } catch (const std::exception&) {
            }
        }
        if (game) {
            early(*game);
        }
    });
    reader.ExpectLength(static_cast<std::size_t>(platform::LookAt(path).size),
                        [&stream] { return stream.Tell(); });
    const bool parsed = ParseWith(stream, reader) && stream.AtEnd();
    readable = !stream.Failed();
    ParsedReceipt judged = Judge(parsed, reader);
    judged.text_hash = stream.Hash();
    return judged;
}

std::optional<std::uint64_t> TextHash(const std::string& path) {
    XXH3_state_t hash;
    XXH3_64bits_reset(&hash);
    const bool read = platform::ReadPieces(path, [&hash](std::span<const char> piece) {
        XXH3_64bits_update(&hash, piece.data(), piece.size());
    });
    return read ? std::optional(XXH3_64bits_digest(&hash)) : std::nullopt;
}

}  // namespace rv

namespace rv {

std::string JournalHead(const Receipt& receipt) {
    return HeadText(receipt) + "\n";
}

std::string JournalLine(const ReceiptFile& file) {
    std::string line;
    FileWriter().Append(file, line);
    return line + "\n";
}

std::optional<Receipt> ParseJournal(const std::string& text) {
    std::size_t end = text.find('\n');
    Json head = Json::parse(text.substr(0, end), nullptr, false);
    std::optional<Receipt> receipt;
    try {
        receipt = HeadFromJson(head, kReceiptVersion, {});
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::unordered_map<std::string, std::size_t> at;
    while (end != std::string::npos && end + 1 < text.size()) {
        const std::size_t start = end + 1;
        end = text.find('\n', start);
        try {
            ReceiptFile file = FileFromJson(Json::parse(text.substr(start, end - start)));
            const auto [known, added] = at.try_emplace(file.target, receipt->files.size());
            if (added) {
                receipt->files.push_back(std::move(file));
            } else {
                receipt->files[known->second] = std::move(file);
            }
        } catch (const std::exception&) {
            break;
        }
    }
    return receipt;
}

}  // namespace rv
