#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/GdiObjects.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// A push button that can show a bitmap (a preview) instead of its text. The bitmap is
// read at every paint, so a picture copied into it shows at the next repaint; a deleted
// bitmap shows nothing.
class PictureButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    HBITMAP bitmap = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        const QImage* image = bitmap ? LiveBitmap(bitmap) : nullptr;
        if (!image) {
            QPushButton::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButton, option);
        const QRect inside = rect().adjusted(2, 2, -2, -2);
        painter.setClipRect(inside);
        const QPoint corner(inside.x() + (inside.width() - image->width()) / 2,
                            inside.y() + (inside.height() - image->height()) / 2);
        painter.drawImage(corner, *image);
    }
};

class ButtonWindow : public UiWindow {
public:
    ButtonWindow(const ControlResource& resource, UiWindow* dialog, PictureButton* button)
        : UiWindow(Kind::Button, button, dialog, resource.id, resource.style, resource.exStyle),
          button_(button)
    {
        QObject::connect(button, &QPushButton::clicked, [this] {
            DispatchScope scope;
            NotifyCommand(BN_CLICKED);
        });
    }

    std::string text() const override { return text_; }
    bool setText(const std::string& text) override
    {
        text_ = text;
        if (!showsImage())
            button_->setText(DisplayText(text));
        return true;
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == BM_GETIMAGE)
            return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(icon_)
                                        : reinterpret_cast<LRESULT>(button_->bitmap);
        if (message != BM_SETIMAGE)
            return UiWindow::DefaultProc(message, wParam, lParam);
        if (wParam == IMAGE_ICON) {
            HICON previous = icon_;
            icon_ = reinterpret_cast<HICON>(lParam);
            ShowIcon();
            return reinterpret_cast<LRESULT>(previous);
        }
        HBITMAP previous = button_->bitmap;
        button_->bitmap = reinterpret_cast<HBITMAP>(lParam);
        button_->update();
        return reinterpret_cast<LRESULT>(previous);
    }

private:
    bool showsImage() const { return style() & (BS_ICON | BS_BITMAP); }

    void ShowIcon()
    {
        if (!icon_) {
            button_->setIcon(QIcon());
            return;
        }
        // The icon keeps its size when it fits, else shrinks to leave the frame visible.
        const int room = std::max(8, std::min(button_->width(), button_->height()) - 6);
        button_->setIcon(icon_->icon);
        button_->setIconSize(icon_->size.boundedTo(QSize(room, room)));
    }

    PictureButton* button_;
    std::string text_;
    HICON icon_ = nullptr;
};

}  // namespace

UiWindow* CreateButtonControl(const ControlResource& resource, UiWindow* dialog)
{
    auto* button = new PictureButton(dialog->clientWidget());
    button->setAutoDefault(false);
    button->setDefault((resource.style & 0x0F) == BS_DEFPUSHBUTTON);
    return new ButtonWindow(resource, dialog, button);
}
