#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// A question asked while a mouse press takes the focus from a field shows a
// modal box, and that box takes the release of the press: the click the user
// made would be lost. Told how the question ended, this finishes the click:
// a button is clicked, another control gets its press; when the answer left
// the edit unstored, the press is dropped and the focus goes back to the field.
class ClickAfterQuestion : public QObject {
    Q_OBJECT
public:
    explicit ClickAfterQuestion(QObject* parent = nullptr);
    ~ClickAfterQuestion() override;

    // Called by a focus-out handler that has just asked its question, when
    // the focus left `field` for a mouse press. `goOn` is false when what the
    // click was to do must not happen.
    void asked(QWidget* field, bool goOn);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void disarm();

    enum class State { Idle, GoOn, Drop, PressTaken };
    State m_state = State::Idle;
    QPointer<QWidget> m_field;
    // The widget whose press was taken; its release is taken too.
    QPointer<QObject> m_pressed;
};
