#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin::test {

// A fresh folder for one test, removed with everything in it afterwards.
// path() ends in the path separator, as the program's folders do.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, std::string_view text);
bool fileExists(const std::string& path);

} // namespace orvalin::test

namespace orvalin::test {

// Makes every write of this process past the given file size fail, as a full
// disk would, until the object goes.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long previousSoft_;
    void (*previousHandler_)(int);
};

} // namespace orvalin::test
