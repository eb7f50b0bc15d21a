#pragma once

#include <optional>
#include <string>

namespace orvalin {

// The file name of a run-time module with the platform's ending,
// "lame_enc" giving "lame_enc.so".
std::string moduleFileName(const std::string& baseName);

// A shared library loaded at run time; unloaded when the object goes.
class RuntimeModule {
public:
    static std::optional<RuntimeModule> load(const std::string& path);

    RuntimeModule(RuntimeModule&& other) noexcept;
    RuntimeModule& operator=(RuntimeModule&& other) noexcept;
    RuntimeModule(const RuntimeModule&) = delete;
    RuntimeModule& operator=(const RuntimeModule&) = delete;
    ~RuntimeModule();

    // The entry point of that name, or null when the module has none.
    template <typename Function>
    Function* entryPoint(const char* name) const
    {
        return reinterpret_cast<Function*>(symbol(name));
    }

private:
    explicit RuntimeModule(void* handle) : handle_(handle) {}
    void* symbol(const char* name) const;

    void* handle_ = nullptr;
};

} // namespace orvalin
