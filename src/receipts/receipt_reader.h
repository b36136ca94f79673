// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "receipts/receipt.h"

namespace rv {

// Takes a receipt's text event by event as the JSON parser meets it, so that a receipt of a
// million files is never held as a tree: each file's object becomes a ReceiptFile as soon as it
// is whole, and only the head (every key but the files) is kept as a tree.
class ReceiptReader {
public:
    using Json = nlohmann::json;

    // Each file is handed to `sink` when there is one, else kept in Files().
    explicit ReceiptReader(const FileSink& sink) : sink_(sink) {}

    Json& Head() { return head_; }
    std::vector<ReceiptFile>& Files() { return files_; }
    // "files" was a list of objects, each with every key its outcome needs, of the right kind.
    bool FilesWhole() const { return saw_files_ && !bad_file_; }

    // The parser's events.
    bool null() { return Scalar(Json()); }
    bool boolean(bool value) { return Scalar(Json(value)); }
    bool number_integer(std::int64_t value) { return Scalar(Json(value)); }
    bool number_unsigned(std::uint64_t value) { return Scalar(Json(value)); }
    bool number_float(double value, const std::string&) { return Scalar(Json(value)); }
    bool string(std::string& value);
    bool binary(Json::binary_t&) { return Scalar(Json()); }
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool key(std::string& key);
    bool end_object() { return Close(); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool end_array() { return Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) {
        return false;
    }

private:
    enum class Where { Head, FileList, FileObject };
    bool Scalar(Json value);
    bool Open(Json container);
    bool Close();
    // The head's tree, built as the parser goes.
    void PutInHead(Json value, bool container);
    // A value of the file under way: false when its key is known and its kind is not.
    bool PutInFile(const Json& value);
    void EndFile();

    FileSink sink_;
    Json head_;
    std::vector<Json*> open_;  // the head's containers not yet closed, innermost last
    std::string key_;          // the key the next value goes under
    std::vector<ReceiptFile> files_;
    Where where_ = Where::Head;
    int skipped_ = 0;  // containers open inside a file's value that is skipped
    bool saw_files_ = false;
    bool bad_file_ = false;
    ReceiptFile file_;         // the file under way
    std::string names_[3][2];  // source, target, reason: as text and as hex bytes
    unsigned seen_ = 0;        // which of a file's keys it held
};

}  // namespace rv
