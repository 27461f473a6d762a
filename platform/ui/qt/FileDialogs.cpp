#include "platform/ui/FileDialogs.h"

#include "platform/ui/qt/LocalPaths.h"
#include "platform/ui/qt/ModalOwner.h"
#include "platform/ui/qt/UiWindow.h"
#include "platform/win/DesktopHooks.h"

#include <QFileDialog>

#include <cstring>

namespace {

// Description and pattern pairs, each ended by a terminator, the list by an empty text.
std::vector<FileFilter> ParseFilters(const char* list)
{
    std::vector<FileFilter> filters;
    while (list && *list) {
        FileFilter filter{list, {}};
        list += std::strlen(list) + 1;
        const std::string patterns = *list ? list : "";
        if (*list)
            list += std::strlen(list) + 1;
        std::size_t start = 0;
        while (start <= patterns.size()) {
            const std::size_t end = std::min(patterns.find(';', start), patterns.size());
            std::string pattern = patterns.substr(start, end - start);
            pattern.erase(0, pattern.find_first_not_of(' '));
            pattern.erase(pattern.find_last_not_of(' ') + 1);
            if (!pattern.empty())
                filter.patterns.push_back(pattern);
            start = end + 1;
        }
        filters.push_back(std::move(filter));
    }
    return filters;
}

// The description stays as the user reads it; the patterns in the trailing parentheses,
// which the dialog hides, are what filters.
QStringList QtFilters(const std::vector<FileFilter>& filters)
{
    QStringList list;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns)
            patterns << FromUtf8(pattern);
        list << FromUtf8(filter.description) + QStringLiteral(" (") +
                    patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return list;
}

std::optional<std::string> RunPicker(const FilePickCall& call)
{
    const ModalOwner owner(call.owner);
    QFileDialog dialog(owner.widget(), FromUtf8(call.title), FromUtf8(call.initialFolder));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(call.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!call.filters.empty())
        dialog.setNameFilters(QtFilters(call.filters));
    // Added to a typed name without extension before the dialog looks for the file, so
    // that "Project" finds Project.avp where the file must exist.
    dialog.setDefaultSuffix(FromUtf8(call.defaultExtension));
    if (!call.initialName.empty())
        dialog.selectFile(FromUtf8(call.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return LocalPathBytes(dialog.selectedFiles().first());
}

std::string WithDefaultExtension(std::string path, const char* extension)
{
    const std::size_t name = path.find_last_of("\\/");
    const std::size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (name == std::string::npos || dot > name);
    if (extension && *extension && !hasExtension && !path.empty())
        path += std::string(".") + extension;
    return path;
}

}  // namespace

BOOL GetOpenFileNameA(OPENFILENAMEA* request)
{
    if (!request || !request->lpstrFile || request->nMaxFile == 0)
        return FALSE;
    const std::string initialName(request->lpstrFile,
                                  strnlen(request->lpstrFile, request->nMaxFile));
    const FilePickCall call{request->hwndOwner,
                            request->lpstrTitle ? request->lpstrTitle : "Open",
                            request->lpstrInitialDir ? request->lpstrInitialDir : "",
                            initialName,
                            ParseFilters(request->lpstrFilter),
                            request->lpstrDefExt ? request->lpstrDefExt : "",
                            (request->Flags & OFN_FILEMUSTEXIST) != 0};
    DispatchScope scope;
    const auto& hook = CurrentDesktopHooks().pickFile;
    const std::optional<std::string> chosen = hook ? hook(call) : RunPicker(call);
    if (!chosen || chosen->empty())
        return FALSE;
    const std::string path = WithDefaultExtension(*chosen, request->lpstrDefExt);
    if (path.size() + 1 > request->nMaxFile)
        return FALSE;
    std::memcpy(request->lpstrFile, path.c_str(), path.size() + 1);
    const std::size_t name = path.find_last_of("\\/");
    const std::size_t offset = name == std::string::npos ? 0 : name + 1;
    const std::size_t dot = path.rfind('.');
    request->nFileOffset = static_cast<WORD>(std::min<std::size_t>(offset, 0xFFFF));
    request->nFileExtension = static_cast<WORD>(
        dot != std::string::npos && dot >= offset ? std::min<std::size_t>(dot + 1, 0xFFFF) : 0);
    return TRUE;
}
