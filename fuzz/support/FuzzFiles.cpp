#include "FuzzFiles.h"

#include "FuzzCheck.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/mman.h>
#include <unistd.h>

namespace orvalin::fuzz {

MemoryFile::MemoryFile() : descriptor_(memfd_create("fuzz-input", MFD_CLOEXEC))
{
    check(descriptor_ >= 0, "an in-memory file can be made");
    path_ = "/proc/self/fd/" + std::to_string(descriptor_);
}

MemoryFile::~MemoryFile()
{
    close(descriptor_);
}

void MemoryFile::replaceContents(const std::uint8_t* data, std::size_t size)
{
    check(ftruncate(descriptor_, 0) == 0, "the in-memory file can be emptied");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = pwrite(descriptor_, data + done, size - done, static_cast<off_t>(done));
        check(wrote > 0, "the in-memory file takes the input");
        done += static_cast<std::size_t>(wrote);
    }
}

ScratchFolder::ScratchFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvalin-fuzz-XXXXXX";
    check(mkdtemp(pattern.data()) != nullptr, "a scratch folder can be made");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::fileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    return names;
}

std::vector<std::uint8_t> readWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace orvalin::fuzz
