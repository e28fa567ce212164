#include "ui/print/FrmPrint.h"
#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/kitchen/Portions.h"
#include "core/print/PrintPage.h"
#include "ui/app/Colours.h"
#include "ui/print/PagePrinter.h"
#include "ui/print/PageView.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const char16_t* const Captions[6]
    = { u"Skriv ut", u"Redigera", u"Återställ", u"Avbryt", u"Stäng", u"Inställningar" };
const QString Visa = QStringLiteral("Visa");

// The editor holds "\n" line ends; the file's CR LF (or lone CR) become those.
QString forEditor(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

FrmPrint::FrmPrint(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
    std::function<qint32()> currentRid, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_db(db)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_currentRid(std::move(currentRid))
{
    buildControls();
    BuildPrintPage();
}

FrmPrint::FrmPrint(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
    const QString& pagePath, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_db(db)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
{
    buildControls();
    button(Cmd::Redigera)->hide();
    lblPortioner->hide();
    spnPortioner->hide();
    showPage(pagePath);
}

void FrmPrint::buildControls()
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Skriv ut"));
    setAttribute(Qt::WA_DeleteOnClose);

    for (int i = 0; i < 2; ++i) {
        picContainer[i] = new QWidget(this);
        picContainer[i]->setObjectName(QStringLiteral("picContainer_%1").arg(i));
        Colours::markPanel(picContainer[i]);
        auto* box = new QVBoxLayout(picContainer[i]);
        // The view is one unit smaller than its container each way.
        box->setContentsMargins(0, 0, 1, 1);
    }
    Browser = new PageView(container(Page::Preview));
    Browser->setObjectName(QStringLiteral("Browser"));
    container(Page::Preview)->layout()->addWidget(Browser);
    txtEdit = new QPlainTextEdit(container(Page::Editor));
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    container(Page::Editor)->layout()->addWidget(txtEdit);
    container(Page::Editor)->hide();
    connect(txtEdit, &QPlainTextEdit::textChanged, this, &FrmPrint::textEdited);

    // Created before the number box: the tab order goes through them first.
    QHBoxLayout* buttons = buildButtons();
    lblPortioner = new QLabel(QStringLiteral("Portioner:"), this);
    lblPortioner->setObjectName(QStringLiteral("lblPortioner"));
    spnPortioner = new QSpinBox(this);
    spnPortioner->setObjectName(QStringLiteral("spnPortioner"));
    spnPortioner->setRange(Portions::Fewest, Portions::Most);
    spnPortioner->setEnabled(false);
    lblPortioner->setBuddy(spnPortioner);
    connect(spnPortioner, &QSpinBox::valueChanged, this, [this] { BuildPrintPage(); });
    auto* portions = new QHBoxLayout;
    portions->addWidget(lblPortioner);
    portions->addWidget(spnPortioner);
    portions->addStretch(1);

    auto* pages = new QGridLayout;
    pages->addWidget(container(Page::Preview), 0, 0);
    pages->addWidget(container(Page::Editor), 0, 0);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 8, 8, 8);
    main->addLayout(portions);
    main->addLayout(pages, 1);
    main->addLayout(buttons);

    Colours::apply(m_state, this);
}

QHBoxLayout* FrmPrint::buildButtons()
{
    for (int i = 0; i < CmdCount; ++i) {
        cmdButton[i] = new QPushButton(QString::fromUtf16(Captions[i]), this);
        cmdButton[i]->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        cmdButton[i]->setMinimumWidth(90);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(Cmd(i)); });
    }
    button(Cmd::Aterstall)->hide();
    button(Cmd::Avbryt)->hide();
    cmdSkickaInkopslista = new QPushButton(QStringLiteral("Skicka"), this);
    cmdSkickaInkopslista->setObjectName(QStringLiteral("cmdSkickaInkopslista"));
    cmdSkickaInkopslista->setMinimumWidth(90);
    cmdSkickaInkopslista->hide();
    connect(cmdSkickaInkopslista, &QPushButton::clicked, this, [this] {
        if (m_send)
            m_send();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button(Cmd::SkrivUt));
    buttons->addWidget(cmdSkickaInkopslista);
    for (Cmd c : { Cmd::Installningar, Cmd::Redigera, Cmd::Aterstall, Cmd::Avbryt })
        buttons->addWidget(button(c));
    buttons->addStretch(1);
    buttons->addWidget(button(Cmd::Stang));
    return buttons;
}

void FrmPrint::offerMail(std::function<void()> send)
{
    m_send = std::move(send);
    cmdSkickaInkopslista->setVisible(bool(m_send));
}

void FrmPrint::cmdButton_Click(Cmd c)
{
    button(Cmd::SkrivUt)->setEnabled(true);
    switch (c) {
    case Cmd::SkrivUt:
        PagePrinter::printPage(m_prompts, m_state, this, *Browser->document());
        break;
    case Cmd::Redigera:
        if (button(Cmd::Redigera)->text() == Visa)
            saveAndShow();
        else
            beginEditing();
        break;
    case Cmd::Aterstall:
        RestoreDefaultTemplate();
        break;
    case Cmd::Avbryt:
        cancelEditing();
        break;
    case Cmd::Stang:
        close();
        break;
    case Cmd::Installningar:
        PagePrinter::pageSetup(m_prompts, m_state, this);
        break;
    }
}

void FrmPrint::BuildPrintPage()
{
    const qint32 rid = m_currentRid();
    // Another recipe, or its own number of portions: the page as stored.
    const bool scaled = rid == m_shownRid && m_storedPortions && spnPortioner->isEnabled()
        && spnPortioner->value() != *m_storedPortions;
    const PrintPage::Result r = scaled
        ? PrintPage::BuildPrintPage(m_db, m_paths.programFolder, rid, spnPortioner->value())
        : PrintPage::BuildPrintPage(m_db, m_paths.programFolder, rid);
    if (!r.ok) {
        warn(r.error);
        return;
    }
    showPortions(rid, r.portions);
    showPage(r.pagePath);
}

void FrmPrint::showPortions(qint32 rid, std::optional<int> stored)
{
    const bool other = rid != m_shownRid || stored != m_storedPortions;
    m_shownRid = rid;
    m_storedPortions = stored;
    spnPortioner->setEnabled(stored.has_value());
    if (stored && other) {
        const QSignalBlocker quiet(spnPortioner);
        spnPortioner->setValue(*stored);
    }
}

void FrmPrint::RestoreDefaultTemplate()
{
    const TextFile::WriteResult r = PrintPage::RestoreDefaultTemplate(m_paths.programFolder);
    if (!r.ok) {
        warn(r.error);
        return;
    }
    txtEdit->setPlainText(forEditor(PrintTemplate::defaultText()));
    m_editingTemplate = true;
    container(Page::Editor)->show();
    button(Cmd::SkrivUt)->setEnabled(false);
}

void FrmPrint::beginEditing()
{
    // A template deleted while the window was open comes back as the default.
    if (!QFileInfo::exists(PrintPage::templatePath(m_paths.programFolder))) {
        const TextFile::WriteResult r = PrintPage::RestoreDefaultTemplate(m_paths.programFolder);
        if (!r.ok) {
            warn(r.error);
            return;
        }
    }
    QString error;
    const std::optional<QString> text = PrintPage::readTemplate(m_paths.programFolder, &error);
    if (!text) {
        warn(error);
        return;
    }
    button(Cmd::Redigera)->setText(Visa);
    txtEdit->setPlainText(forEditor(*text));
    m_editingTemplate = true;
    button(Cmd::Aterstall)->show();
    button(Cmd::Avbryt)->show();
    button(Cmd::SkrivUt)->setEnabled(false);
    container(Page::Preview)->hide();
    container(Page::Editor)->show();
    txtEdit->setFocus();
}

void FrmPrint::saveAndShow()
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    QString text = txtEdit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    const TextFile::WriteResult r = PrintPage::saveTemplate(m_paths.programFolder, text);
    if (!r.ok) {
        // The edit stays in the editor, so nothing typed is lost.
        warn(r.error);
        button(Cmd::SkrivUt)->setEnabled(false);
        return;
    }
    BuildPrintPage();
    showPreview();
    m_editingTemplate = false;
}

void FrmPrint::cancelEditing()
{
    m_editingTemplate = false;
    txtEdit->clear();
    showPreview();
}

void FrmPrint::showPreview()
{
    button(Cmd::Redigera)->setText(QString::fromUtf16(Captions[int(Cmd::Redigera)]));
    button(Cmd::Aterstall)->hide();
    button(Cmd::Avbryt)->hide();
    button(Cmd::SkrivUt)->setEnabled(true);
    container(Page::Editor)->hide();
    container(Page::Preview)->show();
}

void FrmPrint::textEdited()
{
    if (!m_editingTemplate)
        return;
    button(Cmd::SkrivUt)->setEnabled(false);
    button(Cmd::Avbryt)->show();
}

void FrmPrint::showPage(const QString& path)
{
    if (!Browser->showPage(path))
        warn(QStringLiteral("Sidan %1 kunde inte läsas.").arg(QDir::toNativeSeparators(path)));
}

void FrmPrint::warn(const QString& text)
{
    m_prompts.message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Warning);
}
