// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The name of every control of the main window, as the window's designer named them; code
// addresses a control only through these. The layout table places each one.
namespace rv::names {

inline constexpr std::string_view RV2003_2004_Add_On_Installer = "RV2003_2004_Add_On_Installer";

// The three bands and the counter frames (an array, indexed by counter group).
inline constexpr std::string_view Frame1 = "Frame1";
inline constexpr std::string_view Frame2 = "Frame2";
inline constexpr std::string_view Frame3 = "Frame3";
inline constexpr std::string_view Frame4 = "Frame4";

// The buttons.
inline constexpr std::string_view cmd_Open1 = "cmd_Open1";
inline constexpr std::string_view cmd_Open2 = "cmd_Open2";
inline constexpr std::string_view cmd_read = "cmd_read";
inline constexpr std::string_view cmd_write = "cmd_write";
inline constexpr std::string_view cmd_gameChange = "cmd_gameChange";
inline constexpr std::string_view cmd_home1 = "cmd_home1";
inline constexpr std::string_view cmd_home2 = "cmd_home2";
inline constexpr std::string_view cmd_home3 = "cmd_home3";
inline constexpr std::string_view Command1 = "Command1";

// The single labels.
inline constexpr std::string_view lbl_folder = "lbl_folder";
inline constexpr std::string_view lbl_Mods = "lbl_Mods";
inline constexpr std::string_view lbl_status = "lbl_status";

// The category labels of the counter frames' rows (arrays, by frame; Label7 stands alone).
inline constexpr std::string_view Label1 = "Label1";
inline constexpr std::string_view Label2 = "Label2";
inline constexpr std::string_view Label3 = "Label3";
inline constexpr std::string_view Label4 = "Label4";
inline constexpr std::string_view Label5 = "Label5";
inline constexpr std::string_view Label6 = "Label6";
inline constexpr std::string_view Label7 = "Label7";
inline constexpr std::string_view Label8 = "Label8";

// The counter label arrays, indexed by counter group.
inline constexpr std::string_view lbl_AniCounter = "lbl_AniCounter";
inline constexpr std::string_view lbl_MapCounter = "lbl_MapCounter";
inline constexpr std::string_view lbl_MusicCounter = "lbl_MusicCounter";
inline constexpr std::string_view lbl_SoundCounter = "lbl_SoundCounter";
inline constexpr std::string_view lbl_StaticCounter = "lbl_StaticCounter";
inline constexpr std::string_view lbl_SystemCounter = "lbl_SystemCounter";
inline constexpr std::string_view lbl_TexturCounter = "lbl_TexturCounter";

}  // namespace rv::names
