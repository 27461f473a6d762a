#include "media/ui/EditFile.h"

#include "platform/ui/DropFiles.h"
#include "support/TestDialogs.h"

#include <gtest/gtest.h>

#include <string>

using namespace testdialogs;

namespace {

// A dialog whose path field is a CEditFile, counting the field's change notifications.
class PathDlg : public CDialog {
public:
    PathDlg() : CDialog(kProbeDialog) {}
    CEditFile path;
    int changes = 0;

protected:
    void DoDataExchange(CDataExchange* exchange) override
    {
        CDialog::DoDataExchange(exchange);
        DDX_Control(exchange, kDropEdit, path);
    }
    void OnChangePath() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PathDlg, CDialog)
ON_EN_CHANGE(kDropEdit, &PathDlg::OnChangePath)
END_MESSAGE_MAP()

class EditFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AfxSetResourceHandle(&kModule);
        ASSERT_TRUE(dialog_.Create(kProbeDialog));
        dialog_.changes = 0;
    }
    void TearDown() override
    {
        dialog_.DestroyWindow();
        AfxSetResourceHandle(nullptr);
    }
    std::string Text() const
    {
        char text[1024];
        dialog_.path.GetWindowText(text, sizeof text);
        return text;
    }
    PathDlg dialog_;
};

}  // namespace

TEST_F(EditFileTest, TakesTheFirstDroppedFileWithOneChangeAsTypingIt)
{
    ASSERT_TRUE(DropFilesOnWindow(dialog_.path.m_hWnd,
                                  {"/pics/first one.bmp", "/pics/second.bmp", "/pics/third.bmp"}));
    EXPECT_EQ(Text(), "/pics/first one.bmp");
    EXPECT_EQ(dialog_.changes, 1);
    ASSERT_TRUE(DropFilesOnWindow(dialog_.path.m_hWnd, {"/pics/first one.bmp"}));
    EXPECT_EQ(dialog_.changes, 2);  // the same path again still notifies
}

TEST_F(EditFileTest, APathTooLongForAPathBufferIsRefusedAndTheFieldKeepsItsText)
{
    dialog_.path.SetWindowText("/pics/kept.bmp");
    dialog_.changes = 0;
    const std::string longest = "/" + std::string(518, 'a');  // 519 bytes: fits
    const std::string tooLong = "/" + std::string(519, 'a');  // 520 bytes: would be cut
    ASSERT_TRUE(DropFilesOnWindow(dialog_.path.m_hWnd, {tooLong}));
    EXPECT_EQ(Text(), "/pics/kept.bmp");
    EXPECT_EQ(dialog_.changes, 0);
    ASSERT_TRUE(DropFilesOnWindow(dialog_.path.m_hWnd, {longest}));
    EXPECT_EQ(Text(), longest);
    EXPECT_EQ(dialog_.changes, 1);
}
