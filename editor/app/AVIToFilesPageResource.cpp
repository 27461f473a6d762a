#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "editor/app/PageStyles.h"

using namespace gresmont;

namespace {

constexpr ControlResource kControls[] = {
    {IDC_STATIC, ControlKind::Static, "&Input AVI File", 10, 8, 45, 18},
    {kAviField, ControlKind::Edit, "", 60, 7, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectAviButton, ControlKind::Button, "Select File", 240, 2, 22, 20, kPageIconButton},
    {kPlayButton, ControlKind::Button, "Play", 262, 2, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "&Output Folder", 10, 31, 45, 18},
    {kFolderField, ControlKind::Edit, "", 60, 29, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectFolderButton, ControlKind::Button, "Select Folder", 240, 25, 22, 20, kPageIconButton},
    {kOpenFolderButton, ControlKind::Button, "Open Folder", 262, 25, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "&First Output File", 10, 53, 45, 18},
    {kFirstField, ControlKind::Edit, "", 60, 51, 180, 12, kPathFieldStyle, kPathFieldExStyle},
    {kSelectFirstButton, ControlKind::Button, "Select File", 240, 48, 22, 20, kPageIconButton},
    {kOpenFirstButton, ControlKind::Button, "Open File", 262, 48, 22, 20, kPageIconButton},
    {IDC_STATIC, ControlKind::Static, "File &Step", 10, 75, 45, 18},
    {kStepList, ControlKind::DropList, "", 60, 73, 180, 120, kPageListStyle},
};

}  // namespace

extern const DialogResource kAviToFilesPageResource{
    .id = kAviToFilesPageId,
    .caption = "",
    .cx = 290,
    .cy = 160,
    .style = kPageStyle,
    .exStyle = kPageExStyle,
    .controls = kControls,
};
