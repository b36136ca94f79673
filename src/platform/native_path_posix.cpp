#include "platform/native_path.h"

namespace rv::platform {

std::string ResolveNativePath(const std::string& path) {
    return path;
}

}  // namespace rv::platform
