#include "LumetraBinding.h"

#include "log/Log.h"
#include "paths/ExecutablePath.h"

#include <dlfcn.h>

namespace velmora::front {

bool LumetraBinding::Bind(const std::filesystem::path& library)
{
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        LogMessage(1, "Cannot load %s: %s", library.c_str(), ::dlerror());
        for (auto& entry : entries_) entry.store(nullptr);
        return false;
    }
    for (std::size_t index = 0; index < kExportNames.size(); ++index) {
        const std::string name(kExportNames[index]);
        void* symbol = ::dlsym(handle, name.c_str());
        entries_[index].store(symbol);
        if (!symbol) LogMessage(1, "%s does not export %s; the operations that need it are refused", library.c_str(), name.c_str());
    }
    return true;
}

void* LumetraBinding::Find(std::string_view name) const
{
    for (std::size_t index = 0; index < kExportNames.size(); ++index)
        if (kExportNames[index] == name) return entries_[index].load();
    return nullptr;
}

std::vector<std::string> LumetraBinding::Unbound() const
{
    std::vector<std::string> names;
    for (std::size_t index = 0; index < kExportNames.size(); ++index)
        if (!entries_[index].load()) names.emplace_back(kExportNames[index]);
    return names;
}

LumetraBinding& Lumetra()
{
    static LumetraBinding binding;
    return binding;
}

std::filesystem::path DefaultLibraryPath()
{
    return velmora::platform::ExecutableFolder() / "libLumetra.so";
}

}  // namespace velmora::front
