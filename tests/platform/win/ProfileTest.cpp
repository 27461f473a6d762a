#include "platform/win/Profile.h"

#include "support/Fifo.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp_.root().empty());
        folder_ = temp_.root();
        file_ = temp_.path("project.avp");
    }

    void TearDown() override
    {
        std::filesystem::permissions(file_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored_);
    }

    void store(const std::string& text) const { std::ofstream(file_, std::ios::binary) << text; }

    std::string stored() const
    {
        std::ifstream in(file_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The value read with a 260-byte buffer, as the programs read theirs.
    std::string get(const char* section, const char* key, const char* defaultValue = "") const
    {
        char buffer[260];
        const auto count = GetPrivateProfileStringA(section, key, defaultValue, buffer,
                                                    sizeof buffer, file_.c_str());
        return std::string(buffer, count);
    }

    bool write(const char* section, const char* key, const char* value) const
    {
        return WritePrivateProfileStringA(section, key, value, file_.c_str());
    }

    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                      std::filesystem::directory_iterator()));
    }

    testmedia::TempFolder temp_;
    std::filesystem::path folder_;
    std::string file_;
    std::error_code ignored_;
};

TEST_F(Profile, FindsSectionsAndKeysWithoutRegardToCase)
{
    store("[VideoProject]\r\nFaceSize=120%\r\n");
    EXPECT_EQ(get("videoproject", "FACESIZE"), "120%");
    // Only A to Z fold: other UTF-8 letters must match exactly.
    store("[Größe]\nÄrger=1\n");
    EXPECT_EQ(get("GRößE", "Ärger"), "1");
    EXPECT_EQ(get("GRÖßE", "Ärger", "none"), "none");
    EXPECT_EQ(get("Größe", "ärger", "none"), "none");
}

TEST_F(Profile, TrimsBlanksAroundNamesAndValuesAndTheFirstMatchWins)
{
    store(
        "; comment=1\n  [ Tab ]  \n\t Tab \t=  1  \nTab=2\ngarbage line\n[TAB]\nTab=3\nOther=x\n");
    EXPECT_EQ(get("Tab", "Tab"), "1");
    EXPECT_EQ(get("Tab", "Other", "none"), "none");
    EXPECT_EQ(get(" Tab ", " tab "), "1");
}

TEST_F(Profile, RemovesOnePairOfMatchingQuotes)
{
    store("[S]\na=\"C:\\a b\\\"\nb='x'\nc=\"\"two\"\"\nd=\"mixed'\ne=\"\nf= \" padded \" \n");
    EXPECT_EQ(get("S", "a"), "C:\\a b\\");
    EXPECT_EQ(get("S", "b"), "x");
    EXPECT_EQ(get("S", "c"), "\"two\"");
    EXPECT_EQ(get("S", "d"), "\"mixed'");
    EXPECT_EQ(get("S", "e"), "\"");
    EXPECT_EQ(get("S", "f"), " padded ");
}

TEST_F(Profile, MissingFileSectionOrKeyGivesTheDefaultWithoutTrailingBlanks)
{
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "dflt  ", buffer, sizeof buffer,
                                       (folder_ / "none.ini").c_str()),
              4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", nullptr, buffer, sizeof buffer,
                                       (folder_ / "none.ini").c_str()),
              0u);
    EXPECT_STREQ(buffer, "");
    store("[S]\nk=v\n");
    EXPECT_EQ(get("T", "k", "5000"), "5000");
    EXPECT_EQ(get("S", "j", "  a b "), "  a b");
    EXPECT_EQ(get("S", "k", "5000"), "v");
}

TEST_F(Profile, ValueThatDoesNotFitIsCutAndCounted)
{
    store("[S]\nk=abcdef\n");
    char buffer[8] = "zzzzzzz";
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 4, file_.c_str()), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 7, file_.c_str()), 6u);
    EXPECT_STREQ(buffer, "abcdef");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 1, file_.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');

    std::fill(buffer, buffer + sizeof buffer, 'z');
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 0, file_.c_str()), 0u);
    EXPECT_EQ(buffer[0], 'z');
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", nullptr, 8, file_.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileStringA("S", "missing", "long default", buffer, 5, file_.c_str()),
              4u);
    EXPECT_STREQ(buffer, "long");
}

TEST_F(Profile, CutNeverSplitsAUtf8Character)
{
    store("[S]\nk=aé日本\n");  // 1 + 2 + 3 + 3 bytes
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 3, file_.c_str()), 1u);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 4, file_.c_str()), 3u);
    EXPECT_STREQ(buffer, "aé");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 8, file_.c_str()), 6u);
    EXPECT_STREQ(buffer, "aé日");
    // Bytes that are no UTF-8 (an 8-bit code page) are cut where they fall.
    store("[S]\nk=\xB0\xB1\xB2\xB3\xB4\n");
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, 4, file_.c_str()), 3u);
}

TEST_F(Profile, ListsKeyAndSectionNamesEachEndedByAZero)
{
    store("[One]\nalpha=1\n;c=2\nbeta=2\nALPHA=3\n[Two]\n[one]\ngamma=1\n[Empty]\n");
    char buffer[64];
    auto count = GetPrivateProfileStringA("One", nullptr, "", buffer, sizeof buffer, file_.c_str());
    EXPECT_EQ(std::string(buffer, count + 1), std::string("alpha\0beta\0\0", 12));
    count = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, file_.c_str());
    EXPECT_EQ(std::string(buffer, count + 1), std::string("One\0Two\0Empty\0\0", 15));

    std::fill(buffer, buffer + sizeof buffer, 'z');
    EXPECT_EQ(GetPrivateProfileStringA("Empty", nullptr, "", buffer, sizeof buffer, file_.c_str()),
              0u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
}

TEST_F(Profile, ListThatDoesNotFitEndsInTwoZerosAndCountsSizeMinusTwo)
{
    store("[S]\nalpha=1\nbeta=2\n[日本]\n");
    char buffer[16];
    std::fill(buffer, buffer + sizeof buffer, 'z');
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", buffer, 8, file_.c_str()), 6u);
    EXPECT_EQ(std::string(buffer, 8), std::string("alpha\0\0\0", 8));
    EXPECT_EQ(buffer[8], 'z');
    // Exactly the room of the whole list is not cut.
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", buffer, 12, file_.c_str()), 11u);
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", buffer, 11, file_.c_str()), 9u);
    EXPECT_EQ(std::string(buffer, 11),
              std::string("alpha\0beta\0", 11).substr(0, 9) + std::string("\0\0", 2));
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", buffer, 2, file_.c_str()), 0u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
    EXPECT_EQ(GetPrivateProfileStringA("S", nullptr, "", buffer, 1, file_.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');
    // "S\0日本\0": a cut inside 日 keeps "S\0" and zeros.
    EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, "", buffer, 6, file_.c_str()), 4u);
    EXPECT_EQ(std::string(buffer, 6), std::string("S\0\0\0\0\0", 6));
}

TEST_F(Profile, ValuesThatReadingWouldChangeAreWrittenInQuotes)
{
    const char* values[] = {"  padded\t", "\"quoted\"", "'single'", "\"\"",
                            " ",          "\"mixed'",   "\"",       "C:\\a b\\"};
    for (const char* value : values) {
        EXPECT_TRUE(write("S", "k", value)) << value;
        EXPECT_EQ(get("S", "k"), value);
    }
    EXPECT_TRUE(write("S", "k", "'single'"));
    EXPECT_EQ(stored(), "[S]\r\nk=\"'single'\"\r\n");
    // Only values that need them get quotes.
    EXPECT_TRUE(write("S", "k", "plain \"inner\" text"));
    EXPECT_EQ(stored(), "[S]\r\nk=plain \"inner\" text\r\n");
}

TEST_F(Profile, ListingIsLinearInTheNumberOfNames)
{
    // A quadratic listing of this many names takes minutes; a linear one a fraction of a
    // second even under the sanitizers. The child process is stopped when it has used
    // up its processor time.
    constexpr int kNames = 200'000;
    std::string sections;
    std::string keys = "[S]\n";
    for (int i = 0; i < kNames; ++i) {
        sections += "[s" + std::to_string(i) + "]\n";
        keys += "k" + std::to_string(i) + "=1\n";
    }
    const auto listAll = [&](const std::string& text, const char* section) {
        store(text);
        std::vector<char> buffer(16 * kNames);
        return GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                        static_cast<std::uint32_t>(buffer.size()), file_.c_str());
    };
    const auto listWithinTheLimit = [&] {
        const rlimit cpu{20, 20};
        setrlimit(RLIMIT_CPU, &cpu);
        const bool listed =
            listAll(sections, nullptr) > 7u * kNames && listAll(keys, "S") > 7u * kNames;
        std::exit(listed ? 0 : 1);
    };
    EXPECT_EXIT(listWithinTheLimit(), ::testing::ExitedWithCode(0), "");
}

TEST_F(Profile, WritingCreatesTheFileWithPlatformLineEnds)
{
    EXPECT_TRUE(write("VideoProject", "Background", "C:\\Media\\new\\bg.bmp"));
    EXPECT_TRUE(write("VideoProject", "FaceSize", "120%"));
    EXPECT_TRUE(write("Tab", "Tab", "1"));
    EXPECT_EQ(stored(), "[VideoProject]\r\nBackground=C:\\Media\\new\\bg.bmp\r\nFaceSize=120%\r\n"
                        "[Tab]\r\nTab=1\r\n");
    EXPECT_EQ(get("VideoProject", "Background"), "C:\\Media\\new\\bg.bmp");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(Profile, ReplacingAValueKeepsEveryOtherByte)
{
    const std::string before = "\xEF\xBB\xBF; header comment\n[A]\n  key = old value ; x\n"
                               "junk without equals\n\n[b]\nKey=other\n";
    store(before);
    EXPECT_TRUE(write("a", "KEY", "D:\\x\\y"));
    EXPECT_EQ(stored(), "\xEF\xBB\xBF; header comment\n[A]\nKEY=D:\\x\\y\n"
                        "junk without equals\n\n[b]\nKey=other\n");
    EXPECT_EQ(get("A", "key"), "D:\\x\\y");
    EXPECT_EQ(get("B", "key"), "other");
}

TEST_F(Profile, NewKeyGoesBeforeTheSectionsTrailingBlankLines)
{
    store("[A]\r\nx=1\r\n\r\n\r\n[B]\r\ny=2");
    EXPECT_TRUE(write("A", "z", "3"));
    EXPECT_TRUE(write("B", "w", "4"));
    EXPECT_TRUE(write("C", "v", "5"));
    EXPECT_EQ(stored(), "[A]\r\nx=1\r\nz=3\r\n\r\n\r\n[B]\r\ny=2\r\nw=4\r\n[C]\r\nv=5\r\n");
}

TEST_F(Profile, KeepsTheFilesOwnLineEnds)
{
    store("[A]\nx=1");
    EXPECT_TRUE(write("B", "y", "2"));
    EXPECT_EQ(stored(), "[A]\nx=1\n[B]\ny=2\n");
}

TEST_F(Profile, NullValueRemovesTheKeyAndNullKeyTheSection)
{
    store("[A]\r\nx=1\r\n; note\r\ny=2\r\n\r\n[B]\r\nx=3\r\n[a]\r\nx=4\r\n");
    EXPECT_TRUE(write("A", "X", nullptr));
    EXPECT_EQ(stored(), "[A]\r\n; note\r\ny=2\r\n\r\n[B]\r\nx=3\r\n[a]\r\nx=4\r\n");
    EXPECT_EQ(get("A", "x", "gone"), "gone");
    EXPECT_TRUE(write("a", nullptr, nullptr));
    EXPECT_EQ(stored(), "[B]\r\nx=3\r\n");
    EXPECT_EQ(get("A", "x", "gone"), "gone");
    EXPECT_TRUE(write("Missing", "x", nullptr));
    EXPECT_EQ(stored(), "[B]\r\nx=3\r\n");
}

TEST_F(Profile, RemovingAKeyRemovesItsDuplicatesToo)
{
    // The first line of a key is the one read; a second one would show once it is gone.
    store("[A]\nx=1\ny=2\nX = 3\n[B]\nx=4\n");
    EXPECT_TRUE(write("A", "x", nullptr));
    EXPECT_EQ(stored(), "[A]\ny=2\n[B]\nx=4\n");
    EXPECT_EQ(get("A", "x", "gone"), "gone");
}

TEST_F(Profile, RemovingFromAMissingFileCreatesNothing)
{
    EXPECT_TRUE(write("A", "x", nullptr));
    EXPECT_TRUE(write("A", nullptr, nullptr));
    EXPECT_EQ(filesInFolder(), 0u);
}

TEST_F(Profile, AcceptsBackslashSeparatorsInTheFileName)
{
    std::string windowsName = file_;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "v", windowsName.c_str()));
    char buffer[8];
    EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", buffer, sizeof buffer, windowsName.c_str()),
              1u);
    EXPECT_STREQ(buffer, "v");
    EXPECT_EQ(get("S", "k"), "v");
}

TEST_F(Profile, FailedWritesLeaveTheFileAsItWas)
{
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", (folder_ / "no" / "p.avp").c_str()));
    EXPECT_FALSE(write(nullptr, "k", "v"));
    EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", nullptr));

    store("[S]\nk=v\n");
    EXPECT_FALSE(write("S", "k", "two\r\nlines"));
    EXPECT_FALSE(write("S]x", "k", "v"));
    EXPECT_FALSE(write("S", "a=b", "v"));
    EXPECT_FALSE(write("S", " ", "v"));
    EXPECT_FALSE(write("S", ";k", "v"));
    EXPECT_EQ(stored(), "[S]\nk=v\n");

    std::filesystem::permissions(file_, std::filesystem::perms::owner_read |
                                            std::filesystem::perms::group_read);
    EXPECT_FALSE(write("S", "k", "new"));
    EXPECT_FALSE(write("S", nullptr, nullptr));
    EXPECT_EQ(stored(), "[S]\nk=v\n");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(Profile, DevicesFifosAndHugeFilesReadAsMissingAndAreNeverWritten)
{
    // A project that begins like one and goes on for 5 MB.
    std::string huge = "[S]\nk=v\n;" + std::string(5u << 20, 'x') + "\n";
    store(huge);
    EXPECT_EQ(get("S", "k", "default"), "default");
    EXPECT_FALSE(write("S", "k", "new"));
    EXPECT_EQ(std::filesystem::file_size(file_), huge.size());

    std::filesystem::remove(file_);
    std::filesystem::create_symlink("/dev/zero", file_);
    EXPECT_EQ(get("S", "k", "default"), "default");
    EXPECT_FALSE(write("S", "k", "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(file_));

    std::filesystem::remove(file_);
    ASSERT_TRUE(testmedia::MakeFifo(file_));
    EXPECT_TRUE(testmedia::FinishesWithoutWaitingOn(file_, [&] {
        EXPECT_EQ(get("S", "k", "default"), "default");
        EXPECT_FALSE(write("S", "k", "new"));
    }));
    EXPECT_TRUE(std::filesystem::is_fifo(file_));
}

TEST_F(Profile, WriteThatFailsPartWayLeavesTheOldFileWhole)
{
    store("[S]\nk=v\n");
    // Files may grow to 4 KB only, as on a full disk: the new content does not fit.
    struct rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const struct rlimit small = {4096, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = write("S", "k", std::string(10000, 'x').c_str());
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(stored(), "[S]\nk=v\n");
    EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(Profile, RewriteKeepsPermissionsAndSymbolicLinks)
{
    const auto real = (folder_ / "real.avp").string();
    std::ofstream(real, std::ios::binary) << "[S]\nk=v\n";
    std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    std::filesystem::create_symlink(real, file_);
    EXPECT_TRUE(write("S", "k", "w"));
    EXPECT_TRUE(std::filesystem::is_symlink(file_));
    EXPECT_EQ(get("S", "k"), "w");
    struct stat status {};
    ASSERT_EQ(stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

}  // namespace
