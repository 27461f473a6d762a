#include "platform/text/Utf8Copy.h"
#include "platform/ui/qt/ControlFactory.h"

#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <cstring>

namespace {

bool StartsWithIgnoringCase(const std::string& text, const char* prefix)
{
    const std::size_t length = std::strlen(prefix);
    if (length > text.size())
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(static_cast<unsigned char>(text[i])) !=
            lower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

// The closed list shows its selected item whole when it fits, else with its middle left
// out, so that items that differ only at their end (a compressor's "V2" and "V3") stay
// told apart.
class DropListBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                    QStyle::SC_ComboBoxEditField, this);
        option.currentText =
            fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, field.width());
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// A drop-down list without typing. The items are kept as the UTF-8 texts that were
// added, so that searches and copies work on exactly those bytes.
class DropListWindow : public UiWindow {
public:
    DropListWindow(const ControlResource& resource, UiWindow* dialog, QComboBox* combo)
        : UiWindow(Kind::DropList, combo, dialog, resource.id, resource.style, resource.exStyle),
          combo_(combo)
    {
        QObject::connect(combo, &QComboBox::activated, [this] {
            DispatchScope scope;
            NotifyCommand(CBN_SELCHANGE);
        });
    }

    std::string text() const override
    {
        const int index = combo_->currentIndex();
        return index >= 0 ? items_[static_cast<std::size_t>(index)] : std::string();
    }
    bool setText(const std::string&) override { return false; }

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
        switch (message) {
        case CB_ADDSTRING:
            return Add(lParam ? reinterpret_cast<const char*>(lParam) : "");
        case CB_DELETESTRING:
            return Delete(index);
        case CB_GETCOUNT:
            return count();
        case CB_GETCURSEL:
            return combo_->currentIndex() >= 0 ? combo_->currentIndex() : CB_ERR;
        case CB_GETLBTEXT:
            if (!Valid(index) || !lParam)
                return CB_ERR;
            return CopyOut(items_[static_cast<std::size_t>(index)], reinterpret_cast<char*>(lParam),
                           kComboItemTextMax + 1);
        case CB_GETLBTEXTLEN:
            return Valid(index)
                       ? static_cast<LRESULT>(items_[static_cast<std::size_t>(index)].size())
                       : CB_ERR;
        case CB_RESETCONTENT:
            items_.clear();
            combo_->clear();
            return 0;
        case CB_FINDSTRING:
            return Find(index, reinterpret_cast<const char*>(lParam));
        case CB_SELECTSTRING: {
            const int found = Find(index, reinterpret_cast<const char*>(lParam));
            if (found != CB_ERR)
                combo_->setCurrentIndex(found);
            return found;
        }
        case CB_SETCURSEL:
            combo_->setCurrentIndex(Valid(index) ? index : -1);
            return Valid(index) ? index : CB_ERR;
        default:
            return UiWindow::DefaultProc(message, wParam, lParam);
        }
    }

    int Add(const char* text)
    {
        std::string item(text, Utf8PrefixLength(text, kComboItemTextMax));
        // Qt selects the first item added to an empty list; the desktop's list does not.
        const int selected = combo_->currentIndex();
        items_.push_back(item);
        combo_->addItem(FromUtf8(item));
        combo_->setCurrentIndex(selected);
        return count() - 1;
    }

    // The desktop's list loses its selection with the selected item; Qt's would move it to
    // a neighbour.
    int Delete(int index)
    {
        if (!Valid(index))
            return CB_ERR;
        const int selected = combo_->currentIndex();
        items_.erase(items_.begin() + index);
        combo_->removeItem(index);
        if (selected == index)
            combo_->setCurrentIndex(-1);
        return count();
    }

private:
    int count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < count(); }

    int Find(int after, const char* prefix) const
    {
        if (!prefix || !*prefix || items_.empty())
            return CB_ERR;
        const int start = Valid(after) ? after + 1 : 0;
        for (int step = 0; step < count(); ++step) {
            const int index = (start + step) % count();
            if (StartsWithIgnoringCase(items_[static_cast<std::size_t>(index)], prefix))
                return index;
        }
        return CB_ERR;
    }

    QComboBox* combo_;
    std::vector<std::string> items_;
};

}  // namespace

UiWindow* CreateDropListControl(const ControlResource& resource, UiWindow* dialog)
{
    auto* combo = new DropListBox(dialog->clientWidget());
    combo->setEditable(false);
    auto* window = new DropListWindow(resource, dialog, combo);
    for (const char* item : resource.items)
        window->Add(item);
    combo->setCurrentIndex(-1);
    return window;
}
