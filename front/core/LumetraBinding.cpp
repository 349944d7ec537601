#include "LumetraBinding.h"

#include "log/Log.h"
#include "paths/ExecutablePath.h"

#include <dlfcn.h>

#include <type_traits>

namespace velmora::front {

bool LumetraBinding::Bind(const std::filesystem::path& library)
{
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        LogMessage(1, "Cannot load %s: %s", library.c_str(), ::dlerror());
        for (auto& entry : entries_) entry.store(nullptr);
        return false;
    }
    for (std::size_t index = 0; index < kNames.size(); ++index) {
        const std::string name(kNames[index]);
        void* symbol = ::dlsym(handle, name.c_str());
        entries_[index].store(symbol);
        if (!symbol) LogMessage(1, "%s does not export %s; the operations that need it are refused", library.c_str(), name.c_str());
    }
    return true;
}

::Lumetra::ConvertFn LumetraBinding::Converter(Export which) const
{
    static constexpr std::array kIsConversion{
#define VELMORA_EXPORT_IS_CONVERSION(name, type) std::is_same_v<::Lumetra::type, ::Lumetra::ConvertFn>,
        VELMORA_BOUND_EXPORTS(VELMORA_EXPORT_IS_CONVERSION)
#undef VELMORA_EXPORT_IS_CONVERSION
    };
    if (!kIsConversion[static_cast<std::size_t>(which)]) return nullptr;
    return reinterpret_cast<::Lumetra::ConvertFn>(Entry(which));
}

std::vector<std::string> LumetraBinding::Unbound() const
{
    std::vector<std::string> names;
    for (std::size_t index = 0; index < kNames.size(); ++index)
        if (!entries_[index].load()) names.emplace_back(kNames[index]);
    return names;
}

std::string LastLibraryFailure()
{
    const auto failure = Lumetra().GetLastFailure();
    return failure ? std::string(failure()) : std::string();
}

LumetraBinding& Lumetra()
{
    static LumetraBinding binding;
    return binding;
}

std::filesystem::path DefaultLibraryPath()
{
    const auto beside = velmora::platform::ExecutableFolder() / "libLumetra.so";
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside;
    // Installed, the library is where the program was linked to find it.
    return "libLumetra.so.1";
}

}  // namespace velmora::front
