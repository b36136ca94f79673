// SPDX-License-Identifier: MIT
#include "wine/where_looked.h"

#include "platform/registry.h"

namespace rv::wine {

namespace {

constexpr std::size_t kNamed = 15;

// A word the shell passes on as it stands.
std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// One command per text value of the key; the bare key when it holds none.
std::string RegisterCommands(const std::string& prefix, const std::string& sub_key,
                             const HiveKey& key) {
    const std::string head =
        "WINEPREFIX=" + Quoted(prefix) + " wine reg add " + Quoted("HKLM\\" + sub_key);
    std::string commands;
    for (const auto& [name, value] : key.values) {
        if (value.type != platform::kRegSz && value.type != platform::kRegExpandSz) {
            continue;
        }
        std::string text = Utf16LeToUtf8(value.data.data(), value.data.size());
        text = text.substr(0, text.find('\0'));
        commands += head + (name.empty() ? " /ve" : " /v " + Quoted(name)) +
                    (value.type == platform::kRegSz ? " /t REG_SZ" : " /t REG_EXPAND_SZ") + " /d " +
                    Quoted(text) + " /f /reg:32\n";
    }
    return commands.empty() ? head + " /f /reg:32\n" : commands;
}

}  // namespace

std::string WhereLookedText(const std::string& sub_key, const std::vector<PrefixLooked>& looked) {
    const std::string key = "HKEY_LOCAL_MACHINE\\" + sub_key;
    if (looked.empty()) {
        return "No Wine prefix was found to look for " + key +
               " in: none at $WINEPREFIX, ~/.wine or in the launchers' folders.";
    }
    std::string text = "None of these Wine prefixes holds " + key + ":";
    // A machine with many games keeps many prefixes; the tooltip names the first of them.
    for (std::size_t at = 0; at < looked.size() && at < kNamed; ++at) {
        text += "\n" + looked[at].prefix +
                (looked[at].unreadable ? " (its system.reg cannot be read)" : "");
    }
    if (looked.size() > kNamed) {
        text += "\n... and ";
        text += std::to_string(looked.size() - kNamed);
        text += " more";
    }
    for (const PrefixLooked& prefix : looked) {
        if (prefix.key_64bit) {
            text += "\nIn " + prefix.prefix +
                    " the key is only in the 64-bit view of the registry, where the 32-bit game "
                    "does not look. This registers it where the game looks:\n" +
                    RegisterCommands(prefix.prefix, sub_key, *prefix.key_64bit);
        }
    }
    while (text.ends_with('\n')) {
        text.pop_back();
    }
    return text;
}

}  // namespace rv::wine
