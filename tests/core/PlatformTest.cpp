#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/RuntimeModule.h"

#include "TestFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

TEST(Folders, DesktopExecutableAndSeparators)
{
    test::TestFolder home;
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.path().substr(0, home.path().size() - 1).c_str(), 1);
    setenv("XDG_CONFIG_HOME", home.file("config").c_str(), 1);
    EXPECT_EQ(desktopFolder(), home.file("Desktop/"));
    std::filesystem::create_directory(home.file("config"));
    test::writeText(home.file("config/user-dirs.dirs"),
                    "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(desktopFolder(), home.file("Schreibtisch/"));
    setenv("HOME", "", 1); // an empty home is the password entry's
    EXPECT_EQ(desktopFolder(), std::string(getpwuid(getuid())->pw_dir) + "/Schreibtisch/");
    test::writeText(home.file("config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"/data/desk/\"\n");
    EXPECT_EQ(desktopFolder(), "/data/desk/");
    setenv("HOME", oldHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");

    EXPECT_EQ(withTrailingSeparator(""), "/");
    EXPECT_TRUE(std::filesystem::exists(executableFolder() + "orvalin_core_tests"));
}

TEST(Files, ReadsAcrossBufferRefillsAndSeeksCopiesAndRemoves)
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
    for (const std::size_t at : {3, 199999}) {
        file->seek(at);
        EXPECT_EQ(*file->readByte(), bytes[at]);
    }
    EXPECT_FALSE(file->readByte());
    EXPECT_EQ(file->read(chunk.data(), 10), 0u);
    EXPECT_FALSE(file->readFailed());
    EXPECT_FALSE(InputFile::open(folder.file("missing")));
    EXPECT_FALSE(InputFile::open(folder.path()));
    ASSERT_EQ(mkfifo(folder.file("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(InputFile::open(folder.file("fifo"))) << "refused, without waiting for a writer";

    // A planted link, live or dangling, is replaced, never written through.
    for (const char* target : {"data", "nowhere"}) {
        std::filesystem::create_symlink(folder.file(target), folder.file("link"));
        auto output = OutputFile::create(folder.file("link"));
        ASSERT_TRUE(output);
        output->write("new", 3);
        output->writeAt(0, "N", 1);
        EXPECT_TRUE(output->close());
        EXPECT_EQ(test::readText(folder.file("link")), "New");
        EXPECT_FALSE(std::filesystem::is_symlink(folder.file("link")));
        std::filesystem::remove(folder.file("link"));
    }
    EXPECT_EQ(test::readBytes(folder.file("data")), bytes);
    EXPECT_FALSE(test::fileExists(folder.file("nowhere")));
    // A patch past what was written cannot land: the file is not whole.
    auto patched = OutputFile::create(folder.file("patched"));
    patched->write("ab", 2);
    patched->writeAt(1, "XY", 2);
    EXPECT_FALSE(patched->close());

    EXPECT_FALSE(copyFile(folder.file("missing"), folder.file("c")));
    EXPECT_FALSE(test::fileExists(folder.file("c")));
    std::filesystem::create_directory(folder.file("d"));
    removeFile(folder.file("d"));
    removeFile(folder.file("gone"));
    EXPECT_TRUE(test::fileExists(folder.file("d")));
}

TEST(RuntimeModule, LoadsOnlyFromAPath)
{
    EXPECT_FALSE(RuntimeModule::load("libm.so.6")); // no search path
    const auto math = RuntimeModule::load("/lib/x86_64-linux-gnu/libm.so.6");
    ASSERT_TRUE(math);
    EXPECT_DOUBLE_EQ(math->entryPoint<double(double)>("cos")(0.0), 1.0);
    EXPECT_EQ(math->entryPoint<double(double)>("no_such_entry"), nullptr);
}

} // namespace
} // namespace orvalin
