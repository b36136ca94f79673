#include "platform/file_system.h"

namespace rv::platform {

std::optional<FolderListing> ListFolder(const std::string&) {
    return std::nullopt;
}

bool PathExists(const std::string&) {
    return false;
}

CopyResult CopyNewFile(const std::string&, const std::string&) {
    return {CopyOutcome::Failed, "not built yet"};
}

}  // namespace rv::platform
