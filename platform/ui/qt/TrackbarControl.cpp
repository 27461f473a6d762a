#include "platform/ui/qt/ControlFactory.h"

#include <QKeyEvent>
#include <QSlider>

namespace {

// A horizontal slider whose Up and Page Up lower the position and whose Down and Page
// Down raise it, as the desktop's trackbar does; Qt's own slider moves the other way for
// these keys (Left, Right, Home and End agree).
class DesktopSlider : public QSlider {
public:
    explicit DesktopSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Up:
            triggerAction(SliderSingleStepSub);
            return;
        case Qt::Key_Down:
            triggerAction(SliderSingleStepAdd);
            return;
        case Qt::Key_PageUp:
            triggerAction(SliderPageStepSub);
            return;
        case Qt::Key_PageDown:
            triggerAction(SliderPageStepAdd);
            return;
        default:
            QSlider::keyPressEvent(event);
        }
    }
};

WORD ScrollCode(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return TB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return TB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return TB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return TB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return TB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return TB_BOTTOM;
    default:
        return TB_THUMBTRACK;
    }
}

// A horizontal trackbar. Moves by the user (mouse, keys) reach the parent as WM_HSCROLL,
// each with the code of the move and then TB_ENDTRACK; positions set by messages do not.
class TrackbarWindow : public UiWindow {
public:
    TrackbarWindow(const ControlResource& resource, UiWindow* dialog, QSlider* slider)
        : UiWindow(Kind::Trackbar, slider, dialog, resource.id, resource.style, resource.exStyle),
          slider_(slider)
    {
        QObject::connect(slider, &QSlider::actionTriggered,
                         [this](int action) { lastCode_ = ScrollCode(action); });
        QObject::connect(slider, &QSlider::valueChanged, [this](int position) {
            if (setting_)
                return;
            DispatchScope scope;
            Scroll(lastCode_, position);
            if (!slider_->isSliderDown())
                Scroll(TB_ENDTRACK, position);
        });
        QObject::connect(slider, &QSlider::sliderReleased, [this] {
            DispatchScope scope;
            Scroll(TB_ENDTRACK, slider_->value());
        });
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case TBM_GETPOS:
            return slider_->value();
        case TBM_GETRANGEMIN:
            return slider_->minimum();
        case TBM_GETRANGEMAX:
            return slider_->maximum();
        case TBM_SETPOS:
            Set([&] { slider_->setValue(static_cast<int>(lParam)); });
            return 0;
        case TBM_SETRANGE:
            Set([&] {
                slider_->setRange(static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                                  static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam))));
            });
            return 0;
        case TBM_SETTICFREQ:
            slider_->setTickInterval(static_cast<int>(wParam));
            return 0;
        case TBM_SETPAGESIZE: {
            const int previous = slider_->pageStep();
            slider_->setPageStep(static_cast<int>(lParam));
            return previous;
        }
        case TBM_GETPAGESIZE:
            return slider_->pageStep();
        default:
            return UiWindow::DefaultProc(message, wParam, lParam);
        }
    }

private:
    template <class Change>
    void Set(Change change)
    {
        setting_ = true;
        change();
        setting_ = false;
    }

    void Scroll(WORD code, int position)
    {
        if (!parent())
            return;
        SendMessageA(parent()->handle(), WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
                     reinterpret_cast<LPARAM>(handle()));
    }

    QSlider* slider_;
    WORD lastCode_ = TB_THUMBTRACK;
    bool setting_ = false;
};

}  // namespace

UiWindow* CreateTrackbarControl(const ControlResource& resource, UiWindow* dialog)
{
    auto* slider = new DesktopSlider(dialog->clientWidget());
    slider->setRange(0, 100);
    slider->setTickPosition(resource.style & TBS_NOTICKS ? QSlider::NoTicks : QSlider::TicksBelow);
    return new TrackbarWindow(resource, dialog, slider);
}
