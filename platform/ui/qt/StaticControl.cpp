#include "platform/ui/Gdi.h"
#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/GdiObjects.h"

#include <QEvent>
#include <QLabel>

namespace {

// A label's "&" letter moves the focus to the control after it and presses nothing, as on
// the desktop (Qt's own label would click a button that follows it).
class MnemonicLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::Shortcut || !buddy())
            return QLabel::event(event);
        buddy()->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
};

// A label: text (with "&" mnemonics and line breaks), or the icon or bitmap its resource
// names. Sunken ones are framed like a status field.
class StaticWindow : public UiWindow {
public:
    StaticWindow(const ControlResource& resource, UiWindow* dialog, QLabel* label)
        : UiWindow(Kind::Static, label, dialog, resource.id, resource.style, resource.exStyle),
          label_(label)
    {}

    std::string text() const override { return text_; }
    bool setText(const std::string& text) override
    {
        text_ = text;
        const DWORD type = style() & 0x1F;
        if (type != SS_ICON && type != SS_BITMAP)
            label_->setText(DisplayText(text));
        return true;
    }

private:
    QLabel* label_;
    std::string text_;
};

}  // namespace

QString DisplayText(const std::string& text)
{
    QString shown = FromUtf8(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

UiWindow* CreateStaticControl(const ControlResource& resource, UiWindow* dialog, HINSTANCE module)
{
    auto* label = new MnemonicLabel(dialog->clientWidget());
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const DWORD type = resource.style & 0x1F;
    label->setWordWrap(type == SS_LEFT);
    if (resource.style & SS_SUNKEN) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (type == SS_ICON || type == SS_BITMAP) {
        const UINT imageType = type == SS_ICON ? IMAGE_ICON : IMAGE_BITMAP;
        HGDIOBJ image = LoadImageA(module, MAKEINTRESOURCEA(static_cast<WORD>(resource.image)),
                                   imageType, 0, 0, LR_DEFAULTSIZE | LR_SHARED);
        if (image && type == SS_ICON) {
            auto* icon = static_cast<HICON>(image);
            label->setPixmap(icon->icon.pixmap(icon->size));
        } else if (image) {
            auto* bitmap = static_cast<HBITMAP>(image);
            label->setPixmap(QPixmap::fromImage(bitmap->image));
            DeleteObject(bitmap);
        }
    }
    return new StaticWindow(resource, dialog, label);
}
