#include "platform/RuntimeModule.h"

#include <dlfcn.h>
#include <utility>

namespace orvalin {

std::string moduleFileName(const std::string& baseName)
{
    return baseName + ".so";
}

std::optional<RuntimeModule> RuntimeModule::load(const std::string& path)
{
    // A bare name would make the loader search the system's folders; modules
    // come only from the path given.
    if (path.find('/') == std::string::npos)
        return std::nullopt;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return std::nullopt;
    return RuntimeModule(handle);
}

RuntimeModule::RuntimeModule(RuntimeModule&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr))
{
}

RuntimeModule& RuntimeModule::operator=(RuntimeModule&& other) noexcept
{
    if (this != &other) {
        if (handle_)
            dlclose(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

RuntimeModule::~RuntimeModule()
{
    if (handle_)
        dlclose(handle_);
}

void* RuntimeModule::symbol(const char* name) const
{
    return dlsym(handle_, name);
}

} // namespace orvalin
