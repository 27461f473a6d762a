#include "creator/app/TavrinoResources.h"

#include "creator/app/AboutDlgResource.h"
#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlgResource.h"

namespace {

constexpr const DialogResource* kDialogs[] = {&kAboutDialog, &kOptionsDialog, &kPlumetaDialog};
constexpr const MenuResource* kMenus[] = {&kPlumetaMenu};
constexpr ImageResource kImages[] = {
    {kAboutBanner, ImageKind::Bitmap, ":/creator/Banner.png"},
    {kMainIcon, ImageKind::Icon, ":/creator/Tavrino.png"},
    {kCreateIcon, ImageKind::Icon, ":/creator/Create.png"},
    {kEditIcon, ImageKind::Icon, ":/creator/Edit.png"},
    {kExitIcon, ImageKind::Icon, ":/creator/Exit.png"},
    {kSelectIcon, ImageKind::Icon, ":/creator/Select.png"},
    {kFolderIcon, ImageKind::Icon, ":/creator/Folder.png"},
    {kWebIcon, ImageKind::Icon, ":/creator/Web.png"},
    {kOptionsIcon, ImageKind::Icon, ":/creator/Options.png"},
    {kPlayIcon, ImageKind::Icon, ":/creator/Play.png"},
    {kStopIcon, ImageKind::Icon, ":/creator/Stop.png"},
};

}  // namespace

const ResourceModule kTavrinoModule{"Tavrino", kDialogs, kMenus, kImages};
