#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

// Real folders and files for driving the window: a Wine prefix with a hand-written system.reg,
// a game folder inside it and a sample add-on.
namespace rv::test {

// Writes a file, creating the folders it needs.
void WriteFile(const QString& path, const QByteArray& content = "data");

struct RegisteredEdition {
    std::string key;     // below HKEY_LOCAL_MACHINE, e.g. "SOFTWARE\\...\\RV2004"
    std::string folder;  // the "Folder" value, a Windows path such as C:\Games\RV2004
};

// Makes `prefix` a Wine prefix (system.reg, drive_c, the dosdevices link of drive C) whose
// registry holds the given editions, and points WINEPREFIX at it.
void MakeWinePrefix(const QString& prefix, const std::vector<RegisteredEdition>& editions);

// The registry key of each edition.
std::string EditionKey(const char* edition);

// Creates the game's seven sub-folders below `game`.
void MakeGameFolder(const QString& game);

// The sample add-on below `addon`: nine game files in all seven categories and one text file,
// at several depths; two of the game files are also put into the game folder `game`.
void MakeSampleAddOn(const QString& addon, const QString& game);

inline constexpr int kSampleFiles = 9;
inline constexpr int kSampleInstalled = 2;

}  // namespace rv::test
