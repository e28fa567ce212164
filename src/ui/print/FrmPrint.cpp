#include "ui/print/FrmPrint.h"

#include "core/print/PrintPage.h"
#include "ui/app/Colours.h"
#include "ui/print/PagePrinter.h"
#include "ui/print/PageView.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
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

FrmPrint::FrmPrint(AppContext& ctx, std::function<qint32()> currentRid, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
    , m_currentRid(std::move(currentRid))
{
    buildControls();
    BuildPrintPage();
}

FrmPrint::FrmPrint(AppContext& ctx, const QString& pagePath, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
{
    buildControls();
    cmdButton[1]->hide();
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
    Browser = new PageView(picContainer[0]);
    Browser->setObjectName(QStringLiteral("Browser"));
    picContainer[0]->layout()->addWidget(Browser);
    txtEdit = new QPlainTextEdit(picContainer[1]);
    txtEdit->setObjectName(QStringLiteral("txtEdit"));
    txtEdit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    picContainer[1]->layout()->addWidget(txtEdit);
    picContainer[1]->hide();
    connect(txtEdit, &QPlainTextEdit::textChanged, this, &FrmPrint::textEdited);

    for (int i = 0; i < 6; ++i) {
        cmdButton[i] = new QPushButton(QString::fromUtf16(Captions[i]), this);
        cmdButton[i]->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        cmdButton[i]->setMinimumWidth(90);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(i); });
    }
    cmdButton[2]->hide();
    cmdButton[3]->hide();

    auto* pages = new QGridLayout;
    pages->addWidget(picContainer[0], 0, 0);
    pages->addWidget(picContainer[1], 0, 0);
    auto* buttons = new QHBoxLayout;
    for (int i : { 0, 5, 1, 2, 3 })
        buttons->addWidget(cmdButton[i]);
    buttons->addStretch(1);
    buttons->addWidget(cmdButton[4]);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(8, 8, 8, 8);
    main->addLayout(pages, 1);
    main->addLayout(buttons);

    Colours::apply(m_ctx, this);
}

void FrmPrint::cmdButton_Click(int index)
{
    cmdButton[0]->setEnabled(true);
    switch (index) {
    case 0:
        PagePrinter::printPage(m_ctx, this, *Browser->document());
        break;
    case 1:
        if (cmdButton[1]->text() == Visa)
            saveAndShow();
        else
            beginEditing();
        break;
    case 2:
        RestoreDefaultTemplate();
        break;
    case 3:
        cancelEditing();
        break;
    case 4:
        close();
        break;
    case 5:
        PagePrinter::pageSetup(m_ctx, this);
        break;
    }
}

void FrmPrint::BuildPrintPage()
{
    const PrintPage::Result r = PrintPage::BuildPrintPage(m_ctx.db(), m_ctx.programFolder(), m_currentRid());
    if (!r.ok) {
        warn(r.error);
        return;
    }
    showPage(r.pagePath);
}

void FrmPrint::RestoreDefaultTemplate()
{
    const TextFile::WriteResult r = PrintPage::RestoreDefaultTemplate(m_ctx.programFolder());
    if (!r.ok) {
        warn(r.error);
        return;
    }
    txtEdit->setPlainText(forEditor(PrintTemplate::defaultText()));
    m_editingTemplate = true;
    picContainer[1]->show();
    cmdButton[0]->setEnabled(false);
}

void FrmPrint::beginEditing()
{
    // A template deleted while the window was open comes back as the default.
    if (!QFileInfo::exists(PrintPage::templatePath(m_ctx.programFolder()))) {
        const TextFile::WriteResult r = PrintPage::RestoreDefaultTemplate(m_ctx.programFolder());
        if (!r.ok) {
            warn(r.error);
            return;
        }
    }
    QString error;
    const std::optional<QString> text = PrintPage::readTemplate(m_ctx.programFolder(), &error);
    if (!text) {
        warn(error);
        return;
    }
    cmdButton[1]->setText(Visa);
    txtEdit->setPlainText(forEditor(*text));
    m_editingTemplate = true;
    cmdButton[2]->show();
    cmdButton[3]->show();
    cmdButton[0]->setEnabled(false);
    picContainer[0]->hide();
    picContainer[1]->show();
    txtEdit->setFocus();
}

void FrmPrint::saveAndShow()
{
    // toPlainText() would turn non-breaking spaces into plain ones.
    QString text = txtEdit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    const TextFile::WriteResult r = PrintPage::saveTemplate(m_ctx.programFolder(), text);
    if (!r.ok) {
        // The edit stays in the editor, so nothing typed is lost.
        warn(r.error);
        cmdButton[0]->setEnabled(false);
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
    cmdButton[1]->setText(QString::fromUtf16(Captions[1]));
    cmdButton[2]->hide();
    cmdButton[3]->hide();
    cmdButton[0]->setEnabled(true);
    picContainer[1]->hide();
    picContainer[0]->show();
}

void FrmPrint::textEdited()
{
    if (!m_editingTemplate)
        return;
    cmdButton[0]->setEnabled(false);
    cmdButton[3]->show();
}

void FrmPrint::showPage(const QString& path)
{
    if (!Browser->showPage(path))
        warn(QStringLiteral("Sidan %1 kunde inte läsas.").arg(QDir::toNativeSeparators(path)));
}

void FrmPrint::warn(const QString& text)
{
    m_ctx.prompts().message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Warning);
}
