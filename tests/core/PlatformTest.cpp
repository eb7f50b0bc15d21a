#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/RuntimeModule.h"

#include "TestFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Folders, DesktopComesFromTheUserDirsFileOrDefaultsToHomeDesktop)
{
    test::TestFolder home;
    ScopedEnvironment homeVariable("HOME", home.path().substr(0, home.path().size() - 1));
    ScopedEnvironment config("XDG_CONFIG_HOME", home.file("config"));
    EXPECT_EQ(desktopFolder(), home.file("Desktop/"));

    std::filesystem::create_directory(home.file("config"));
    test::writeText(home.file("config/user-dirs.dirs"),
                    "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(desktopFolder(), home.file("Schreibtisch/"));

    test::writeText(home.file("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"/data/desk/\"\n");
    EXPECT_EQ(desktopFolder(), "/data/desk/");
}

TEST(Folders, FoldersEndInExactlyOneSeparator)
{
    EXPECT_EQ(withTrailingSeparator("/srv/out"), "/srv/out/");
    EXPECT_EQ(withTrailingSeparator("/srv/out/"), "/srv/out/");
    EXPECT_EQ(withTrailingSeparator(""), "/");
    const std::string folder = executableFolder();
    EXPECT_EQ(folder.back(), kPathSeparator);
    EXPECT_TRUE(std::filesystem::exists(folder + "orvalin_core_tests"));
}

TEST(Files, ReadsAcrossBufferRefillsAndSeeks)
{
    test::TestFolder folder;
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    test::writeBytes(folder.file("data"), bytes);

    auto file = InputFile::open(folder.file("data"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), bytes.size());
    for (std::size_t i = 0; i < 70000; ++i)
        ASSERT_EQ(*file->readByte(), bytes[i]);

    std::vector<std::uint8_t> chunk(100000);
    ASSERT_EQ(file->read(chunk.data(), chunk.size()), chunk.size());
    EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), bytes.begin() + 70000));

    file->seek(3);
    EXPECT_EQ(*file->readByte(), bytes[3]);
    file->seek(199999);
    EXPECT_EQ(*file->readByte(), bytes[199999]);
    EXPECT_FALSE(file->readByte());
    EXPECT_EQ(file->read(chunk.data(), 10), 0u);
    EXPECT_FALSE(file->readFailed());

    EXPECT_FALSE(InputFile::open(folder.file("missing")));
    EXPECT_FALSE(InputFile::open(folder.path()));
}

TEST(Files, PatchesBytesInTheBufferAndOnDisk)
{
    test::TestFolder folder;
    auto file = OutputFile::create(folder.file("out"));
    ASSERT_TRUE(file);
    std::vector<std::uint8_t> expected(300000, 0x11);
    file->write(expected.data(), 100);
    file->write(expected.data() + 100, expected.size() - 100);
    const std::uint8_t patch[3] = {1, 2, 3};
    file->writeAt(10, patch, 3);      // long since written out
    file->writeAt(299998, patch, 2);  // maybe still in the buffer
    std::copy(patch, patch + 3, expected.begin() + 10);
    std::copy(patch, patch + 2, expected.begin() + 299998);
    EXPECT_EQ(file->length(), expected.size());
    EXPECT_TRUE(file->close());
    EXPECT_EQ(test::readBytes(folder.file("out")), expected);
}

TEST(Files, RemembersAFailedWrite)
{
    test::TestFolder folder;
    auto file = OutputFile::create(folder.file("out"));
    {
        test::FileSizeLimit limit(1000);
        const std::vector<std::uint8_t> bytes(200000, 1);
        file->write(bytes.data(), bytes.size());
        EXPECT_TRUE(file->failed());
    }
    EXPECT_FALSE(file->close());
}

TEST(Files, CopiesAndRemovesOnlyWhatItShould)
{
    test::TestFolder folder;
    test::writeText(folder.file("a"), "controller");
    EXPECT_TRUE(copyFile(folder.file("a"), folder.file("b")));
    EXPECT_EQ(test::readText(folder.file("b")), "controller");
    EXPECT_FALSE(copyFile(folder.file("missing"), folder.file("c")));
    EXPECT_FALSE(test::fileExists(folder.file("c")));

    removeFile(folder.file("b"));
    removeFile(folder.file("b"));
    EXPECT_FALSE(test::fileExists(folder.file("b")));
    std::filesystem::create_directory(folder.file("d"));
    removeFile(folder.file("d"));
    EXPECT_TRUE(test::fileExists(folder.file("d")));
}

TEST(RuntimeModule, LoadsOnlyFromAPath)
{
    EXPECT_EQ(moduleFileName("lame_enc"), "lame_enc.so");
    EXPECT_FALSE(RuntimeModule::load("libm.so.6"));
    EXPECT_FALSE(RuntimeModule::load("/no/such/module.so"));
    const auto math = RuntimeModule::load("/lib/x86_64-linux-gnu/libm.so.6");
    ASSERT_TRUE(math);
    using CosFunction = double(double);
    EXPECT_DOUBLE_EQ(math->entryPoint<CosFunction>("cos")(0.0), 1.0);
    EXPECT_EQ(math->entryPoint<CosFunction>("no_such_entry"), nullptr);
}

} // namespace
} // namespace orvalin
