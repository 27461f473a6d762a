#include "media/PathUtils.h"

#include "platform/win/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

class ProgramAt : public ::testing::Test {
protected:
    void TearDown() override { SetModuleFileNameForTesting(nullptr); }

    static std::string Resolved(const std::string& path)
    {
        const std::size_t size = kPathBufferSize;
        std::string buffer(size, '\0');
        std::memcpy(buffer.data(), path.c_str(), std::min(path.size() + 1, size));
        EXPECT_TRUE(ResolveWholePath(buffer.data(), size)) << path;
        return std::string(buffer.c_str(), ::strnlen(buffer.c_str(), size));
    }
};

struct Resolution {
    const char* input;
    const char* besideWindowsProgram;  // C:\App\Bin\prog.exe
    const char* besideLinuxProgram;    // /opt/app/bin/prog
};

// Results come in the platform's form (a slash between folders) whatever the program's
// path or the input uses.
const Resolution kResolutions[] = {
    {"x.avi", "C:/App/Bin/x.avi", "/opt/app/bin/x.avi"},
    {"  x.avi", "C:/App/Bin/x.avi", "/opt/app/bin/x.avi"},
    {"Video\\x.avi", "C:/App/Bin/Video/x.avi", "/opt/app/bin/Video/x.avi"},
    {"Video/x.avi", "C:/App/Bin/Video/x.avi", "/opt/app/bin/Video/x.avi"},
    {"  Video/x.avi", "C:/App/Bin/Video/x.avi", "/opt/app/bin/Video/x.avi"},
    {"Video/Mine 12:30.avi", "C:/App/Bin/Video/Mine 12:30.avi",
     "/opt/app/bin/Video/Mine 12:30.avi"},
    {"..\\x.avi", "C:/App/x.avi", "/opt/app/x.avi"},
    {"../x.avi", "C:/App/x.avi", "/opt/app/x.avi"},
    {"../Shared/x.avi", "C:/App/Shared/x.avi", "/opt/app/Shared/x.avi"},
    {"..\\..\\..\\x.avi", "C:/x.avi", "/x.avi"},
    {"../../../../../x.avi", "C:/x.avi", "/x.avi"},
    {"\\Data\\x.avi", "C:/Data/x.avi", "/Data/x.avi"},
    {"/data/x.avi", "C:/data/x.avi", "/data/x.avi"},
    {":Data\\x.avi", "C:/Data/x.avi", "/Data/x.avi"},
    {":\\x.avi", "C:/x.avi", "/x.avi"},
    {"D:\\x.avi", "D:/x.avi", "D:/x.avi"},
    {"  D:\\x.avi", "  D:/x.avi", "  D:/x.avi"},
    {"D:/x.avi", "D:/x.avi", "D:/x.avi"},
    {"\\\\srv\\share\\x.avi", "//srv/share/x.avi", "//srv/share/x.avi"},
    {"   ", "   ", "   "},
    {"", "", ""},
};

}  // namespace

TEST(Spaces, AreTabLineFeedCarriageReturnAndBlankByTheirLowByte)
{
    for (int c : {9, 10, 13, 32, 0x109, 0x120, -224})
        EXPECT_TRUE(IsSpace(c)) << c;
    for (int c : {0, 11, 12, int('a'), 0xA0, 0x100})
        EXPECT_FALSE(IsSpace(c)) << c;
    EXPECT_STREQ(SkipSpaces(" \t\r\n x "), "x ");
    EXPECT_EQ(SkipSpaces(static_cast<const char*>(nullptr)), nullptr);
}

TEST(FindLastPathSeparator, TakesTheLastSeparatorOfEitherKindElseTheLastColon)
{
    const char* mixed = "a/b\\c";
    EXPECT_EQ(FindLastPathSeparator(mixed), mixed + 3);
    const char* slashLast = "a\\b/c";
    EXPECT_EQ(FindLastPathSeparator(slashLast), slashLast + 3);
    const char* drive = "C:x";
    EXPECT_EQ(FindLastPathSeparator(drive), drive + 1);
    const char* both = "C:\\x:y";
    EXPECT_EQ(FindLastPathSeparator(both), both + 2);
    EXPECT_EQ(FindLastPathSeparator("x"), nullptr);
    EXPECT_EQ(FindLastPathSeparator(static_cast<const char*>(nullptr)), nullptr);
}

TEST(JoinPath, JoinsInThePlatformsFormOnlyWhenTheWholePathFits)
{
    char path[kPathBufferSize];
    EXPECT_TRUE(JoinPath(path, sizeof path, "/opt/app", "VideoProject"));
    EXPECT_STREQ(path, "/opt/app/VideoProject");
    EXPECT_TRUE(JoinPath(path, sizeof path, "C:\\App", "RecentProject.tmp"));
    EXPECT_STREQ(path, "C:/App/RecentProject.tmp");
    EXPECT_TRUE(JoinPath(path, sizeof path, "C:", "Audio"));
    EXPECT_STREQ(path, "C:/Audio");

    // 505 + 1 + 13 characters fit 520 bytes; one more does not, and the path is emptied.
    const std::string folder = "/" + std::string(504, 'd');
    EXPECT_TRUE(JoinPath(path, sizeof path, folder.c_str(), "VideoTemplate"));
    EXPECT_EQ(std::strlen(path), 519u);
    const std::string deeper = folder + "e";
    EXPECT_FALSE(JoinPath(path, sizeof path, deeper.c_str(), "VideoTemplate"));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(JoinPath(path, sizeof path, deeper.c_str(), "Audio"));

    // A folder that could not be formed gives no path, never one at the root.
    std::strcpy(path, "old");
    EXPECT_FALSE(JoinPath(path, sizeof path, "", "RecentProject.tmp"));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(JoinPath(path, sizeof path, nullptr, "RecentProject.tmp"));

    std::strcpy(path, "/in/place");
    EXPECT_TRUE(JoinPath(path, sizeof path, path, "x.avp"));
    EXPECT_STREQ(path, "/in/place/x.avp");
}

TEST_F(ProgramAt, ModuleDirectoryDropsTheProgramNameAndItsSeparator)
{
    SetModuleFileNameForTesting("C:\\App\\Bin\\prog.exe");
    char buffer[kPathBufferSize];
    EXPECT_EQ(GetModuleDirectory(buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "C:\\App\\Bin");
    char small[5];
    EXPECT_EQ(GetModuleDirectory(small, sizeof small), 4u);
    EXPECT_STREQ(small, "C:\\A");
    SetModuleFileNameForTesting("/opt/app/bin/prog");
    EXPECT_EQ(GetModuleDirectory(buffer, sizeof buffer), 12u);
    EXPECT_STREQ(buffer, "/opt/app/bin");
}

TEST_F(ProgramAt, ResolvesAlikeBesideAWindowsProgramAndALinuxOne)
{
    for (const Resolution& r : kResolutions) {
        SetModuleFileNameForTesting("C:\\App\\Bin\\prog.exe");
        EXPECT_EQ(Resolved(r.input), r.besideWindowsProgram) << '"' << r.input << '"';
        SetModuleFileNameForTesting("/opt/app/bin/prog");
        EXPECT_EQ(Resolved(r.input), r.besideLinuxProgram) << '"' << r.input << '"';
    }
}

TEST_F(ProgramAt, ClimbingFromAShareStopsAtItsRoot)
{
    SetModuleFileNameForTesting("\\\\srv\\share\\prog.exe");
    EXPECT_EQ(Resolved("..\\..\\x.avi"), "//srv/x.avi");
    EXPECT_EQ(Resolved("\\x.avi"), "//srv/x.avi");
}

TEST_F(ProgramAt, AnUnterminatedBufferIsReadOnlyWithinItsSize)
{
    SetModuleFileNameForTesting("/opt/app/bin/prog");
    char buffer[8];
    std::memset(buffer, 'a', sizeof buffer);
    EXPECT_FALSE(ResolveWholePath(buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
}

TEST_F(ProgramAt, AWholePathIsResolvedOrEmptiedButNeverCut)
{
    SetModuleFileNameForTesting("/opt/app/bin/prog");
    const auto whole = [](const std::string& path, std::size_t size, bool fits) {
        std::string buffer(size, '\0');
        std::memcpy(buffer.data(), path.c_str(), std::min(path.size() + 1, size));
        EXPECT_EQ(ResolveWholePath(buffer.data(), size), fits) << path;
        return std::string(buffer.c_str(), ::strnlen(buffer.c_str(), size));
    };
    EXPECT_EQ(whole("Video\\x.avi", kPathBufferSize, true), "/opt/app/bin/Video/x.avi");
    EXPECT_EQ(whole("/videos/x.avi", kPathBufferSize, true), "/videos/x.avi");
    EXPECT_EQ(whole("", kPathBufferSize, true), "");
    // "/opt/app/bin/" and 506 characters fill a path buffer to its last byte; one more
    // would have to be cut, and so would a result longer than a small buffer.
    EXPECT_EQ(whole(std::string(506, 'n'), kPathBufferSize, true).size(), kPathBufferSize - 1);
    EXPECT_EQ(whole(std::string(507, 'n'), kPathBufferSize + 100, false), "");
    EXPECT_EQ(whole("x.avi", 18, false), "");
    EXPECT_EQ(whole("x.avi", 19, true), "/opt/app/bin/x.avi");
    // An absolute path that fills its buffer without a terminator is no whole path.
    std::string unterminated(8, 'a');
    unterminated[0] = '/';
    EXPECT_FALSE(ResolveWholePath(unterminated.data(), unterminated.size()));
    EXPECT_EQ(unterminated[0], '\0');
}
