#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin::test {

// A fresh folder for one test, removed with everything in it afterwards.
// path() ends in the path separator, as the program's folders do.
class TestFolder {
public:
    TestFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvalin-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a test folder");
        path_ = pattern + "/";
    }
    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

inline std::string readText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> readBytes(const std::string& path)
{
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

inline void writeText(const std::string& path, std::string_view text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    writeText(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

inline bool fileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

} // namespace orvalin::test
