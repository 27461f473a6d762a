#include "platform/ui/DesktopOpener.h"

#include "platform/ui/Shell.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The real opener, found on a PATH that holds only a folder of the test's own: no hooks
// answer for the desktop here.
class OpenerOfTheSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(bin_.root().empty());
        const char* path = std::getenv("PATH");
        previousPath_ = path ? path : "";
        ::setenv("PATH", bin_.root().c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", previousPath_.c_str(), 1); }

    // An xdg-open that notes its argument, then runs body.
    void InstallOpener(const std::string& body) const
    {
        const std::string opener =
            bin_.Write("xdg-open", "#!/bin/sh\nprintf '%s' \"$1\" > '" + Noted() + "'\n" + body);
        std::filesystem::permissions(opener, std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
    }
    std::string Noted() const { return files_.path("argument"); }

    testmedia::TempFolder bin_;
    testmedia::TempFolder files_;
    std::string previousPath_;
};

}  // namespace

TEST_F(OpenerOfTheSession, WithoutAnOpenerNothingOpensAndTheShellAnswersNoAssociation)
{
    EXPECT_FALSE(OpenWithDesktopHandler("https://example.org/"));
    const std::string file = files_.Write("Garden.jpg", "JPEG");
    EXPECT_EQ(ShellExecuteA(nullptr, "open", file.c_str(), nullptr, nullptr, 5), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", files_.root().c_str(), nullptr, nullptr, 5),
              SE_ERR_NOASSOC);
}

TEST_F(OpenerOfTheSession, AnOpenerThatFailsAtOnceOpensNothing)
{
    InstallOpener("exit 3\n");
    const std::string folder = files_.root() + "/My Pictures";
    std::filesystem::create_directory(folder);
    EXPECT_EQ(ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, 5), SE_ERR_NOASSOC);
    EXPECT_EQ(testmedia::ReadWholeFile(Noted()), folder);
}

TEST_F(OpenerOfTheSession, AnOpenerThatSucceedsOrStillRunsHasTheTarget)
{
    InstallOpener("exit 0\n");
    EXPECT_TRUE(OpenWithDesktopHandler("https://example.org/?a=1&b=2"));
    EXPECT_EQ(testmedia::ReadWholeFile(Noted()), "https://example.org/?a=1&b=2");

    // Outside the large desktops the opener runs the program it chose until that ends.
    InstallOpener("exec /bin/sleep 3 >/dev/null 2>&1\n");
    EXPECT_TRUE(OpenWithDesktopHandler(files_.root()));
    EXPECT_EQ(testmedia::ReadWholeFile(Noted()), files_.root());
}
