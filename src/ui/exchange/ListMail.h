#pragma once

#include "ui/app/AppContext.h"

#include <QString>
#include <QWidget>

#include <functional>

// Mails a ready text (the week's shopping list) from the window that shows
// it, through the mail window and the program's own mail settings.
namespace ListMail {

// Opens the mail window over `from` with the subject and text filled in;
// one per `from`: a second call fills the open one anew. A settings file that
// cannot be read is named first; without settings their window opens
// instead, and once they are saved the user sends again, as with e-recipes.
void open(Prompts& prompts, const ProgramPaths& paths, RunState& state, QWidget* from, const std::function<void(QWidget*)>& openWindow,
    const QString& subject, const QString& text);

} // namespace ListMail
