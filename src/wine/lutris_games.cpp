// SPDX-License-Identifier: MIT
#include "wine/lutris_games.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <memory>

namespace rv::wine {

namespace {

struct CloseDatabase {
    void operator()(sqlite3* database) const { sqlite3_close(database); }
};
struct FinishStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

std::string Column(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

std::map<std::string, std::string> LutrisGameFolders(const std::string& database) {
    std::map<std::string, std::string> folders;
    // Only a regular file: opening a named pipe would wait for a writer.
    struct stat info {};
    if (::stat(database.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return folders;
    }
    sqlite3* opened = nullptr;
    const int open_code = sqlite3_open_v2(database.c_str(), &opened, SQLITE_OPEN_READONLY, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> owned(opened);
    if (open_code != SQLITE_OK) {
        return folders;
    }
    // The launcher may be writing: wait a little for its lock rather than read nothing.
    sqlite3_busy_timeout(opened, 200);
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(opened, "SELECT configpath, directory FROM games", -1, &prepared,
                           nullptr) != SQLITE_OK) {
        return folders;
    }
    const std::unique_ptr<sqlite3_stmt, FinishStatement> statement(prepared);
    while (sqlite3_step(prepared) == SQLITE_ROW) {
        std::string settings = Column(prepared, 0), folder = Column(prepared, 1);
        if (!settings.empty() && !folder.empty()) {
            folders.emplace(std::move(settings), std::move(folder));
        }
    }
    return folders;
}

}  // namespace rv::wine
