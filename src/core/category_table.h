// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/control_names.h"

namespace rv {

// The seven places in the game folder that add-on files go to, in the order every reset and
// every total goes through them.
enum class Category { Animations, Maps, Music, Sounds, StaticMeshes, System, Textures };
inline constexpr std::size_t kCategoryCount = 7;

// The four counter groups. The number is also the index of the Frame4 frame that shows the group
// and of the counter label of each category array (lbl_MapCounter(2) is Maps in group Exist).
enum class CounterKind { Read = 0, Written = 1, Exist = 2, Ready = 3 };
inline constexpr std::size_t kCounterKindCount = 4;

struct CategoryInfo {
    Category category;
    std::string_view sub_folder;     // the game sub-folder's name, as the game spells it
    std::string_view counter_label;  // name of the counter label array on the window
    std::string_view row_caption;    // caption of the category's row on the window
};

// Indexed by Category.
inline constexpr std::array<CategoryInfo, kCategoryCount> kCategories = {{
    {Category::Animations, "Animations", names::lbl_AniCounter, "Animations:"},
    {Category::Maps, "Maps", names::lbl_MapCounter, "Maps:"},
    {Category::Music, "Music", names::lbl_MusicCounter, "Musics:"},
    {Category::Sounds, "Sounds", names::lbl_SoundCounter, "Sounds:"},
    {Category::StaticMeshes, "StaticMeshes", names::lbl_StaticCounter, "StaticMeshes:"},
    {Category::System, "System", names::lbl_SystemCounter, "Systems:"},
    {Category::Textures, "Textures", names::lbl_TexturCounter, "Textures:"},
}};

struct CounterKindInfo {
    CounterKind kind;
    std::string_view frame_caption;  // caption of Frame4 at the kind's index
};

// Indexed by the kind's number (Frame4 index).
inline constexpr std::array<CounterKindInfo, kCounterKindCount> kCounterKinds = {{
    {CounterKind::Read, "File(s) read:"},
    {CounterKind::Written, "File(s) written:"},
    {CounterKind::Exist, "File(s) already exist:"},
    {CounterKind::Ready, "File(s) ready to write:"},
}};

// The order in which a full reset clears the groups.
inline constexpr std::array<CounterKind, kCounterKindCount> kResetOrder = {
    CounterKind::Read, CounterKind::Exist, CounterKind::Written, CounterKind::Ready};

struct CategoryRow {
    std::string_view pattern;
    Category category;
};

inline constexpr std::size_t kRowCount = 13;

// The thirteen file patterns in the order the read pass takes them.
inline constexpr std::array<CategoryRow, kRowCount> kReadOrder = {{
    {"*.ukx", Category::Animations},
    {"*.rv2", Category::Maps},
    {"*.ogg", Category::Music},
    {"*.uax", Category::Sounds},
    {"*.usx", Category::StaticMeshes},
    {"*.u", Category::System},
    {"*.ini", Category::System},
    {"*.int", Category::System},
    {"*.ucl", Category::System},
    {"*.det", Category::System},
    {"*.upl", Category::System},
    {"*.dll", Category::System},
    {"*.utx", Category::Textures},
}};

// The write pass takes "*.dll" before "*.upl"; everything else is the read order.
inline constexpr std::array<CategoryRow, kRowCount> kWriteOrder = {{
    kReadOrder[0],
    kReadOrder[1],
    kReadOrder[2],
    kReadOrder[3],
    kReadOrder[4],
    kReadOrder[5],
    kReadOrder[6],
    kReadOrder[7],
    kReadOrder[8],
    kReadOrder[9],
    kReadOrder[11],
    kReadOrder[10],
    kReadOrder[12],
}};

constexpr const CategoryInfo& Info(Category category) {
    return kCategories[static_cast<std::size_t>(category)];
}

// What a search looks for: the pattern upper-cased and trimmed, and when it starts with "*",
// everything up to and including its first "." dropped ("*.ukx" gives "UKX", "*.u" gives "U").
std::string MatchSuffix(std::string_view pattern);

}  // namespace rv
