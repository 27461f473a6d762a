#include "media/ui/PathField.h"

#include "media/PathUtils.h"
#include "platform/mfc/Framework.h"
#include "support/TestDialogs.h"

#include <gtest/gtest.h>

#include <string>

using namespace testdialogs;

namespace {

class PathFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AfxSetResourceHandle(&kModule);
        ASSERT_TRUE(dialog_.Create(kProbeDialog));
    }
    void TearDown() override
    {
        dialog_.DestroyWindow();
        AfxSetResourceHandle(nullptr);
    }
    std::string Resolved() const
    {
        char path[kPathBufferSize] = "left over";
        ReadResolvedPathField(dialog_.m_hWnd, kPlainEdit, path);
        return path;
    }
    CDialog dialog_{kProbeDialog};
};

}  // namespace

TEST_F(PathFieldTest, ALatin1PathLongerThanAPathIsRefusedWholeAndTheLongestThatFitsIsKept)
{
    // Latin-1 "µ" (0xB5) is no UTF-8, and looks like the middle of a character: a cut
    // taken for whole would name the first folder.
    const std::string tooLong = "/" + std::string(300, '\xB5') + "/" + std::string(300, '\xB5');
    const std::string longest = "/" + std::string(kPathBufferSize - 2, '\xB5');
    dialog_.SetDlgItemText(kPlainEdit, tooLong.c_str());
    EXPECT_EQ(PathFieldText(dialog_.m_hWnd, kPlainEdit), "");
    EXPECT_EQ(Resolved(), "");
    dialog_.SetDlgItemText(kPlainEdit, longest.c_str());
    EXPECT_EQ(PathFieldText(dialog_.m_hWnd, kPlainEdit), longest);
    EXPECT_EQ(Resolved(), longest);
}
