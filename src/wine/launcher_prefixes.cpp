// SPDX-License-Identifier: MIT
#include <strings.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/regular_file_linux.h"
#include "platform/wine_prefix_linux.h"
#include "wine/launcher_prefixes.h"
#include "wine/library_folders_vdf.h"

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

// The entry of the folder of the given name, else the first that differs from it only in case.
std::string ChildIgnoringCase(const std::string& folder, const std::string& name) {
    std::error_code error;
    if (fs::exists(folder + "/" + name, error)) {
        return folder + "/" + name;
    }
    for (const std::string& entry : EntriesOf(folder)) {
        if (strcasecmp(fs::path(entry).filename().c_str(), name.c_str()) == 0) {
            return entry;
        }
    }
    return folder + "/" + name;
}

class Search {
public:
    explicit Search(std::string home) : home_(std::move(home)) {
        data_home_ = Env("XDG_DATA_HOME").empty() ? home_ + "/.local/share" : Env("XDG_DATA_HOME");
    }

    std::vector<std::string> Run() {
        Add(Env("WINEPREFIX"));
        if (home_.empty()) {
            return std::move(found_);
        }
        Add(home_ + "/.wine");
        for (const char* folder : {"/.config/lutris", "/.local/share/lutris",
                                   "/.var/app/net.lutris.Lutris/config/lutris",
                                   "/.var/app/net.lutris.Lutris/data/lutris"}) {
            AddGameSettingsPrefixes(home_ + folder + "/games");
        }
        AddEach(home_ + "/Games");
        AddBottles(data_home_ + "/bottles");
        AddBottles(home_ + "/.var/app/com.usebottles.bottles/data/bottles");
        for (const char* root :
             {"/.steam/steam", "/.local/share/Steam", "/.steam/debian-installation",
              "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
              "/snap/steam/common/.local/share/Steam"}) {
            AddCompatDataPrefixes(home_ + root);
        }
        AddGamesConfigPrefixes(home_ + "/.config/heroic");
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

    // Each game's settings: game: prefix: the prefix's folder.
    void AddGameSettingsPrefixes(const std::string& folder) {
        for (const std::string& file : EntriesOf(folder)) {
            if (file.ends_with(".yml")) {
                Add(YamlText(file, "game", "prefix"));
            }
        }
    }

    // Each bottle is a prefix. One kept elsewhere leaves a placeholder.yml whose Path: names it;
    // bottles may also live in the custom_bottles_path of data.yml.
    void AddBottles(const std::string& root) {
        for (const std::string& bottle : EntriesOf(root + "/bottles")) {
            const std::string moved = YamlText(bottle + "/placeholder.yml", nullptr, "Path");
            Add(moved.empty() ? bottle : moved);
        }
        const std::string custom = YamlText(root + "/data.yml", nullptr, "custom_bottles_path");
        if (!custom.empty()) {
            AddEach(custom);
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
    std::vector<std::string> found_;
    std::set<std::string> seen_;
};

}  // namespace

std::vector<std::string> WinePrefixes() {
    return Search(platform::HomeFolder().value_or("")).Run();
}

}  // namespace rv::wine
