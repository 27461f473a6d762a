#include "creator/app/OutputField.h"

#include "creator/app/PlumetaDlgResource.h"
#include "creator/engine/VideoCreator.h"
#include "media/PathUtils.h"
#include "media/ui/PathField.h"

bool OutputFieldNamesAnInput(HWND mainDialog)
{
    char output[kPathBufferSize];
    char templatePath[kPathBufferSize];
    char audioPath[kPathBufferSize];
    char backgroundPath[kPathBufferSize];
    char facePath[kPathBufferSize];
    ReadResolvedPathField(mainDialog, kOutputPath, output);
    ReadResolvedPathField(mainDialog, kTemplatePath, templatePath);
    ReadResolvedPathField(mainDialog, kAudioPath, audioPath);
    ReadResolvedPathField(mainDialog, kBackgroundPath, backgroundPath);
    ReadResolvedPathField(mainDialog, kFaceImagePath, facePath);
    return CVideoCreator::OutputIsAnInput(output,
                                          {templatePath, audioPath, backgroundPath, facePath});
}
