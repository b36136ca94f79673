// SPDX-License-Identifier: MIT
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regular_file_linux.h"
#include "platform/wine_prefix_linux.h"
#include "wine/launcher_prefixes.h"
#include "wine/library_folders_vdf.h"
#include "wine/lutris_games.h"

// Where the launchers players run the game with keep their Wine prefixes, each searched as its
// launcher lays its folders and settings out.
namespace rv::wine {

namespace {

using namespace platform;

namespace fs = std::filesystem;

// Far above any launcher's settings file.
constexpr std::size_t kLargestSettings = std::size_t{4} << 20;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The entries of a folder by full path, in byte order of their names, so that every run looks
// in the same order; none when the folder cannot be listed.
std::vector<std::string> EntriesOf(const std::string& folder) {
    std::vector<std::string> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(it->path().string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The child of the folder that Wine would open for the name; the name as given when none matches.
std::string ChildIgnoringCase(const std::string& folder, const std::string& name) {
    return folder + "/" + EntryIgnoringCase(folder, name).value_or(name);
}

// An XDG base folder: the variable when it holds an absolute path, else its default below home.
std::string BaseFolder(const char* variable, const std::string& home, const char* fallback) {
    const std::string value = Env(variable);
    return value.starts_with('/') ? value : home + fallback;
}

class Search {
public:
    explicit Search(std::string home)
        : home_(std::move(home)),
          data_home_(BaseFolder("XDG_DATA_HOME", home_, "/.local/share")),
          config_home_(BaseFolder("XDG_CONFIG_HOME", home_, "/.config")) {}

    std::vector<std::string> Run() {
        Add(Env("WINEPREFIX"));
        if (home_.empty()) {
            return std::move(found_);
        }
        Add(home_ + "/.wine");
        AddLutris(config_home_ + "/lutris", data_home_ + "/lutris");
        AddLutris(home_ + "/.var/app/net.lutris.Lutris/config/lutris",
                  home_ + "/.var/app/net.lutris.Lutris/data/lutris");
        AddEach(home_ + "/Games");
        AddBottles(data_home_ + "/bottles");
        AddBottles(home_ + "/.var/app/com.usebottles.bottles/data/bottles");
        AddCompatDataPrefixes(data_home_ + "/Steam");
        for (const char* root : {"/.steam/steam", "/.steam/debian-installation",
                                 "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                                 "/snap/steam/common/.local/share/Steam"}) {
            AddCompatDataPrefixes(home_ + root);
        }
        AddGamesConfigPrefixes(config_home_ + "/heroic");
        AddGamesConfigPrefixes(home_ + "/.var/app/com.heroicgameslauncher.hgl/config/heroic");
        AddEach(home_ + "/.PlayOnLinux/wineprefix");
        AddEach(data_home_ + "/wineprefixes");
        AddEach(home_ + "/.cxoffice");
        return std::move(found_);
    }

private:
    // A path from a settings file: ~ stands for the home folder; a relative path names nothing.
    void Add(std::string folder) {
        if (!home_.empty() && (folder == "~" || folder.starts_with("~/"))) {
            folder = home_ + folder.substr(1);
        }
        if (!folder.starts_with('/') || !IsWinePrefix(folder)) {
            return;
        }
        std::error_code error;
        const fs::path real = fs::canonical(folder, error);
        if (seen_.insert(error ? folder : real.string()).second) {
            found_.push_back(folder);
        }
    }

    // The nearest prefix that holds the path, the path itself included.
    void AddEnclosing(fs::path path) {
        for (; path.is_absolute() && path != path.root_path(); path = path.parent_path()) {
            if (IsWinePrefix(path.string())) {
                return Add(path.string());
            }
        }
    }

    void AddEach(const std::string& folder) {
        for (const std::string& entry : EntriesOf(folder)) {
            Add(entry);
        }
    }

    // A text value from a YAML file's top-level mapping, or from one mapping below it; empty when
    // the file is unreadable or malformed or has no such text.
    static std::string YamlText(const std::string& file, const char* outer, const char* key) {
        try {
            const YAML::Node root = YAML::Load(ReadRegularFile(file, kLargestSettings).text);
            const YAML::Node map = outer != nullptr && root.IsMap() ? root[outer] : root;
            if (map.IsMap() && map[key].IsScalar()) {
                return map[key].as<std::string>();
            }
        } catch (const YAML::Exception&) {
            // Malformed: passed over like a file that names nothing.
        }
        return {};
    }

    // Each game's settings file names its prefix in game: prefix:. A game set up without one runs
    // in the prefix that holds its program (game: exe:, relative to the folder the game database
    // records for it) or its folder.
    void AddLutris(const std::string& config, const std::string& data) {
        const std::map<std::string, std::string> folders = LutrisGameFolders(data + "/pga.db");
        for (const std::string& games : {config + "/games", data + "/games"}) {
            for (const std::string& file : EntriesOf(games)) {
                if (!file.ends_with(".yml")) {
                    continue;
                }
                const std::string prefix = YamlText(file, "game", "prefix");
                const auto folder = folders.find(fs::path(file).stem().string());
                const fs::path directory = folder != folders.end() ? folder->second : "";
                const fs::path exe = YamlText(file, "game", "exe");
                if (!prefix.empty()) {
                    Add(prefix);
                } else if (exe.is_absolute() || !directory.empty()) {
                    AddEnclosing(exe.is_absolute() ? exe
                                 : exe.empty()     ? directory
                                                   : directory / exe);
                }
            }
        }
    }

    // Each bottle is a prefix. One kept elsewhere leaves a placeholder.yml whose Path: names it;
    // bottles may also live in the custom_bottles_path of data.yml.
    void AddBottles(const std::string& root) {
        AddBottlesIn(root + "/bottles");
        const std::string custom = YamlText(root + "/data.yml", nullptr, "custom_bottles_path");
        if (!custom.empty()) {
            AddBottlesIn(custom);
        }
    }

    void AddBottlesIn(const std::string& folder) {
        for (const std::string& bottle : EntriesOf(folder)) {
            const std::string moved = YamlText(bottle + "/placeholder.yml", nullptr, "Path");
            Add(moved.empty() ? bottle : moved);
        }
    }

    // Every library the root lists, itself included; in each, a prefix per game under
    // steamapps/compatdata/<game>/pfx.
    void AddCompatDataPrefixes(const std::string& root) {
        std::vector<std::string> libraries = {root};
        for (const std::string& list :
             {root + "/config/libraryfolders.vdf",
              ChildIgnoringCase(root, "steamapps") + "/libraryfolders.vdf"}) {
            const FileText vdf = ReadRegularFile(list, kLargestSettings);
            for (std::string& library : LibraryFolders(vdf.text)) {
                libraries.push_back(std::move(library));
            }
        }
        for (const std::string& library : libraries) {
            for (const std::string& game :
                 EntriesOf(ChildIgnoringCase(library, "steamapps") + "/compatdata")) {
                Add(game + "/pfx");
            }
        }
    }

    // Each game's settings file maps its name to its settings; winePrefix names the prefix,
    // below which a build of wine version type "proton" keeps the prefix itself in pfx.
    void AddGamesConfigPrefixes(const std::string& root) {
        for (const std::string& file : EntriesOf(root + "/GamesConfig")) {
            if (!file.ends_with(".json")) {
                continue;
            }
            const auto games =
                nlohmann::json::parse(ReadRegularFile(file, kLargestSettings).text, nullptr, false);
            if (!games.is_object()) {
                continue;
            }
            for (const auto& [name, game] : games.items()) {
                const auto prefix = game.is_object() ? game.find("winePrefix") : game.end();
                if (prefix == game.end() || !prefix->is_string()) {
                    continue;
                }
                const auto wine = game.find("wineVersion");
                const bool own_folder = wine != game.end() && wine->is_object() &&
                                        wine->value("type", nlohmann::json()) == "proton";
                Add(prefix->get<std::string>() + (own_folder ? "/pfx" : ""));
            }
        }
    }

    std::string home_;
    std::string data_home_;
    std::string config_home_;
    std::vector<std::string> found_;
    std::set<std::string> seen_;
};

}  // namespace

std::vector<std::string> WinePrefixes() {
    return Search(platform::HomeFolder().value_or("")).Run();
}

}  // namespace rv::wine
