#include "platform/win/Files.h"

#include "support/Fifo.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(dir_.root().empty()); }

    std::string PathOf(const std::string& name) const { return dir_.path(name); }
    std::string Make(const std::string& name, const std::string& content) const
    {
        return dir_.Write(name, content);
    }
    static std::string Content(const std::string& path) { return testmedia::ReadWholeFile(path); }

    testmedia::TempFolder dir_;
};

FileHandle OpenForWriting(const std::string& path, std::uint32_t share)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

TEST_F(Files, WriterSharingOnlyReadingKeepsOtherWritersOutButLetsReadersIn)
{
    const std::string path = Make("held.avi", "content");
    const FileHandle holder = OpenForWriting(path, FILE_SHARE_READ);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    EXPECT_EQ(OpenForWriting(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenForWriting(path, FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenFile(path.c_str(), "ab"), nullptr);
    EXPECT_EQ(OpenFile(path.c_str(), "r+b"), nullptr);

    UniqueFile reader(OpenFile(path.c_str(), "rb"));
    EXPECT_NE(reader, nullptr);
    const FileHandle probe = CreateFileA(path.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(probe, INVALID_HANDLE_VALUE);
    CloseHandle(probe);

    ASSERT_TRUE(CloseHandle(holder));
    UniqueFile appender(OpenFile(path.c_str(), "ab"));
    EXPECT_NE(appender, nullptr);
}

TEST_F(Files, WritersThatShareWritingGetInTogetherButKeepOutAWriterThatRefusesThem)
{
    const std::string path = Make("shared.txt", "x");
    UniqueFile first(OpenFile(path.c_str(), "ab"));
    UniqueFile second(OpenFile(path.c_str(), "ab"));
    EXPECT_NE(first, nullptr);
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(OpenForWriting(path, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
}

TEST_F(Files, RefusedOpensLeaveTheFileAsItWas)
{
    const std::string path = Make("keep.txt", "precious");
    const UniqueFileHandle holder(OpenForWriting(path, FILE_SHARE_READ));
    ASSERT_NE(holder.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenFile(path.c_str(), "wb"), nullptr);
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(Content(path), "precious");
}

TEST_F(Files, FoldersDoNotOpenAsFiles)
{
    EXPECT_EQ(OpenFile(dir_.root().c_str(), "rb"), nullptr);
    EXPECT_EQ(CreateFileA(dir_.root().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileAttributesA(dir_.root().c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA(Make("f", "").c_str()), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(GetFileAttributesA(PathOf("missing").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Files, FifosAndDevicesAreNoFilesAndNoOpenWaitsForThem)
{
    const std::string fifo = PathOf("frame00001.bmp");
    ASSERT_TRUE(testmedia::MakeFifo(fifo));
    std::vector<std::uint8_t> bytes{1};
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(fifo, [&] {
        for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/null")}) {
            EXPECT_FALSE(IsReadableFile(path.c_str())) << path;
            EXPECT_EQ(ReadFileBytes(path.c_str(), 1 << 20, bytes), FileRead::NotReadable);
            EXPECT_TRUE(bytes.empty());
            EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                      INVALID_HANDLE_VALUE);
        }
        EXPECT_EQ(OpenFile(fifo.c_str(), "wb"), nullptr);
        EXPECT_EQ(OpenFile(fifo.c_str(), "r+b"), nullptr);
    }));
    // Without data access it only shows that something is there.
    const UniqueFileHandle probe(CreateFileA(fifo.c_str(), 0, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_NE(probe.get(), INVALID_HANDLE_VALUE);
}

TEST_F(Files, ReadFileBytesReadsWholeFilesUpToTheBound)
{
    std::vector<std::uint8_t> bytes;
    const std::string path = Make("project.avp", "[VideoProject]\n");
    EXPECT_EQ(ReadFileBytes(path.c_str(), 15, bytes), FileRead::Read);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "[VideoProject]\n");
    EXPECT_EQ(ReadFileBytes(path.c_str(), 14, bytes), FileRead::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadFileBytes(Make("empty", "").c_str(), 0, bytes), FileRead::Read);
    EXPECT_EQ(ReadFileBytes(PathOf("missing").c_str(), 15, bytes), FileRead::Missing);
    EXPECT_EQ(ReadFileBytes(dir_.root().c_str(), 15, bytes), FileRead::NotReadable);
}

TEST_F(Files, BackslashesSeparateFolders)
{
    fs::create_directory(std::filesystem::path(dir_.root()) / "sub");
    Make("sub/a.txt", "abc");
    std::string windowsStyle = PathOf("sub") + "\\a.txt";
    UniqueFile file(OpenFile(windowsStyle.c_str(), "rb"));
    ASSERT_NE(file, nullptr);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 3, file.get()), 3u);
    EXPECT_STREQ(text, "abc");
    EXPECT_EQ(GetFileAttributesA((dir_.root() + "\\sub").c_str()), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(Files, CreateDirectoryMakesOneFolderWhoseParentExists)
{
    const std::string folder = dir_.root() + "\\VideoTemplateImages";
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA(PathOf("VideoTemplateImages").c_str()), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));  // there already
    EXPECT_FALSE(CreateDirectoryA(PathOf("missing/child").c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA("", nullptr));
}

TEST(ModuleFileName, AnswersTheTestingPathCutToTheBufferAndThenTheRealOne)
{
    // "/opt/" then e-acute (2 bytes), then "/prog": 12 bytes.
    SetModuleFileNameForTesting("/opt/\xC3\xA9/prog");
    char buffer[520];
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), 12u);
    EXPECT_STREQ(buffer, "/opt/\xC3\xA9/prog");
    char small[7];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 7u);
    EXPECT_STREQ(small, "/opt/");

    SetModuleFileNameForTesting(nullptr);
    const std::uint32_t length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    EXPECT_EQ(length, std::strlen(buffer));
    EXPECT_EQ(fs::path(buffer), fs::read_symlink("/proc/self/exe"));
}
