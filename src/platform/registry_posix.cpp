#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <optional>

#include "platform/owned_posix.h"
#include "platform/registry.h"
#include "platform/wine_hive.h"
#include "platform/wine_prefix_linux.h"

// On Linux the game runs inside a Wine prefix, so its registry is the prefix's system.reg, the
// hive of HKEY_LOCAL_MACHINE. The hive is read afresh at every key opened, as the live registry
// would show a change made meanwhile.
namespace rv::platform {

namespace {

// Far above the few megabytes of a real prefix; a larger file is not a hive we can use.
constexpr off_t kLargestHive = off_t{256} * 1024 * 1024;

struct HiveLoad {
    std::int32_t code = kRegSuccess;
    std::optional<WineHive> hive;
};

HiveLoad LoadSystemHive() {
    const std::optional<std::string> prefix = WinePrefixFolder();
    if (!prefix) {
        return {kRegNotFound, std::nullopt};
    }
    const std::string path = *prefix + "/system.reg";
    const Descriptor hive_file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const int fd = hive_file.get();
    if (!hive_file.valid()) {
        return {(errno == ENOENT || errno == ENOTDIR) ? kRegNotFound : kRegAccessDenied,
                std::nullopt};
    }
    std::string text;
    bool readable = true;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    if (size < 0 || size > kLargestHive || ::lseek(fd, 0, SEEK_SET) != 0) {
        readable = false;
    } else {
        text.reserve(static_cast<std::size_t>(size));
        char buffer[1 << 16];
        while (true) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got == 0) {
                break;
            }
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                readable = false;
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
            if (text.size() > static_cast<std::size_t>(kLargestHive)) {
                readable = false;
                break;
            }
        }
    }
    if (!readable) {
        return {kRegAccessDenied, std::nullopt};
    }
    std::optional<WineHive> hive = WineHive::Parse(text);
    if (!hive) {
        return {kRegAccessDenied, std::nullopt};
    }
    return {kRegSuccess, std::move(hive)};
}

// The game's installer is a 32-bit program: in a 64-bit prefix its HKLM\Software\X lives under
// Software\Wow6432Node\X, and the 32-bit lookup sees only that place.
std::string ThirtyTwoBitView(const WineHive& hive, const std::string& sub_key) {
    std::string path = WineHive::NormalizeKeyPath(sub_key);
    if (hive.Arch() != HiveArch::Win64) {
        return path;
    }
    constexpr std::string_view kSoftware = "software";
    if (path.compare(0, kSoftware.size(), kSoftware) != 0 ||
        (path.size() > kSoftware.size() && path[kSoftware.size()] != '\\')) {
        return path;
    }
    std::string rest = path.substr(kSoftware.size());
    if (rest == "\\wow6432node" || rest.rfind("\\wow6432node\\", 0) == 0) {
        return path;
    }
    return std::string(kSoftware) + "\\wow6432node" + rest;
}

class WinePrefixRegistry final : public RegistryBackend {
public:
    std::int32_t OpenKey(std::int32_t root, const std::string& sub_key, std::uint32_t /*access*/,
                         RegKeyHandle& handle) override {
        if (root != kHKeyLocalMachine) {
            return kRegNotFound;
        }
        HiveLoad load = LoadSystemHive();
        if (load.code != kRegSuccess) {
            return load.code;
        }
        const std::string path = ThirtyTwoBitView(*load.hive, sub_key);
        if (!load.hive->KeyExists(path)) {
            return kRegNotFound;
        }
        const HiveKey* key = load.hive->FindKey(path);
        handle = next_handle_++;
        open_keys_[handle] = key != nullptr ? *key : HiveKey{};
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

private:
    std::map<RegKeyHandle, HiveKey> open_keys_;
    RegKeyHandle next_handle_ = 1;
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenSystemRegistry() {
    return std::make_unique<WinePrefixRegistry>();
}

}  // namespace rv::platform
