#include "platform/ui/DropFiles.h"
#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/LocalPaths.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace {

std::vector<std::string> LocalFiles(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths.push_back(LocalFileOfUrl(url));
    }
    return paths;
}

// A one-line edit that takes dropped local files when its window accepts them, instead
// of inserting the dropped text.
class FileEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (AcceptsFiles() && !LocalFiles(event->mimeData()).empty())
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (AcceptsFiles())
            event->acceptProposedAction();
        else
            event->ignore();
    }
    void dropEvent(QDropEvent* event) override
    {
        UiWindow* window = UiWindow::FromWidget(this);
        if (window && DropFilesOnWindow(window->handle(), LocalFiles(event->mimeData())))
            event->acceptProposedAction();
        else
            event->ignore();
    }

private:
    bool AcceptsFiles()
    {
        UiWindow* window = UiWindow::FromWidget(this);
        return window && (window->exStyle() & WS_EX_ACCEPTFILES);
    }
};

// The byte offset in the UTF-8 text of a position in the Qt text, and back.
int ByteOffset(const QString& text, int position)
{
    return static_cast<int>(ToUtf8(text.left(position)).size());
}

int CharacterPosition(const QString& text, long long offset)
{
    if (offset < 0)
        return static_cast<int>(text.size());
    int position = 0;
    long long bytes = 0;
    while (position < text.size()) {
        const int step = text[position].isHighSurrogate() && position + 1 < text.size() ? 2 : 1;
        const long long next =
            bytes + static_cast<long long>(ToUtf8(text.mid(position, step)).size());
        if (next > offset)
            break;
        bytes = next;
        position += step;
    }
    return position;
}

class EditWindow : public UiWindow {
public:
    EditWindow(const ControlResource& resource, UiWindow* dialog, FileEdit* edit)
        : UiWindow(Kind::Edit, edit, dialog, resource.id, resource.style, resource.exStyle),
          edit_(edit)
    {
        QObject::connect(edit, &QLineEdit::textEdited, [this] {
            DispatchScope scope;
            NotifyCommand(EN_CHANGE);
        });
    }

    std::string text() const override { return ToUtf8(edit_->text()); }
    // Every set notifies, also with the same text: the dialogs rely on it.
    bool setText(const std::string& text) override
    {
        edit_->setText(FromUtf8(text));
        edit_->setCursorPosition(0);
        NotifyCommand(EN_CHANGE);
        return true;
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const QString text = edit_->text();
        if (message == EM_GETSEL) {
            int start = edit_->cursorPosition();
            int end = start;
            if (edit_->hasSelectedText()) {
                start = edit_->selectionStart();
                end = start + static_cast<int>(edit_->selectedText().size());
            }
            const DWORD first = static_cast<DWORD>(ByteOffset(text, start));
            const DWORD last = static_cast<DWORD>(ByteOffset(text, end));
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = first;
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = last;
            return MAKELONG(static_cast<WORD>(std::min<DWORD>(first, 0xFFFF)),
                            static_cast<WORD>(std::min<DWORD>(last, 0xFFFF)));
        }
        if (message == EM_SETSEL) {
            const auto start = static_cast<long long>(static_cast<std::intptr_t>(wParam));
            const int end = CharacterPosition(text, lParam);
            if (start < 0) {
                edit_->deselect();
                edit_->setCursorPosition(end);
            } else {
                const int first = CharacterPosition(text, start);
                edit_->setSelection(first, end - first);
            }
            return 0;
        }
        return UiWindow::DefaultProc(message, wParam, lParam);
    }

private:
    FileEdit* edit_;
};

}  // namespace

UiWindow* CreateEditControl(const ControlResource& resource, UiWindow* dialog)
{
    auto* edit = new FileEdit(dialog->clientWidget());
    edit->setFrame(resource.style & WS_BORDER);
    edit->setAcceptDrops(resource.exStyle & WS_EX_ACCEPTFILES);
    return new EditWindow(resource, dialog, edit);
}
