#include "platform/ui/TextFit.h"

#include "platform/ui/qt/ControlFactory.h"
#include "platform/ui/qt/DialogFont.h"

#include <QFontMetrics>
#include <QRegularExpression>

namespace {

// Room the controls' frames take, in pixels (what Qt's styles draw around a text).
constexpr int kButtonMargin = 8;
constexpr int kEditMargin = 6;
constexpr int kDropListArrow = 24;
constexpr int kSunkenFrame = 4;

// The text as shown: "&" marks the next letter and is not drawn itself ("&&" is one).
QString ShownText(const char* text)
{
    QString shown = DisplayText(text ? text : "");
    QString result;
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i] == QLatin1Char('&') && i + 1 < shown.size())
            ++i;
        result += shown[i];
    }
    return result;
}

QSize LinesSize(const QFontMetrics& metrics, const QString& text)
{
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return QSize(width, static_cast<int>(lines.size()) * metrics.height());
}

// The room a control's text needs, or an empty size for a control that shows no text.
QSize Needed(const ControlResource& control, const QFontMetrics& metrics, int width)
{
    const QString text = ShownText(control.text);
    const DWORD type = control.style & 0x1F;
    switch (control.kind) {
    case ControlKind::Static: {
        if (text.isEmpty() || type == SS_ICON || type == SS_BITMAP)
            return {};
        const int frame = control.style & SS_SUNKEN ? kSunkenFrame : 0;
        if (type != SS_LEFT)
            return LinesSize(metrics, text) + QSize(frame, frame);
        // A wrapped label needs every word to fit a line, and the lines its height.
        int widest = 0;
        for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+"))))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        const QRect wrapped = metrics.boundingRect(QRect(0, 0, width - frame, 10000),
                                                   Qt::TextWordWrap | Qt::AlignLeft, text);
        return QSize(widest + frame, wrapped.height() + frame);
    }
    case ControlKind::Button:
        if (text.isEmpty() || (control.style & (BS_ICON | BS_BITMAP)))
            return {};
        return LinesSize(metrics, text) + QSize(kButtonMargin, 2);
    case ControlKind::Edit:
        return text.isEmpty() ? QSize() : LinesSize(metrics, text) + QSize(kEditMargin, 2);
    case ControlKind::DropList: {
        int widest = 0;
        for (const char* item : control.items)
            widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(item)));
        return control.items.empty() ? QSize() : QSize(widest + kDropListArrow, metrics.height());
    }
    case ControlKind::Trackbar:
    case ControlKind::Tab:
        return {};
    }
    return {};
}

}  // namespace

std::vector<std::string> TextsThatDoNotFit(const DialogResource& dialog)
{
    const QFontMetrics metrics(DialogFont());
    std::vector<std::string> misfits;
    for (const ControlResource& control : dialog.controls) {
        const QRect rect = DialogUnitsToRect(control.x, control.y, control.cx, control.cy);
        const QSize needed = Needed(control, metrics, rect.width());
        if (needed.isEmpty() ||
            (needed.width() <= rect.width() && needed.height() <= rect.height()))
            continue;
        misfits.push_back(std::to_string(control.id) + " \"" + (control.text ? control.text : "") +
                          "\": needs " + std::to_string(needed.width()) + " x " +
                          std::to_string(needed.height()) + " pixels, has " +
                          std::to_string(rect.width()) + " x " + std::to_string(rect.height()));
    }
    return misfits;
}
