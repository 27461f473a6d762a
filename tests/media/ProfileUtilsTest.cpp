#include "media/ProfileUtils.h"

#include "platform/win/Files.h"

#include "support/DecimalCommaLocale.h"
#include "support/ProgramFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace fs = std::filesystem;

namespace {

class ProfileBesideProgram : public testmedia::ProgramFolderTest {
protected:
    ProfileBesideProgram() : ProgramFolderTest("prog.exe") {}

    void WriteProfile(const fs::path& path, const std::string& value) const
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "[Options]\nValue=" << value << "\n";
    }

    struct NumberCase {
        const char* text;
        double value;
    };

    // Each text stored as a value reads as its number.
    void ExpectNumbers(std::initializer_list<NumberCase> cases) const
    {
        const fs::path profile = dir_ / "n.ini";
        for (const NumberCase& c : cases) {
            WriteProfile(profile, c.text);
            EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), c.value)
                << c.text;
        }
    }

    std::string Read(const std::string& profileName) const
    {
        char buffer[260];
        const std::uint32_t count =
            ReadIniString("Options", "Value", "none", buffer, sizeof buffer, profileName.c_str());
        EXPECT_EQ(count, std::strlen(buffer));
        return buffer;
    }
};

}  // namespace

TEST_F(ProfileBesideProgram, BareNameIsReadInTheProgramsFolder)
{
    WriteProfile(dir_ / "settings.ini", "here");
    EXPECT_EQ(Read("settings.ini"), "here");
    EXPECT_EQ(Read("other.ini"), "none");
}

TEST_F(ProfileBesideProgram, ANameTooLongForAPathReadsNoFileNotTheOneItWouldBeCutTo)
{
    // A profile whose path fills a path buffer to its last byte, in folders deep enough.
    fs::path folder = dir_;
    while (folder.string().size() < 400)
        folder /= std::string(100, 'd');
    const std::string fits = (folder / std::string(518 - folder.string().size(), 'p')).string();
    ASSERT_EQ(fits.size(), 519u);
    WriteProfile(fits, "cut");
    EXPECT_EQ(Read(fits), "cut");
    EXPECT_EQ(Read(fits + ".ini"), "none");
}

TEST_F(ProfileBesideProgram, LeadingFullStopSwapsTheProgramsExtension)
{
    WriteProfile(dir_ / "prog.ini", "swapped");
    EXPECT_EQ(Read(".ini"), "swapped");

    SetModuleFileNameForTesting((dir_ / "prog").c_str());
    EXPECT_EQ(Read(".ini"), "swapped");

    WriteProfile(dir_ / "my.app" / "prog.ini", "inner");
    SetModuleFileNameForTesting((dir_ / "my.app" / "prog").c_str());
    EXPECT_EQ(Read(".ini"), "inner");
}

TEST_F(ProfileBesideProgram, PathWithSeparatorsIsUsedAsItStands)
{
    WriteProfile(dir_ / "p" / "a.avp", "project");
    EXPECT_EQ(Read((dir_ / "p" / "a.avp").string()), "project");
    EXPECT_EQ(Read(dir_.string() + "\\p\\a.avp"), "project");
}

TEST_F(ProfileBesideProgram, NumbersAreReadWithAFullStopAndTextThatIsNoNumberGivesZero)
{
    const fs::path profile = dir_ / "n.ini";
    WriteProfile(profile, "abc");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 0.0);
    WriteProfile(profile, "0.75");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 0.75);
    WriteProfile(profile, "-2.5e1 px");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), -25.0);
    WriteProfile(profile, "1e999");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), HUGE_VAL);
    WriteProfile(profile, "1e-999");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 0.0);
}

TEST_F(ProfileBesideProgram, NumbersAreReadWithAFullStopInALocaleWithADecimalComma)
{
    const fs::path profile = dir_ / "n.ini";
    const testmedia::DecimalCommaLocale german;
    ASSERT_TRUE(german.active());
    WriteProfile(profile, "0.75");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 0.75);
    WriteProfile(profile, "-2.5e1");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), -25.0);
}

TEST_F(ProfileBesideProgram, ExponentsOfAnySizeSaturate)
{
    ExpectNumbers({
        {"11e9223372036854775807", HUGE_VAL},
        {"-11e9223372036854775807", -HUGE_VAL},
        {".001e-9223372036854775808", 0.0},
        {"5e-99999999999999999999999", 0.0},
        {"5e+99999999999999999999999", HUGE_VAL},
        {"0.000e99999999999999999999", 0.0},
    });
}

TEST_F(ProfileBesideProgram, HexadecimalNumbersAreReadAsTheCLibraryReadsThem)
{
    ExpectNumbers({
        {"0x10", 16.0},
        {"0x1p4", 16.0},
        {"-0X.8", -0.5},
        {"0x1P-2 mm", 0.25},
        {"0xg", 0.0},
        {"0x", 0.0},
        {"0x-1", 0.0},
        {"0x1p99999", HUGE_VAL},
        {"0x1p-99999", 0.0},
        {"0x1p-1074", 0x1p-1074},
    });
}

TEST_F(ProfileBesideProgram, MissingOrEmptyValuesGiveTheDefault)
{
    const fs::path profile = dir_ / "n.ini";
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 7.5);
    WriteProfile(profile, "");
    EXPECT_EQ(ReadProfileDouble("Options", "Value", 7.5, profile.c_str()), 7.5);
    EXPECT_EQ(ReadProfileDouble("Options", "Other", 7.5, profile.c_str()), 7.5);
}
