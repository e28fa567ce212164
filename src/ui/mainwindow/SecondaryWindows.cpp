#include "ui/mainwindow/SecondaryWindows.h"

#include <QEvent>
#include <QWidget>

SecondaryWindows::SecondaryWindows(QWidget* mainWindow)
    : m_main(mainWindow)
{
}

// The windows are the main window's children and go with it; this object may
// be gone before they are, and their `destroyed` connections go with it.
SecondaryWindows::~SecondaryWindows() = default;

void SecondaryWindows::open(QWidget* w)
{
    // Owned by the main window and kept above it by the window system.
    w->setParent(m_main, w->windowFlags() | Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->adjustSize();
    w->move(m_main->geometry().center() - w->rect().center());
    w->installEventFilter(this);
    m_windows.append(w);
    connect(w, &QObject::destroyed, this, [this](QObject* gone) {
        m_windows.removeIf([gone](const QPointer<QWidget>& p) { return p.isNull() || p.data() == gone; });
        restoreActiveName();
    });
    m_activeName = w->objectName();
    w->show();
    w->raise();
    w->activateWindow();
}

QWidget* SecondaryWindows::find(const QString& objectName) const
{
    for (const QPointer<QWidget>& w : m_windows)
        if (w && w->objectName() == objectName)
            return w;
    return nullptr;
}

void SecondaryWindows::restoreActiveName()
{
    m_activeName.clear();
    for (const QPointer<QWidget>& w : std::as_const(m_windows))
        if (w && w->isVisible())
            m_activeName = w->objectName();
}

void SecondaryWindows::raiseAll()
{
    QWidget* active = nullptr;
    for (const QPointer<QWidget>& w : std::as_const(m_windows)) {
        if (!w || !w->isVisible())
            continue;
        if (w->objectName() == m_activeName)
            active = w;
        else
            w->raise();
    }
    if (active)
        active->raise();
}

bool SecondaryWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_activeName = watched->objectName();
    return QObject::eventFilter(watched, event);
}
