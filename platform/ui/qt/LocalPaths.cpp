#include "platform/ui/qt/LocalPaths.h"

#include "platform/ui/qt/UiWindow.h"

#include <QFile>

#include <filesystem>
#include <optional>

namespace {

// The bytes of the one entry of folder that Qt shows as name; nothing when none or
// several match.
std::optional<std::string> EntryShownAs(const std::string& folder, const QString& name)
{
    std::optional<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string bytes = entry.path().filename().native();
        if (QFile::decodeName(QByteArray::fromStdString(bytes)) != name)
            continue;
        if (found)
            return std::nullopt;
        found = bytes;
    }
    return found;
}

}  // namespace

std::string LocalFileOfUrl(const QUrl& url)
{
    if (!url.host().isEmpty())
        return LocalPathBytes(url.toLocalFile());
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

std::string LocalPathBytes(const QString& shown)
{
    if (!shown.contains(QChar::ReplacementCharacter))
        return ToUtf8(shown);
    std::string path;
    const QStringList names = shown.split(QLatin1Char('/'));
    for (qsizetype index = 0; index < names.size(); ++index) {
        const QString& name = names[index];
        std::optional<std::string> bytes;
        if (name.contains(QChar::ReplacementCharacter)) {
            // The folder the name lies in: the working folder before a relative path's
            // first name, the root before an absolute path's.
            const std::string folder = index == 0 ? "." : path.empty() ? "/" : path;
            bytes = EntryShownAs(folder, name);
        }
        if (index > 0)
            path += '/';
        path += bytes ? *bytes : ToUtf8(name);
    }
    return path;
}
