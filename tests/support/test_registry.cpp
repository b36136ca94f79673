// SPDX-License-Identifier: MIT
#include "support/test_registry.h"

#include "edition/edition_table.h"
#include "text/text.h"

namespace rv::test {

void TestRegistry::Set(const std::string& key, const std::string& name, std::uint32_t type,
                       const std::string& data, View view) {
    std::string stored = data;
    if (type == 1 || type == 2 || type == 7) {
        stored.clear();
        const auto add = [&stored](char32_t unit) {
            stored += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        };
        for (std::size_t at = 0; at < data.size();) {
            const text::DecodedChar c = text::DecodeUtf8(data, at);
            at += c.length;
            c.code_point < 0x10000 ? add(c.code_point)
                                   : (add(0xD800 + ((c.code_point - 0x10000) >> 10)),
                                      add(0xDC00 + (c.code_point & 0x3FF)));
        }
    }
    keys_[{view, key}][name] = {type, stored};
    Store(view, key);
}

void TestRegistry::Register(const std::map<std::string, std::string>& editions) {
    for (const EditionTexts* edition : {&kRV2003Texts, &kRV2004Texts}) {
        const std::string key(edition->registry_key);
        Remove(key);
        const auto folder = editions.find(key.substr(key.rfind('\\') + 1));
        if (folder != editions.end()) {
            Set(key, std::string(edition->registry_value), 1, Shown(folder->second) + '\0');
        }
    }
}

}  // namespace rv::test
