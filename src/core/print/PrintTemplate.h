#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The print template: HTML in which six tags stand for the parts of a recipe.
namespace PrintTemplate {

// A recipe's fields as stored (CR LF line ends); a null column is empty.
struct Recipe {
    QString titel;
    QString antalPersoner;
    QString tid;
    QString ingredienser;
    QString anvisningar;
};

// The support address the default template names.
inline constexpr char16_t SupportAddress[] = u"gastrid@krox.example";

// The default template, line by line.
QStringList defaultLines();
// The default template as the editor shows it: every line followed by CR LF.
QString defaultText();

// `<img src="path">`, or nothing without a picture.
QString pictureElement(const QString& picturePath);

// Characters a page may grow to: far above a recipe at the download limit
// shown twice, far below what the view can lay out.
inline constexpr qsizetype MaxPageChars = 16 * 1024 * 1024;

// Replaces the tags, case-sensitively and everywhere, one tag after another
// over the whole text: [TITEL], [PORTIONER], [TID], [ING], [ANV], then [BILD].
// A tag inside an inserted value is thus replaced by a later step. Values go in
// unescaped; CR LF in the ingredients and instructions becomes "<br>". None
// when a step would make the page longer than maxChars (a value full of tags
// grows it step by step); the step's size is counted before it is made.
std::optional<QString> expand(const QString& templateText, const Recipe& recipe, const QString& picturePath,
    qsizetype maxChars = MaxPageChars);

} // namespace PrintTemplate
