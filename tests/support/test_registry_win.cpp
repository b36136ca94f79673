// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/wide_text_win.h"
#include "support/test_registry.h"

namespace rv::test {
namespace {

std::wstring Wide(const std::string& text) {
    return platform::WideFromUtf8(text).value_or(L"");
}

REGSAM ViewFlag(TestRegistry::View view) {
    return view == TestRegistry::View::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

}  // namespace

TestRegistry::TestRegistry() : folder_(std::make_unique<TempFolder>()) {}

TestRegistry::~TestRegistry() {
    while (!keys_.empty()) {
        Remove(std::string(keys_.begin()->first.second));  // a copy: Remove erases the entry
    }
}

std::string TestRegistry::Root() const {
    return folder_->Path();
}

std::string TestRegistry::Shown(const std::string& folder) const {
    return folder;
}

std::string TestRegistry::FoundIn() const {
    return {};
}

void TestRegistry::Remove(const std::string& key) {
    for (const View view : {View::Bits32, View::Bits64}) {
        keys_.erase({view, key});
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), ViewFlag(view), 0);
    }
}

void TestRegistry::Store(View view, const std::string& key) {
    HKEY handle = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(key).c_str(), 0, nullptr, 0,
                    KEY_SET_VALUE | ViewFlag(view), nullptr, &handle, nullptr);
    for (const auto& [name, value] : keys_[{view, key}]) {
        RegSetValueExW(handle, Wide(name).c_str(), 0, value.first,
                       reinterpret_cast<const BYTE*>(value.second.data()),
                       static_cast<DWORD>(value.second.size()));
    }
    RegCloseKey(handle);
}

}  // namespace rv::test
