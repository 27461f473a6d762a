#include "editor/app/EditorResources.h"

#include "editor/app/EditorIds.h"

using namespace gresmont;

namespace {

constexpr const DialogResource* kDialogs[] = {&kMainDialogResource, &kAboutDialogResource,
                                              &kAviToFilesPageResource, &kFilesToAviPageResource};
constexpr const MenuResource* kMenus[] = {&kMainMenuResource};
constexpr ImageResource kImages[] = {
    {kAboutBitmapId, ImageKind::Bitmap, ":/editor/About.png"},
    {kProgramIconId, ImageKind::Icon, ":/editor/Gresmont.png"},
    {kExitIconId, ImageKind::Icon, ":/editor/Exit.png"},
    {kSelectFileIconId, ImageKind::Icon, ":/editor/SelectFile.png"},
    {kSelectFolderIconId, ImageKind::Icon, ":/editor/SelectFolder.png"},
    {kPlayIconId, ImageKind::Icon, ":/editor/Play.png"},
    {kStartIconId, ImageKind::Icon, ":/editor/Start.png"},
    {kStopIconId, ImageKind::Icon, ":/editor/Stop.png"},
    {kOpenFileIconId, ImageKind::Icon, ":/editor/OpenFile.png"},
    {kOpenFolderIconId, ImageKind::Icon, ":/editor/OpenFolder.png"},
};

}  // namespace

const ResourceModule kEditorModule{"Gresmont", kDialogs, kMenus, kImages};
