// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/registry.h"
#include "platform/wide_text_win.h"

namespace rv::platform {
namespace {

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

HKEY ToKey(std::int32_t root) {
    // Predefined roots are negative 32-bit numbers that Windows sign-extends to a handle.
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(root));
}

HKEY ToKey(RegKeyHandle handle) {
    return reinterpret_cast<HKEY>(handle);
}

// The Windows registry through its wide calls. Texts are handed out as UTF-8 and every size is
// the byte count of what is handed out, so a text stored with its NUL reports its UTF-8 bytes
// and one NUL, as the value reader expects of the registry.
class WindowsRegistry final : public RegistryBackend {
public:
    std::int32_t OpenKey(std::int32_t root, const std::string& sub_key, std::uint32_t access,
                         RegKeyHandle& handle) override {
        const std::optional<std::wstring> wide_key = WideFromUtf8(sub_key);
        if (!wide_key) {
            return ERROR_NO_UNICODE_TRANSLATION;
        }
        // The game's installer is a 32-bit program and wrote its key into the 32-bit view; a
        // 64-bit build must look there too, unless the caller names a view itself.
        REGSAM rights = access;
        if ((rights & (KEY_WOW64_32KEY | KEY_WOW64_64KEY)) == 0) {
            rights |= KEY_WOW64_32KEY;
        }
        HKEY key = nullptr;
        const LONG result = RegOpenKeyExW(ToKey(root), wide_key->c_str(), 0, rights, &key);
        if (result == ERROR_SUCCESS) {
            handle = reinterpret_cast<RegKeyHandle>(key);
        }
        return static_cast<std::int32_t>(result);
    }

    std::int32_t QueryValue(RegKeyHandle handle, const std::string& name, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) override {
        const std::optional<std::wstring> wide_name = WideFromUtf8(name);
        if (!wide_name) {
            return ERROR_NO_UNICODE_TRANSLATION;
        }
        DWORD stored_type = REG_NONE;
        std::vector<std::uint8_t> stored;
        const LONG result = ReadWhole(ToKey(handle), *wide_name, stored_type, stored);
        if (result != ERROR_SUCCESS) {
            return static_cast<std::int32_t>(result);
        }
        if (IsText(stored_type)) {
            stored = Utf8Bytes(stored);
        }

        return HandOutValue(stored_type, stored, type, data, size);
    }

    std::int32_t CloseKey(RegKeyHandle handle) override {
        return static_cast<std::int32_t>(RegCloseKey(ToKey(handle)));
    }

private:
    // The value's data as stored; read again while it grows between the size and the data.
    static LONG ReadWhole(HKEY key, const std::wstring& name, DWORD& type,
                          std::vector<std::uint8_t>& data) {
        for (int attempt = 0; attempt < 8; ++attempt) {
            DWORD size = 0;
            LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
            if (result != ERROR_SUCCESS) {
                return result;
            }
            data.assign(size, 0);
            result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
            if (result == ERROR_MORE_DATA) {
                continue;
            }
            data.resize(size);
            return result;
        }
        return ERROR_MORE_DATA;
    }

    // UTF-16 text data as UTF-8, NUL characters included: a text stored with its NUL keeps it,
    // one stored without gets none. An odd last byte is not a character and is dropped.
    static std::vector<std::uint8_t> Utf8Bytes(const std::vector<std::uint8_t>& utf16) {
        std::wstring wide(utf16.size() / sizeof(wchar_t), L'\0');
        if (!wide.empty()) {
            std::memcpy(wide.data(), utf16.data(), wide.size() * sizeof(wchar_t));
        }
        const std::string narrow = Utf8FromWide(wide);
        return {narrow.begin(), narrow.end()};
    }
};

}  // namespace

std::unique_ptr<RegistryBackend> OpenSystemRegistry() {
    return std::make_unique<WindowsRegistry>();
}

}  // namespace rv::platform
