#include "ui/catalogue/FrmKategorier.h"
#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/catalogue/Categories.h"
#include "ui/app/Colours.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

FrmKategorier::FrmKategorier(Database& db, Prompts& prompts, const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_db(db)
    , m_prompts(prompts)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmKategorier"));
    setWindowTitle(QStringLiteral("Kategorier"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    connect(cmdNy, &QPushButton::clicked, this, &FrmKategorier::cmdNy_Click);
    connect(cmdChange, &QPushButton::clicked, this, &FrmKategorier::cmdChange_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // By mouse or by keyboard, a chosen row offers its name for editing.
    connect(lstKategorier, &QListWidget::itemSelectionChanged, this, &FrmKategorier::rowChosen);
    connect(lstKategorier, &QListWidget::itemClicked, this, &FrmKategorier::rowChosen);
    txtNyKategori->installEventFilter(this);
    txtChangeName->installEventFilter(this);

    Colours::apply(m_state, this);
    frmListaKategorier();
    // Opened mostly to add one; Enter then adds it.
    txtNyKategori->setFocus();
}

void FrmKategorier::buildControls()
{
    auto named = [](auto* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    lblKategorier = named(new QLabel(QStringLiteral("Kategorier"), this), "lblKategorier");
    lstKategorier = named(new QListWidget(this), "lstKategorier");
    lblNyKategori = named(new QLabel(QStringLiteral("Lägg till ny kategori"), this), "lblNyKategori");
    txtNyKategori = named(new QLineEdit(this), "txtNyKategori");
    cmdNy = named(new QPushButton(QStringLiteral("Spara"), this), "cmdNy");
    lblChangeName = named(new QLabel(QStringLiteral("Redigera kategorin"), this), "lblChangeName");
    txtChangeName = named(new QLineEdit(this), "txtChangeName");
    cmdChange = named(new QPushButton(QStringLiteral("Spara"), this), "cmdChange");
    cmdClose = named(new QPushButton(QStringLiteral("Stäng"), this), "cmdClose");
    lblKategorier->setBuddy(lstKategorier);
    lblNyKategori->setBuddy(txtNyKategori);
    lblChangeName->setBuddy(txtChangeName);
    for (QPushButton* b : { cmdNy, cmdChange, cmdClose })
        b->setMinimumWidth(80);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 8, 10, 10);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(4);
    grid->addWidget(lblKategorier, 0, 0);
    grid->addWidget(lstKategorier, 1, 0, 8, 1);
    grid->addWidget(lblNyKategori, 0, 1);
    grid->addWidget(txtNyKategori, 1, 1);
    grid->addWidget(cmdNy, 2, 1, Qt::AlignRight);
    grid->setRowMinimumHeight(3, 14);
    grid->addWidget(lblChangeName, 4, 1);
    grid->addWidget(txtChangeName, 5, 1);
    grid->addWidget(cmdChange, 6, 1, Qt::AlignRight);
    grid->setRowStretch(7, 1);
    grid->addWidget(cmdClose, 8, 1, Qt::AlignRight | Qt::AlignBottom);
    grid->setColumnMinimumWidth(0, 220);
    grid->setColumnMinimumWidth(1, 200);
    setFixedSize(460, 300);

    setTabOrder(lstKategorier, txtNyKategori);
    setTabOrder(txtNyKategori, cmdNy);
    setTabOrder(cmdNy, txtChangeName);
    setTabOrder(txtChangeName, cmdChange);
    setTabOrder(cmdChange, cmdClose);
}

bool FrmKategorier::frmListaKategorier()
{
    const auto cats = Categories::list(m_db);
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."), cats.error());
        return false;
    }
    lstKategorier->clear();
    m_ids.clear();
    for (const Catalogue::Category& c : *cats) {
        lstKategorier->addItem(c.name);
        m_ids.append(c.kid);
    }
    return true;
}

void FrmKategorier::rowChosen()
{
    const QList<QListWidgetItem*> sel = lstKategorier->selectedItems();
    if (!sel.isEmpty())
        txtChangeName->setText(sel.first()->text());
}

void FrmKategorier::cmdNy_Click()
{
    const QString name = txtNyKategori->text();
    if (name.isEmpty())
        return;
    if (const auto kid = Categories::addCategory(m_db, name); !kid) {
        showDbError(QStringLiteral("Kategorin kunde inte sparas."), kid.error());
        return;
    }
    txtNyKategori->clear();
    frmListaKategorier();
    emit categoriesChanged();
}

void FrmKategorier::cmdChange_Click()
{
    const QList<QListWidgetItem*> sel = lstKategorier->selectedItems();
    if (sel.isEmpty())
        return;
    const qint32 kid = m_ids.value(lstKategorier->row(sel.first()));
    const auto done = Categories::renameCategory(m_db, kid, txtChangeName->text());
    if (!done.ok()) {
        showDbError(QStringLiteral("Kategorin kunde inte sparas."), done.error());
        return;
    }
    if (!*done) {
        // Removed meanwhile: the list shows what is there now, the typed name stays.
        m_prompts.message(this, QStringLiteral("Kategorin finns inte längre."), Prompts::Buttons::Ok,
            Prompts::Icon::Warning);
        frmListaKategorier();
        emit categoriesChanged();
        return;
    }
    txtChangeName->clear();
    frmListaKategorier();
    emit categoriesChanged();
}

void FrmKategorier::showDbError(const QString& what, const DbError& error)
{
    m_prompts.message(this, what + QStringLiteral("\n\n") + error.describe(), Prompts::Buttons::Ok,
        Prompts::Icon::Critical);
}

void FrmKategorier::setDefaultButton(QPushButton* button)
{
    m_default.set(button);
}

bool FrmKategorier::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusIn) {
        if (watched == txtNyKategori)
            setDefaultButton(cmdNy);
        else if (watched == txtChangeName)
            setDefaultButton(cmdChange);
    }
    return QWidget::eventFilter(watched, e);
}

void FrmKategorier::keyPressEvent(QKeyEvent* e)
{
    if (m_default.enter(this, e))
        return;
    switch (e->key()) {
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void FrmKategorier::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}
