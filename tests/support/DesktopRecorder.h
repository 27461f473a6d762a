#pragma once

#include "platform/win/DesktopHooks.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testmedia {

// Answers what a person or the desktop would, and records every question, for as long as
// it lives: message boxes answer 1 (OK), pickers pop their queued answers (Cancel when
// none is left), launches succeed unless told otherwise, picture windows are only
// recorded, and the installed compressors are the linked FFmpeg's until
// InstallCompressors names others. User-interface thread; one at a time.
class DesktopRecorder {
public:
    DesktopRecorder()
    {
        DesktopHooks hooks;
        hooks.messageBox = [this](const MessageBoxCall& call) {
            boxes.push_back(call);
            return 1;
        };
        hooks.pickFile = [this](const FilePickCall& call) {
            filePicks.push_back(call);
            return Pop(fileAnswers);
        };
        hooks.pickFolder = [this](const FolderPickCall& call) {
            folderPicks.push_back(call);
            return Pop(folderAnswers);
        };
        hooks.openWithDesktop = [this](const std::string& target) {
            opened.push_back(target);
            return launchesSucceed;
        };
        hooks.startProgram = [this](const ProgramStart& start) {
            started.push_back(start);
            return launchesSucceed;
        };
        hooks.pictureWindow = [this](const PictureWindowCall& call) { pictures.push_back(call); };
        hooks_ = hooks;
        InstallDesktopHooks(std::move(hooks));
    }
    ~DesktopRecorder() { ResetDesktopHooks(); }
    DesktopRecorder(const DesktopRecorder&) = delete;
    DesktopRecorder& operator=(const DesktopRecorder&) = delete;

    // From now on the machine's compressors are these, in this order; those named broken
    // are listed but cannot be created.
    void InstallCompressors(std::vector<std::string> audio, std::vector<std::string> video,
                            std::vector<std::string> broken = {})
    {
        hooks_.compressors = [audio = std::move(audio),
                              video = std::move(video)](CompressorCategory category) {
            return category == CompressorCategory::Audio ? audio : video;
        };
        hooks_.compressorCreatable = [broken = std::move(broken)](CompressorCategory,
                                                                  const std::string& name) {
            return std::find(broken.begin(), broken.end(), name) == broken.end();
        };
        InstallDesktopHooks(hooks_);
    }

    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<std::string>> folderAnswers;
    bool launchesSucceed = true;

    std::vector<MessageBoxCall> boxes;
    std::vector<FilePickCall> filePicks;
    std::vector<FolderPickCall> folderPicks;
    std::vector<std::string> opened;
    std::vector<ProgramStart> started;
    std::vector<PictureWindowCall> pictures;

private:
    DesktopHooks hooks_;

    static std::optional<std::string> Pop(std::deque<std::optional<std::string>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        std::optional<std::string> answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace testmedia
