#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "editor/app/PageStyles.h"

using namespace gresmont;

namespace {

constexpr ControlResource kControls[] = {
    {IDC_STATIC, ControlKind::Static, "&Input Folder", 10, 8, 45, 18},
    {kFolderField, ControlKind::Edit, "", 60, 7, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectFolderButton, ControlKind::Button, "Select Folder", 240, 2, 22, 20, kPageIconButton},
    {kOpenFolderButton, ControlKind::Button, "Open Folder", 262, 2, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "&First Input File", 10, 31, 45, 18},
    {kFirstField, ControlKind::Edit, "", 60, 29, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectFirstButton, ControlKind::Button, "Select File", 240, 25, 22, 20, kPageIconButton},
    {kOpenFirstButton, ControlKind::Button, "Open File", 262, 25, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "&Last Input File", 10, 53, 45, 18},
    {kLastField, ControlKind::Edit, "", 60, 51, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectLastButton, ControlKind::Button, "Select File", 240, 48, 22, 20, kPageIconButton},
    {kOpenLastButton, ControlKind::Button, "Open File", 262, 48, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "Maximum File &Step", 10, 75, 45, 18},
    {kStepList, ControlKind::DropList, "", 60, 73, 180, 120, kPageListStyle},
    {IDC_STATIC, ControlKind::Static, "&Output AVI File", 10, 97, 45, 18},
    {kAviField, ControlKind::Edit, "", 60, 95, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectAviButton, ControlKind::Button, "Select File", 240, 92, 22, 20, kPageIconButton},
    {kPlayButton, ControlKind::Button, "Play", 262, 92, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "Frame &Rate", 10, 119, 45, 18},
    {kRateList, ControlKind::DropList, "", 60, 117, 180, 120, kPageListStyle},
    {IDC_STATIC, ControlKind::Static, "&Compression", 10, 141, 45, 18},
    {kCompressorList, ControlKind::DropList, "", 60, 139, 180, 120, kPageListStyle},
};

}  // namespace

extern const DialogResource kFilesToAviPageResource{
    .id = kFilesToAviPageId,
    .caption = "",
    .cx = 290,
    .cy = 160,
    .style = kPageStyle,
    .exStyle = kPageExStyle,
    .controls = kControls,
};
