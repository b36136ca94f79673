#include "platform/registry.h"

namespace rv::platform {

std::unique_ptr<RegistryBackend> OpenSystemRegistry() {
    return nullptr;
}

}  // namespace rv::platform
