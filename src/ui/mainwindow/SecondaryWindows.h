#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// The secondary windows open over the main window: each is owned by it and
// kept in front of it, and the one last active is remembered by name.
class SecondaryWindows : public QObject {
    Q_OBJECT
public:
    explicit SecondaryWindows(QWidget* mainWindow);
    ~SecondaryWindows() override;

    // Shows `w` centred over the main window, not modal; it is deleted when closed.
    void open(QWidget* w);
    // The open window of that name, if any.
    QWidget* find(const QString& objectName) const;

    // The name of the secondary window last active, empty when none is open.
    const QString& activeName() const { return m_activeName; }
    // For a window shown by other means (the search progress) while it is up.
    void setActiveName(const QString& name) { m_activeName = name; }
    // The last active of those still open.
    void restoreActiveName();
    // Called when the main window becomes active: the open windows come back
    // in front, the one last active on top.
    void raiseAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_main;
    QList<QPointer<QWidget>> m_windows;
    QString m_activeName;
};
