#include "platform/ui/qt/ControlFactory.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace {

// A tab strip over a framed area. Unlike Qt's tab bar it can show no tab selected, as
// the desktop's can (and as the dialogs ask for before the user picks one).
class TabStrip : public QWidget {
public:
    explicit TabStrip(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }

    std::vector<QString> tabs;
    int current = -1;
    // Called when the user picks another tab.
    std::function<void()> picked;

    QRect TabRect(int index) const
    {
        int x = 2;
        for (int i = 0; i < index; ++i)
            x += TabWidth(i);
        return QRect(x, 0, TabWidth(index), TabHeight());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionTabWidgetFrame frame;
        frame.initFrom(this);
        frame.rect = rect().adjusted(0, TabHeight() - 1, 0, 0);
        frame.shape = QTabBar::RoundedNorth;
        frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        frame.tabBarRect = QRect(0, 0, width(), TabHeight());
        frame.tabBarSize = frame.tabBarRect.size();
        if (current >= 0)
            frame.selectedTabRect = TabRect(current);
        painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
        // Styles draw a selected tab taller than its row, for a tab bar that the framed
        // area then covers; here both share one widget, so the tabs keep to their row.
        painter.setClipRect(0, 0, width(), TabHeight());
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            QStyleOptionTab tab = TabOption(i);
            tab.rect = TabRect(i);
            painter.drawControl(QStyle::CE_TabBarTab, tab);
        }
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            if (TabRect(i).contains(event->position().toPoint())) {
                Pick(i);
                return;
            }
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        const int count = static_cast<int>(tabs.size());
        if (event->key() == Qt::Key_Right && current + 1 < count)
            Pick(current + 1);
        else if (event->key() == Qt::Key_Left && current > 0)
            Pick(current - 1);
        else
            QWidget::keyPressEvent(event);
    }

private:
    QStyleOptionTab TabOption(int index) const
    {
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.text = tabs[static_cast<std::size_t>(index)];
        tab.shape = QTabBar::RoundedNorth;
        const int last = static_cast<int>(tabs.size()) - 1;
        tab.position = last == 0       ? QStyleOptionTab::OnlyOneTab
                       : index == 0    ? QStyleOptionTab::Beginning
                       : index == last ? QStyleOptionTab::End
                                       : QStyleOptionTab::Middle;
        tab.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (index == current) {
            tab.state |= QStyle::State_Selected;
            if (hasFocus())
                tab.state |= QStyle::State_HasFocus;
        }
        return tab;
    }

    QSize TabSize(int index) const
    {
        const QStyleOptionTab tab = TabOption(index);
        // As Qt's own tab bar measures a tab: the text and the style's spacing around it.
        const QSize text(fontMetrics().horizontalAdvance(tab.text) +
                             style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &tab, this),
                         fontMetrics().height() +
                             style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &tab, this));
        return style()->sizeFromContents(QStyle::CT_TabBarTab, &tab, text, this);
    }
    int TabHeight() const
    {
        return tabs.empty() ? fontMetrics().height() + 8 : TabSize(0).height();
    }
    int TabWidth(int index) const { return TabSize(index).width(); }

    void Pick(int index)
    {
        if (index == current)
            return;
        current = index;
        update();
        if (picked)
            picked();
    }
};

class TabWindow : public UiWindow {
public:
    TabWindow(const ControlResource& resource, UiWindow* dialog, TabStrip* strip)
        : UiWindow(Kind::Tab, strip, dialog, resource.id, resource.style, resource.exStyle),
          strip_(strip)
    {
        strip->picked = [this] {
            DispatchScope scope;
            NotifyParent(TCN_SELCHANGE);
        };
    }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const int count = static_cast<int>(strip_->tabs.size());
        switch (message) {
        case TCM_GETITEMCOUNT:
            return count;
        case TCM_INSERTITEMA: {
            const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
            if (!item)
                return -1;
            const int index = std::clamp(static_cast<int>(wParam), 0, count);
            const QString text = (item->mask & TCIF_TEXT) && item->pszText
                                     ? QString::fromUtf8(item->pszText)
                                     : QString();
            strip_->tabs.insert(strip_->tabs.begin() + index, text);
            if (strip_->current >= index)
                ++strip_->current;
            strip_->update();
            return index;
        }
        case TCM_GETCURSEL:
            return strip_->current;
        case TCM_SETCURSEL: {
            const int previous = strip_->current;
            const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            strip_->current = index >= 0 && index < count ? index : -1;
            strip_->update();
            return previous;
        }
        default:
            return UiWindow::DefaultProc(message, wParam, lParam);
        }
    }

private:
    TabStrip* strip_;
};

}  // namespace

UiWindow* CreateTabControl(const ControlResource& resource, UiWindow* dialog)
{
    return new TabWindow(resource, dialog, new TabStrip(dialog->clientWidget()));
}
