#include "media/ui/EditFile.h"

#include "media/PathUtils.h"

BEGIN_MESSAGE_MAP(CEditFile, CEdit)
ON_WM_DROPFILES()
END_MESSAGE_MAP()

void CEditFile::OnDropFiles(HDROP drop)
{
    char path[kPathBufferSize] = {};
    const UINT length = DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    if (length > 0)
        SetWindowText(path);
}
