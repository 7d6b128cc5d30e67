#include "documents/ScreenFit.h"

#include <QScreen>
#include <QWidget>

namespace {
// A window manager's frame around the window; its real size is known only once shown.
constexpr QSize frameAllowance(8, 40);
} // namespace

void resizeToFit(QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen();
    if (!screen) {
        window.resize(wanted);
        return;
    }
    const QSize room = screen->availableGeometry().size() - frameAllowance;
    window.resize(wanted.boundedTo(room.expandedTo(window.minimumSize())));
}
