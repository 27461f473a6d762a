#pragma once

#include "platform/win/DesktopHooks.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace testmedia {

// Answers what a person or the desktop would, and records every question, for as long as
// it lives: message boxes answer 1 (OK), pickers pop their queued answers (Cancel when
// none is left), launches succeed unless told otherwise, picture windows are only
// recorded. User-interface thread; one at a time.
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
        InstallDesktopHooks(std::move(hooks));
    }
    ~DesktopRecorder() { ResetDesktopHooks(); }
    DesktopRecorder(const DesktopRecorder&) = delete;
    DesktopRecorder& operator=(const DesktopRecorder&) = delete;

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
