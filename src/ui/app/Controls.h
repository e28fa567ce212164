#pragma once

#include <QLabel>
#include <QPlainTextEdit>
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

} // namespace Controls
