// SPDX-License-Identifier: MIT
#include "receipts/receipt_reader.h"

#include <array>
#include <limits>
#include <stdexcept>

#include "receipts/stored_name.h"

namespace rv {
namespace {

// A file's keys, each a bit of what it held; names come as text or, when not UTF-8, as bytes.
enum Key : unsigned {
    kSource,
    kSourceBytes,
    kTarget,
    kTargetBytes,
    kReason,
    kReasonBytes,
    kCategory,
    kOutcome,
    kSize,
    kModified,
    kHash,
    kDeleted,
    kKeys
};
constexpr std::array<std::string_view, kKeys> kKeyNames = {
    "source",   "source_bytes", "target", "target_bytes", "reason", "reason_bytes",
    "category", "outcome",      "size",   "modified_ns",  "xxh3",   "deleted"};

unsigned KeyOf(std::string_view name) {
    unsigned key = 0;
    while (key < kKeys && kKeyNames[key] != name) {
        ++key;
    }
    return key;
}

constexpr unsigned Bit(unsigned key) {
    return 1u << key;
}

// The name as text, else from its bytes; false when it is neither there nor readable.
bool TakeName(const std::string (&forms)[2], unsigned seen, unsigned text_key, std::string& name) {
    if ((seen & Bit(text_key)) != 0) {
        name = forms[0];
        return true;
    }
    if ((seen & Bit(text_key + 1)) == 0) {
        return false;
    }
    try {
        name = NameFromHex(forms[1]);
    } catch (const std::invalid_argument&) {
        return false;
    }
    return true;
}

}  // namespace

bool ReceiptReader::String(const char* text, Size length, bool) {
    const std::string_view value(text, length);
    if (where_ != Where::FileObject || skipped_ > 0) {
        return Scalar(Json(value));
    }
    const unsigned key = KeyOf(key_);
    if (key <= kReasonBytes) {
        names_[key / 2][key % 2].assign(value);
    } else if (key == kCategory) {
        file_.category.assign(value);
    } else if (key == kOutcome) {
        const std::optional<Outcome> outcome = OutcomeNamed(value);
        bad_file_ = bad_file_ || !outcome;
        file_.outcome = outcome.value_or(Outcome::Failed);
    } else if (key == kHash) {
        file_.hash.assign(value);
    } else if (key < kKeys) {
        bad_file_ = true;  // a number or a truth value is due
    }
    seen_ |= key < kKeys ? Bit(key) : 0;
    return true;
}

bool ReceiptReader::Scalar(Json value) {
    if (skipped_ > 0) {
        return true;
    }
    switch (where_) {
        case Where::Head:
            PutInHead(std::move(value), false);
            break;
        case Where::FileList:
            bad_file_ = true;  // only objects belong there
            break;
        case Where::FileObject:
            bad_file_ = bad_file_ || !PutInFile(value);
            break;
    }
    return true;
}

bool ReceiptReader::PutInFile(const Json& value) {
    const unsigned key = KeyOf(key_);
    seen_ |= key < kKeys ? Bit(key) : 0;
    if (key == kSize && value.is_number_unsigned()) {
        file_.size = value.get<std::uint64_t>();
    } else if (key == kModified && value.is_number_integer() &&
               (!value.is_number_unsigned() ||
                value.get<std::uint64_t>() <=
                    std::uint64_t(std::numeric_limits<std::int64_t>::max()))) {
        file_.modified_ns = value.get<std::int64_t>();
    } else if (key == kDeleted && value.is_boolean()) {
        file_.deleted = value.get<bool>();
    } else {
        return key >= kKeys;  // any other key is not ours and is left alone
    }
    return true;
}

bool ReceiptReader::Open(bool object) {
    if (skipped_ > 0 || (where_ == Where::FileObject && KeyOf(key_) < kKeys)) {
        bad_file_ = bad_file_ || skipped_ == 0;  // a file's known key holds no container
        ++skipped_;
    } else if (where_ == Where::FileObject) {
        ++skipped_;  // a key of no meaning here
    } else if (where_ == Where::FileList) {
        if (object) {
            where_ = Where::FileObject;
            seen_ = 0;
        } else {
            bad_file_ = true;
            ++skipped_;
        }
    } else if (open_.size() == 1 && open_[0]->is_object() && key_ == "files" && !object) {
        where_ = Where::FileList;
        saw_files_ = true;
        if (files_begin_) {
            files_begin_(head_);
        }
    } else {
        PutInHead(object ? Json::object() : Json::array(), true);
    }
    return true;
}

bool ReceiptReader::Close() {
    if (skipped_ > 0) {
        --skipped_;
    } else if (where_ == Where::FileObject) {
        EndFile();
        where_ = Where::FileList;
    } else if (where_ == Where::FileList) {
        where_ = Where::Head;
    } else {
        open_.pop_back();
    }
    return true;
}

void ReceiptReader::PutInHead(Json value, bool container) {
    Json* placed = &head_;
    if (open_.empty()) {
        head_ = std::move(value);
    } else if (Json& parent = *open_.back(); parent.is_object()) {
        placed = &(parent[key_] = std::move(value));
    } else {
        parent.push_back(std::move(value));
        placed = &parent.back();
    }
    if (container) {
        open_.push_back(placed);
    }
}

void ReceiptReader::EndFile() {
    constexpr unsigned kWritten = Bit(kSize) | Bit(kModified) | Bit(kHash) | Bit(kDeleted);
    const bool whole =
        TakeName(names_[0], seen_, kSource, file_.source) &&
        TakeName(names_[1], seen_, kTarget, file_.target) && (seen_ & Bit(kCategory)) != 0 &&
        (seen_ & Bit(kOutcome)) != 0 &&
        (file_.outcome != Outcome::Written || (seen_ & kWritten) == kWritten) &&
        (file_.outcome != Outcome::Failed || TakeName(names_[2], seen_, kReason, file_.reason));
    if (file_.outcome != Outcome::Written) {
        // What was written means nothing of a file the pass did not write, whatever keys it holds.
        const ReceiptFile blank;
        file_.size = blank.size;
        file_.modified_ns = blank.modified_ns;
        file_.hash.clear();
        file_.deleted = blank.deleted;
    }
    if (!whole) {
        bad_file_ = true;
    } else if (sink_) {
        sink_(file_);
    } else {
        if (constexpr std::size_t kSizedAfter = 4096; files_.size() == kSizedAfter && read_) {
            const double per_file = double(read_()) / double(kSizedAfter);
            files_.reserve(static_cast<std::size_t>(double(length_) / per_file * 1.05) + 1);
        }
        files_.push_back(std::move(file_));
    }
    file_ = ReceiptFile{};
}

}  // namespace rv
