#include "tools/gallery/DialogGallery.h"

#include "creator/app/AboutDlgResource.h"
#include "creator/app/OptionsDlgResource.h"
#include "creator/app/PlumetaDlgResource.h"
#include "creator/app/TavrinoResources.h"
#include "editor/app/EditorIds.h"
#include "editor/app/EditorResources.h"
#include "platform/ui/DialogWindows.h"
#include "platform/ui/WindowServices.h"
#include "tools/gallery/EditorSnapshots.h"
#include "tools/gallery/SampleDialog.h"
#include "tools/gallery/TavrinoDialogs.h"

namespace {

constexpr DialogSnapshot kSnapshots[] = {
    {"LayerSample", &kSampleModule, kSampleDialogId, &FillSampleDialog, &EmptySampleDialog},
    {"TavrinoMain", &kTavrinoModule, kPlumetaDialogId, nullptr, nullptr, &StartTavrinoMainDialog,
     &EndTavrinoMainDialog},
    {"TavrinoOptions", &kTavrinoModule, kOptionsDialogId, &FillTavrinoOptions},
    {"TavrinoAbout", &kTavrinoModule, kAboutDialogId},
    {"GresmontAviToFiles", &kEditorModule, gresmont::kMainDialogId, &FillEditorWithAviToFiles},
    {"GresmontFilesToAvi", &kEditorModule, gresmont::kMainDialogId, &FillEditorWithFilesToAvi},
    {"GresmontAbout", &kEditorModule, gresmont::kAboutDialogId},
};

constexpr int kPageHostId = 1;

// A bare window for a page, as large as the page.
HWND MakePageHost(const DialogResource& page)
{
    static DialogResource host;
    static const DialogResource* hosts[] = {&host};
    static const ResourceModule module{"PageHost", hosts};
    host = DialogResource{kPageHostId, page.caption, page.cx, page.cy, WS_POPUP | WS_CAPTION};
    return CreateDialogWindow(&module, kPageHostId, nullptr, nullptr, false);
}

}  // namespace

std::span<const DialogSnapshot> DialogSnapshots()
{
    return kSnapshots;
}

SnapshotWindow MakeSnapshotWindow(const DialogSnapshot& snapshot)
{
    if (snapshot.open)
        return snapshot.open();
    const DialogResource* resource = FindDialogResource(snapshot.module, snapshot.dialogId);
    if (!resource)
        return {};
    HWND host = nullptr;
    if (resource->style & WS_CHILD) {
        host = MakePageHost(*resource);
        if (!host)
            return {};
    }
    HWND dialog = CreateDialogWindow(snapshot.module, snapshot.dialogId, host, nullptr, false);
    if (!dialog) {
        DestroyWindow(host);
        return {};
    }
    if (snapshot.fill)
        snapshot.fill(dialog);
    ShowWindow(dialog, SW_SHOW);
    if (host)
        ShowWindow(host, SW_SHOW);
    return {host ? host : dialog, dialog};
}

void DestroySnapshotWindow(const DialogSnapshot& snapshot, const SnapshotWindow& window)
{
    if (snapshot.close) {
        snapshot.close();
        return;
    }
    if (snapshot.empty && window.dialog)
        snapshot.empty(window.dialog);
    DestroyWindow(window.frame);
}
