#pragma once

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <QTextDocument>
#include <QWidget>

// Controls placed by hand at their designed places and found by name.
namespace Controls {

template <typename T> T* make(QWidget* parent, const QString& name, int x, int y, int w, int h)
{
    auto* t = new T(parent);
    t->setObjectName(name);
    t->setGeometry(x, y, w, h);
    return t;
}

inline QLabel* label(
    QWidget* parent, const QString& name, const QString& text, int x, int y, int w, int h = 17)
{
    auto* l = make<QLabel>(parent, name, x, y, w, h);
    l->setText(text);
    return l;
}

// The text as typed, line breaks as "\n". QPlainTextEdit::toPlainText()
// would also turn a no-break space into a plain one.
inline QString plainText(const QPlainTextEdit* edit)
{
    QString text = edit->document()->toRawText();
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == 0xFDD0 || u == 0xFDD1)
            c = u'\n';
    }
    return text;
}

// Outside a dialog Qt has no default button of its own: Enter clicks the
// button that has the focus, else `fallback`. False for any other key.
inline bool enterClicks(const QWidget* window, const QKeyEvent* e, QPushButton* fallback = nullptr)
{
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        return false;
    if (auto* focused = qobject_cast<QPushButton*>(window->focusWidget()))
        focused->click();
    else if (fallback)
        fallback->click();
    return true;
}

// The button a window's Enter falls back to, drawn as the default.
class DefaultButton {
public:
    void set(QPushButton* button)
    {
        if (m_button)
            m_button->setDefault(false);
        m_button = button;
        if (button)
            button->setDefault(true);
    }
    QPushButton* get() const { return m_button; }
    bool enter(const QWidget* window, const QKeyEvent* e) const { return enterClicks(window, e, m_button); }

private:
    QPushButton* m_button = nullptr;
};

} // namespace Controls
