#include "core/category_table.h"

#include "platform/file_system.h"

namespace rv {

std::string SubFolderText(Category category) {
    std::string text(1, platform::kPathSeparator);
    text += Info(category).sub_folder;
    text += platform::kPathSeparator;
    return text;
}

std::string MatchSuffix(std::string_view pattern) {
    const auto first = pattern.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    pattern = pattern.substr(first, pattern.find_last_not_of(' ') - first + 1);
    std::string suffix(pattern);
    for (char& c : suffix) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (suffix.front() == '*') {
        const auto dot = suffix.find('.');
        if (dot != std::string::npos) {
            suffix.erase(0, dot + 1);
        }
    }
    return suffix;
}

}  // namespace rv
