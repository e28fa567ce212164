#pragma once

#include <QLabel>
#include <QString>
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

} // namespace Controls
