// SPDX-License-Identifier: MIT
#pragma once

#include <rapidjson/reader.h>

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "receipts/receipt.h"

namespace rv {

// Takes a receipt's text event by event as the JSON parser meets it, so that a receipt of a
// million files is never held as a tree: each file's object becomes a ReceiptFile as soon as it
// is whole, and only the head (every key but the files) is kept as a tree. The parser is the one
// that reads a receipt of a million files in a second; the head is kept in the tree type the rest
// of the program reads.
class ReceiptReader {
public:
    using Json = nlohmann::json;
    using Size = rapidjson::SizeType;

    // Each file is handed to `sink` when there is one, else kept in Files(). `files_begin` is
    // given the head as read when the files begin.
    using HeadSink = std::function<void(const Json& head)>;
    explicit ReceiptReader(const FileSink& sink, HeadSink files_begin = {})
        : sink_(sink), files_begin_(std::move(files_begin)) {}

    // Once a few thousand files are kept, makes room for as many as a text of `length` holds at
    // the length per file so far, which `read` tells: growing the list step by step moved a
    // million files twice over, each move onto memory not yet touched.
    void ExpectLength(std::size_t length, std::function<std::size_t()> read) {
        length_ = length;
        read_ = std::move(read);
    }

    Json& Head() { return head_; }
    std::vector<ReceiptFile>& Files() { return files_; }
    // "files" was a list of objects, each with every key its outcome needs, of the right kind.
    bool FilesWhole() const { return saw_files_ && !bad_file_; }

    // The parser's events.
    bool Null() { return Scalar(Json()); }
    bool Bool(bool value) { return Scalar(Json(value)); }
    bool Int(int value) { return Scalar(Json(std::int64_t{value})); }
    bool Uint(unsigned value) { return Scalar(Json(std::uint64_t{value})); }
    bool Int64(std::int64_t value) { return Scalar(Json(value)); }
    bool Uint64(std::uint64_t value) { return Scalar(Json(value)); }
    bool Double(double value) { return Scalar(Json(value)); }
    bool RawNumber(const char*, Size, bool) { return false; }  // numbers are never asked as text
    bool String(const char* text, Size length, bool);
    bool Key(const char* text, Size length, bool) {
        key_.assign(text, length);
        return true;
    }
    bool StartObject() { return Open(true); }
    bool EndObject(Size) { return Close(); }
    bool StartArray() { return Open(false); }
    bool EndArray(Size) { return Close(); }

private:
    enum class Where { Head, FileList, FileObject };
    bool Scalar(Json value);
    bool Open(bool object);
    bool Close();
    // The head's tree, built as the parser goes.
    void PutInHead(Json value, bool container);
    // A value of the file under way: false when its key is known and its kind is not.
    bool PutInFile(const Json& value);
    void EndFile();

    FileSink sink_;
    HeadSink files_begin_;
    Json head_;
    std::vector<Json*> open_;  // the head's containers not yet closed, innermost last
    std::string key_;          // the key the next value goes under
    std::vector<ReceiptFile> files_;
    std::size_t length_ = 0;
    std::function<std::size_t()> read_;
    Where where_ = Where::Head;
    int skipped_ = 0;  // containers open inside a file's value that is skipped
    bool saw_files_ = false;
    bool bad_file_ = false;
    ReceiptFile file_;         // the file under way
    std::string names_[3][2];  // source, target, reason: as text and as hex bytes
    unsigned seen_ = 0;        // which of a file's keys it held
};

// Reads the text through the reader; true when it is one whole JSON value, strictly UTF-8.
template <typename Stream>
bool ParseWith(Stream& stream, ReceiptReader& reader) {
    constexpr unsigned kStrict = rapidjson::kParseValidateEncodingFlag |
                                 // no depth of nesting can run the stack out
                                 rapidjson::kParseIterativeFlag;
    rapidjson::Reader parser;
    return !parser.Parse<kStrict>(stream, reader).IsError();
}

}  // namespace rv
