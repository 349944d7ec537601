#pragma once

#include "Lumetra.h"

#include <dlfcn.h>
#include <stdexcept>
#include <string>

namespace velmora::test {

// libLumetra loaded by name and its exports bound with dlsym, as the window does.
class LumetraLibrary {
public:
    // The library of this build, loaded once for the whole test program.
    static const LumetraLibrary& Instance()
    {
        static const LumetraLibrary library(LUMETRA_LIBRARY);
        return library;
    }

    explicit LumetraLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL))
    {
        if (!handle_) throw std::runtime_error(::dlerror());
    }
    ~LumetraLibrary() = default;   // never unloaded, as in the program
    LumetraLibrary(const LumetraLibrary&) = delete;
    LumetraLibrary& operator=(const LumetraLibrary&) = delete;

    template <typename Function>
    Function Bind(const char* name) const
    {
        void* symbol = ::dlsym(handle_, name);
        if (!symbol) throw std::runtime_error(std::string("export missing: ") + name);
        return reinterpret_cast<Function>(symbol);
    }

private:
    void* handle_;
};

}  // namespace velmora::test
