#include "ui/online/FrmUppdatera.h"

#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "core/online/WebServer.h"
#include "core/settings/Settings.h"
#include "ui/app/Colours.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"
#include "ui/online/FrmSparaRecept.h"
#include "ui/online/FrmValjKategori.h"
#include "ui/online/WebPicture.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

FrmUppdatera::FrmUppdatera(
    Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state, QWidget* parent)
    : QWidget(parent)
    , m_db(db)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_base(WebServer::base(db))
    , m_recept(db, m_nam, paths.programFolder, this)
    , m_update(m_nam, paths.programFolder)
{
    setObjectName(QStringLiteral("frmUppdatera"));
    setWindowTitle(QStringLiteral("Uppdatera"));

    buildControls();
    resize(420, 300);
    setMinimumSize(360, 240);
    Colours::apply(state, this);
    syncChecks();

    connect(cmdOK, &QPushButton::clicked, this, &FrmUppdatera::DownloadRecept);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdGetCode, &QPushButton::clicked, this, [this] { OpenWebPage(WebServer::codePageUrl(m_base)); });
    connect(chkSeekUppgradering, &QCheckBox::clicked, this, [this](bool on) {
        m_state.setSeekUppgradering(on ? 1 : 0);
        if (DbStatus s = Settings::storeUpgrade(m_db, on); !s)
            m_prompts.message(this,
                QStringLiteral("Inställningen kunde inte sparas.\n\n") + s.error().describe(),
                Prompts::Buttons::Ok, Prompts::Icon::Critical);
    });
    connect(
        chkSeekIngredienser, &QCheckBox::clicked, this, [this](bool on) { m_state.setSeekIngredienser(on); });

    connect(&m_recept, &ReceptDownload::message, this,
        [this](const QString& text) { m_prompts.message(this, text); });
    m_recept.setPictureConverter(convertWebPicture);
    m_recept.setCategoryChooser([this](const WebRecipe& r, const QList<Catalogue::Category>& all) {
        return FrmValjKategori::ask(m_state, r.name, r.categories.value(0), all, this);
    });
    connect(&m_recept, &ReceptDownload::imported, this, &FrmUppdatera::receptImported);
    connect(&m_recept, &ReceptDownload::finished, this, &FrmUppdatera::receptDone);
    connect(&m_update, &UpdateCheck::offered, this, [this](const UpdateInfo::Offer& offer) {
        emit updateOffered(m_base, offer);
        closeUnlessKept();
    });
    connect(&m_update, &UpdateCheck::nothingOffered, this, &FrmUppdatera::closeUnlessKept);
}

void FrmUppdatera::buildControls()
{
    Label1 = new QLabel(
        QStringLiteral("Ange en eller flera koder (en kod per rad) här nedan och klicka sedan på "
                       "\"Ladda ner\" för att ladda ner recepten."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    lblWebbadress
        = new QLabel(QStringLiteral("En rad kan också vara adressen till en receptsida på webben, till "
                                    "exempel https://www.example.com/recept/kladdkaka."),
            this);
    lblWebbadress->setObjectName(QStringLiteral("lblWebbadress"));
    lblWebbadress->setWordWrap(true);
    setToolTip(
        QStringLiteral("Skriv en kod på varje rad. En rad kan också vara adressen till en receptsida på "
                       "webben (http:// eller https://): då hämtas receptet som sidan beskriver."));
    txtKoder = new QPlainTextEdit(this);
    txtKoder->setObjectName(QStringLiteral("txtKoder"));
    txtKoder->setTabChangesFocus(true);
    Label1->setBuddy(txtKoder);
    chkSeekUppgradering = new QCheckBox(QStringLiteral("Sök efter uppgradering av KROX Gastrid"), this);
    chkSeekUppgradering->setObjectName(QStringLiteral("chkSeekUppgradering"));
    chkSeekIngredienser
        = new QCheckBox(QStringLiteral("Sök efter nya ingredienser i recepten som laddas ner"), this);
    chkSeekIngredienser->setObjectName(QStringLiteral("chkSeekIngredienser"));
    cmdOK = new QPushButton(QStringLiteral("Ladda ner"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdGetCode = new QPushButton(QStringLiteral("Ingen kod?"), this);
    cmdGetCode->setObjectName(QStringLiteral("cmdGetCode"));
    cmdCancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : { cmdOK, cmdGetCode, cmdCancel })
        b->setMinimumWidth(80);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdGetCode);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(12, 10, 12, 10);
    l->setSpacing(8);
    l->addWidget(Label1);
    l->addWidget(lblWebbadress);
    l->addWidget(txtKoder, 1);
    l->addWidget(chkSeekUppgradering);
    l->addWidget(chkSeekIngredienser);
    l->addLayout(buttons);
}

void FrmUppdatera::syncChecks()
{
    chkSeekUppgradering->setChecked(m_state.seekUppgradering() == 1);
    chkSeekIngredienser->setChecked(m_state.seekIngredienser());
}

void FrmUppdatera::setBusy(bool busy)
{
    txtKoder->setReadOnly(busy);
    cmdOK->setEnabled(!busy);
}

void FrmUppdatera::DownloadRecept()
{
    m_state.setSeekIngredienser(false);
    if (m_recept.isRunning() || m_update.fetch().isRunning())
        return;
    if (txtKoder->toPlainText().isEmpty())
        return;
    setBusy(true);
    if (!m_progress) {
        m_progress = new FrmSparaRecept(m_state, this);
        connect(m_progress, &FrmSparaRecept::cancelRequested, &m_recept, &ReceptDownload::cancel);
    }
    m_progress->show();
    m_progress->raise();
    if (!m_recept.DownloadRecept(m_base, txtKoder->toPlainText()))
        receptDone();
}

void FrmUppdatera::receptDone()
{
    if (m_progress)
        m_progress->hide();
    if (!m_recept.wasCancelled() && !m_recept.failedAddresses().isEmpty()) {
        // The addresses that brought nothing stay for another try.
        txtKoder->setPlainText(m_recept.failedAddresses().join(QLatin1Char('\n')));
        setBusy(false);
    }
    if (!m_recept.wasCancelled() && m_state.seekUppgradering() == 1) {
        m_update.CheckForUpdate(m_base);
        return;
    }
    closeUnlessKept();
}

void FrmUppdatera::closeUnlessKept()
{
    if (m_recept.wasCancelled() || m_recept.failedAddresses().isEmpty())
        close();
}

void FrmUppdatera::OpenWebPage(const QUrl& url)
{
    if (!QDesktopServices::openUrl(url))
        m_prompts.message(this,
            QStringLiteral("Webbläsaren kunde inte startas. Öppna adressen %1 i din webbläsare.")
                .arg(url.toDisplayString()),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
}

void FrmUppdatera::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
        syncChecks();
        if (m_progress && m_progress->isVisible())
            m_progress->raise();
    }
}

void FrmUppdatera::closeEvent(QCloseEvent* e)
{
    m_recept.cancel();
    m_update.cancel();
    QWidget::closeEvent(e);
}
