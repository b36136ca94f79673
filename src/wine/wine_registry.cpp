// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/native_path.h"
#include "platform/registry.h"
#include "platform/regular_file_linux.h"
#include "platform/wine_prefix_linux.h"
#include "wine/launcher_prefixes.h"
#include "wine/where_looked.h"
#include "wine/wine_hive.h"

// On Linux the game runs inside a Wine prefix, and its registry is the prefix's system.reg, the
// hive of HKEY_LOCAL_MACHINE. A player may keep many prefixes: a key is looked for in each in
// turn and taken from the first whose key names a folder that exists in that prefix, else from
// the first that holds it at all (an uninstall may leave a stale key behind); that prefix then
// also gives drive letters their meaning. The hives are read afresh at every key opened, as the
// live registry would show a change made meanwhile, and each only as far as the key needs, so many
// large prefixes cost little at start-up.
namespace rv::wine {

namespace {

using namespace platform;

// Far above the few megabytes of a real prefix; a larger file is not a hive we can use.
constexpr std::size_t kLargestHive = std::size_t{256} << 20;

struct KeyLoad {
    std::int32_t code = kRegSuccess;
    HiveKey key;
    bool has_64bit_view = false;  // the key may be in the view of 64-bit programs instead
};

struct Holder {
    std::string prefix;
    HiveKey key;
};

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// True when a text value of the key is a path to a folder that exists in the prefix.
bool NamesAFolder(const Holder& holder) {
    UseWinePrefix(holder.prefix);
    for (const auto& [name, value] : holder.key.values) {
        if (value.type == kRegSz || value.type == kRegExpandSz) {
            std::string text = Utf16LeToUtf8(value.data.data(), value.data.size());
            text = text.substr(0, text.find('\0'));
            if (!text.empty() && IsFolder(ResolveNativePath(text))) {
                return true;
            }
        }
    }
    return false;
}

// The key where 64-bit programs see it, read from the whole hive; none where it is not there.
std::optional<HiveKey> SixtyFourBitKey(const std::string& prefix, const std::string& sub_key) {
    const std::optional<WineHive> hive =
        WineHive::Parse(ReadRegularFile(prefix + "/system.reg", kLargestHive).text);
    const HiveKey* key = hive ? hive->FindKey(sub_key) : nullptr;
    if (key == nullptr && (!hive || !hive->KeyExists(sub_key))) {
        return std::nullopt;
    }
    return key != nullptr ? *key : HiveKey{};
}
// The key as the game's 32-bit installer sees it in the prefix: in a 64-bit prefix (one marked
// so, or unmarked with a syswow64 folder) its HKLM\Software\X lives under Software\Wow6432Node\X.
KeyLoad LoadKey(const std::string& prefix, const std::string& sub_key) {
    const FileText file = ReadRegularFile(prefix + "/system.reg", kLargestHive);
    if (file.error != 0) {
        return {(file.error == ENOENT || file.error == ENOTDIR) ? kRegNotFound : kRegAccessDenied,
                {}};
    }
    const HiveArch unmarked =
        IsFolder(prefix + "/drive_c/windows/syswow64") ? HiveArch::Win64 : HiveArch::Win32;
    const std::optional<WineHive> hive = WineHive::ParseForKey(file.text, sub_key, unmarked);
    if (!hive) {
        return {kRegAccessDenied, {}};
    }
    const std::string path = WineHive::ThirtyTwoBitView(sub_key, hive->Arch());
    if (!hive->KeyExists(path)) {
        return {kRegNotFound, {}, path != WineHive::NormalizeKeyPath(sub_key)};
    }
    const HiveKey* key = hive->FindKey(path);
    return {kRegSuccess, key != nullptr ? *key : HiveKey{}, false};
}

class WinePrefixRegistry final : public RegistryBackend {
public:
    WinePrefixRegistry() = default;
    WinePrefixRegistry(const WinePrefixRegistry&) = delete;
    WinePrefixRegistry& operator=(const WinePrefixRegistry&) = delete;
    ~WinePrefixRegistry() override {
        if (!found_in_.empty()) {
            UseWinePrefix("");
        }
    }

    // Without the key in any prefix: not found, unless a prefix could not be read.
    std::int32_t OpenKey(std::int32_t root, const std::string& sub_key, std::uint32_t /*access*/,
                         RegKeyHandle& handle) override {
        found_in_.clear();
        also_in_.clear();
        where_looked_.clear();
        if (root != kHKeyLocalMachine) {
            return kRegNotFound;
        }
        std::vector<Holder> holders;
        std::vector<PrefixLooked> looked;
        std::int32_t code = kRegNotFound;
        for (const std::string& prefix : WinePrefixes()) {
            KeyLoad load = LoadKey(prefix, sub_key);
            if (load.code == kRegSuccess) {
                holders.push_back({prefix, std::move(load.key)});
                continue;
            }
            code = code == kRegNotFound ? load.code : code;
            looked.push_back(
                {prefix, load.code != kRegNotFound,
                 load.has_64bit_view ? SixtyFourBitKey(prefix, sub_key) : std::nullopt});
        }
        if (holders.empty()) {
            UseWinePrefix("");
            where_looked_ = WhereLookedText(sub_key, looked);
            return code;
        }
        Take(holders);
        handle = next_handle_++;
        open_keys_[handle] = std::move(holders.front().key);
        return kRegSuccess;
    }

    std::int32_t QueryValue(RegKeyHandle handle, const std::string& name, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) override {
        const auto key = open_keys_.find(handle);
        if (key == open_keys_.end()) {
            return kRegInvalidHandle;
        }
        const HiveValue* value = WineHive::FindValue(key->second, name);
        if (value == nullptr) {
            return kRegNotFound;
        }
        const bool is_text =
            value->type == kRegSz || value->type == kRegExpandSz || value->type == kRegMultiSz;
        if (!is_text) {
            return HandOutValue(value->type, value->data, type, data, size);
        }
        const std::string text = Utf16LeToUtf8(value->data.data(), value->data.size());
        return HandOutValue(value->type,
                            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, type,
                            data, size);
    }

    std::int32_t CloseKey(RegKeyHandle handle) override {
        return open_keys_.erase(handle) == 1 ? kRegSuccess : kRegInvalidHandle;
    }

    std::string FoundIn() const override {
        if (found_in_.empty()) {
            return "";
        }
        std::string text = "Wine prefix: " + found_in_;
        if (!also_in_.empty()) {
            text += "\nAlso registered in:";
            for (const std::string& prefix : also_in_) {
                text += "\n" + prefix;
            }
        }
        return text;
    }

    std::string WhereLooked() const override { return where_looked_; }

private:
    // Takes the first holder whose key names an existing folder, else the first, moving it to
    // the front; the others are named beside it.
    void Take(std::vector<Holder>& holders) {
        const auto taken = std::find_if(holders.begin(), holders.end(), NamesAFolder);
        if (taken != holders.end()) {
            std::rotate(holders.begin(), taken, taken + 1);
        }
        found_in_ = holders.front().prefix;
        UseWinePrefix(found_in_);
        for (auto other = holders.begin() + 1; other != holders.end(); ++other) {
            also_in_.push_back(other->prefix);
        }
    }

    std::string found_in_;
    std::vector<std::string> also_in_;
    std::string where_looked_;
    std::map<RegKeyHandle, HiveKey> open_keys_;
    RegKeyHandle next_handle_ = 1;
};

}  // namespace

}  // namespace rv::wine

namespace rv::platform {

// On Linux the machine's registry is that of the Wine prefixes, so the Wine layer provides it.
std::unique_ptr<RegistryBackend> OpenSystemRegistry() {
    return std::make_unique<wine::WinePrefixRegistry>();
}

}  // namespace rv::platform
