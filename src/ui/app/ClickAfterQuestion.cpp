#include "ui/app/ClickAfterQuestion.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>

ClickAfterQuestion::ClickAfterQuestion(QObject* parent)
    : QObject(parent)
{
}

ClickAfterQuestion::~ClickAfterQuestion()
{
    if (m_state != State::Idle)
        qApp->removeEventFilter(this);
}

void ClickAfterQuestion::asked(QWidget* field, bool goOn)
{
    if (m_state == State::Idle)
        qApp->installEventFilter(this);
    m_state = goOn ? State::GoOn : State::Drop;
    m_field = field;
    m_pressed = nullptr;
    // The press that moved the focus is delivered right after the focus has
    // moved, within the same event; anything later is another click.
    QMetaObject::invokeMethod(this, &ClickAfterQuestion::disarm, Qt::QueuedConnection);
}

void ClickAfterQuestion::disarm()
{
    if (m_state == State::Idle)
        return;
    m_state = State::Idle;
    m_field = nullptr;
    m_pressed = nullptr;
    qApp->removeEventFilter(this);
}

bool ClickAfterQuestion::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease)
        return m_state == State::PressTaken && watched == m_pressed;
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    if (m_state == State::Drop) {
        m_state = State::PressTaken;
        m_pressed = watched;
        if (m_field)
            m_field->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (m_state == State::GoOn) {
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button) {
            // Lists and boxes act on the press itself.
            disarm();
            return false;
        }
        m_state = State::PressTaken;
        m_pressed = watched;
        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        return true;
    }
    return false;
}
