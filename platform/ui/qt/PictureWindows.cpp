#include "platform/ui/PictureWindows.h"

#include "platform/win/DesktopHooks.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <map>
#include <memory>
#include <string>

namespace {

// The open windows by name. With a picture-window hook in force there is no widget, only
// the name; a window the user closed is open no more.
std::map<std::string, QPointer<QLabel>>& Open()
{
    static std::map<std::string, QPointer<QLabel>> windows;
    return windows;
}

bool Hooked()
{
    return static_cast<bool>(CurrentDesktopHooks().pictureWindow);
}

void Tell(PictureWindowAction action, const std::string& name, int width = 0, int height = 0)
{
    CurrentDesktopHooks().pictureWindow(PictureWindowCall{action, name, width, height});
}

void ForgetClosed()
{
    for (auto it = Open().begin(); it != Open().end();) {
        if (!Hooked() && !it->second)
            it = Open().erase(it);
        else
            ++it;
    }
}

QImage ToImage(const PictureView& picture)
{
    const QImage::Format format =
        picture.channels == 3 ? QImage::Format_BGR888 : QImage::Format_Grayscale8;
    QImage image(picture.pixels, picture.width, picture.height, picture.step, format);
    return picture.bottomUp ? image.mirrored(false, true) : image.copy();
}

// Beside busy (to its right, else below it), so that the picture never lands on that
// window's buttons where the desktop leaves new windows where they are made.
void PlaceBeside(QWidget* window, const QWidget* busy)
{
    constexpr int kGap = 8;
    constexpr int kNarrowest = 64;
    const QRect taken = busy->frameGeometry();
    const QRect room = busy->screen()->availableGeometry();
    QPoint corner(taken.right() + 1 + kGap, taken.top());
    if (corner.x() + kNarrowest > room.right())
        corner = QPoint(taken.left(), taken.bottom() + 1 + kGap);
    window->move(corner);
}

// A new picture window opens beside the window the user works in. While there is none
// (the program is starting, its main dialog not shown yet), it goes beside the first
// window that becomes active.
void PlaceBesideWindowInUse(QWidget* window)
{
    if (const QWidget* active = QApplication::activeWindow()) {
        PlaceBeside(window, active);
        return;
    }
    auto placing = std::make_shared<QMetaObject::Connection>();
    *placing =
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, window, [window, placing] {
            const QWidget* active = QApplication::activeWindow();
            if (!active || active == window)
                return;
            QObject::disconnect(*placing);
            PlaceBeside(window, active);
        });
}

}  // namespace

int cvNamedWindow(const char* name, int)
{
    ForgetClosed();
    if (!name || Open().count(name))
        return 1;
    if (Hooked()) {
        Open()[name] = nullptr;
        Tell(PictureWindowAction::Open, name);
        return 1;
    }
    auto* window = new QLabel;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QString::fromUtf8(name));
    PlaceBesideWindowInUse(window);
    window->show();
    Open()[name] = window;
    return 1;
}

bool IsPictureWindowOpen(const char* name)
{
    ForgetClosed();
    return name && Open().count(name);
}

void ShowPicture(const char* name, const PictureView& picture)
{
    if (!IsPictureWindowOpen(name) || !picture.pixels || picture.width < 1 || picture.height < 1 ||
        (picture.channels != 1 && picture.channels != 3) ||
        picture.step < picture.width * picture.channels)
        return;
    if (Hooked()) {
        Tell(PictureWindowAction::Show, name, picture.width, picture.height);
        return;
    }
    QLabel* window = Open()[name];
    window->setPixmap(QPixmap::fromImage(ToImage(picture)));
    window->setFixedSize(picture.width, picture.height);
}

void cvDestroyWindow(const char* name)
{
    if (!IsPictureWindowOpen(name))
        return;
    QPointer<QLabel> window = Open()[name];
    Open().erase(name);
    if (Hooked())
        Tell(PictureWindowAction::Destroy, name);
    else
        delete window.data();
}

void cvDestroyAllWindows()
{
    ForgetClosed();
    while (!Open().empty()) {
        const std::string name = Open().begin()->first;
        cvDestroyWindow(name.c_str());
    }
}
