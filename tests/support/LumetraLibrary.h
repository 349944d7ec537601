#pragma once

#include "Lumetra.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace velmora::test {

// A symbol of this build's libLumetra, loaded by name as the window does and never unloaded.
inline void* LumetraSymbol(const char* name)
{
    static void* const library = ::dlopen(LUMETRA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    void* symbol = library ? ::dlsym(library, name) : nullptr;
    if (!symbol) throw std::runtime_error(std::string("not exported by libLumetra: ") + name);
    return symbol;
}

// A request as the window fills one.
inline MediaLibrary::Header::MEDIACONVERSIONINFO LumetraRequest(const std::filesystem::path& source,
                                                                const std::filesystem::path& output, int format = 0)
{
    MediaLibrary::Header::MEDIACONVERSIONINFO request;
    std::strncpy(request.szSourceFile, source.c_str(), sizeof request.szSourceFile - 1);
    std::strncpy(request.szOutputFile, output.c_str(), sizeof request.szOutputFile - 1);
    request.nOutputFormat = format;
    return request;
}

}  // namespace velmora::test

// The export of that name, bound with dlsym to the type of its declaration.
#define LUMETRA(name) reinterpret_cast<decltype(&name)>(velmora::test::LumetraSymbol(#name))
