#pragma once

#include <QTranslator>

// Swedish for Qt's own print, page-setup and file dialogs, their questions and
// the edit menu of text fields, which Qt's Swedish catalogue leaves in English.
class DialogTexts : public QTranslator {
    Q_OBJECT
public:
    explicit DialogTexts(QObject* parent = nullptr);

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
        int n = -1) const override;
    bool isEmpty() const override { return false; }
};
