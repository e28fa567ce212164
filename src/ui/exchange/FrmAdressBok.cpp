#include "ui/exchange/FrmAdressBok.h"
#include "core/app/ProgramPaths.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/exchange/MailSettings.h"
#include "ui/app/Colours.h"
#include "ui/exchange/FrmERecept.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString FileName = QStringLiteral("adresser.txt");

} // namespace

FrmAdressBok::FrmAdressBok(
    Prompts& prompts, const ProgramPaths& paths, const RunState& state, FrmERecept* mailWindow)
    : QWidget(mailWindow, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_mail(mailWindow)
{
    setObjectName(QStringLiteral("frmAdressBok"));
    setWindowTitle(QStringLiteral("Adressbok"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(400, 330);

    Label1
        = new QLabel(QStringLiteral("Markera önskad kontakt och klicka på OK för att välja mottagare. Klicka "
                                    "på Redigera för att redigera markerad kontakt. Klicka på Ny kontakt för "
                                    "att lägga till en kontakt."),
            this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setGeometry(10, 8, 380, 64);
    lblKontakter = new QLabel(QStringLiteral("Kontakter"), this);
    lblKontakter->setObjectName(QStringLiteral("lblKontakter"));
    lblKontakter->setGeometry(10, 76, 200, 18);
    lstKontakter = new QListWidget(this);
    lstKontakter->setObjectName(QStringLiteral("lstKontakter"));
    lstKontakter->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstKontakter->setGeometry(10, 96, 200, 224);
    lblKontakter->setBuddy(lstKontakter);
    connect(lstKontakter, &QListWidget::itemDoubleClicked, this, [this] { cmdButton_Click(Cmd::Ok); });

    makeButton(this, Cmd::Ok, QStringLiteral("OK"), 280, 96);
    makeButton(this, Cmd::NyKontakt, QStringLiteral("Ny kontakt"), 280, 140);
    makeButton(this, Cmd::Redigera, QStringLiteral("Redigera"), 280, 174);
    makeButton(this, Cmd::TaBort, QStringLiteral("Ta bort"), 280, 208);
    makeButton(this, Cmd::Avbryt, QStringLiteral("Avbryt"), 280, 292);
    buildPanel();

    setTabOrder(lstKontakter, button(Cmd::Ok));
    setTabOrder(button(Cmd::Ok), button(Cmd::NyKontakt));
    setTabOrder(button(Cmd::NyKontakt), button(Cmd::Redigera));
    setTabOrder(button(Cmd::Redigera), button(Cmd::TaBort));
    setTabOrder(button(Cmd::TaBort), button(Cmd::Avbryt));
    setTabOrder(txtNamn, txtMail);
    setTabOrder(txtMail, button(Cmd::LaggTill));
    setTabOrder(button(Cmd::LaggTill), button(Cmd::AvbrytKontakt));

    hidePanel();
    Colours::apply(m_state, this);
    GetAdresser();
}

// The panel covers the buttons while a contact is typed, so that it is
// confirmed or cancelled first.
void FrmAdressBok::buildPanel()
{
    picNyKontakt = new QFrame(this);
    picNyKontakt->setObjectName(QStringLiteral("picNyKontakt"));
    static_cast<QFrame*>(picNyKontakt)->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    picNyKontakt->setGeometry(218, 96, 174, 224);
    Colours::markPanel(picNyKontakt);
    lblKontak = new QLabel(picNyKontakt);
    lblKontak->setObjectName(QStringLiteral("lblKontak"));
    QFont bold = lblKontak->font();
    bold.setBold(true);
    lblKontak->setFont(bold);
    lblKontak->setGeometry(8, 6, 158, 20);
    auto* lblNamn = new QLabel(QStringLiteral("Namn"), picNyKontakt);
    lblNamn->setObjectName(QStringLiteral("lblNamn"));
    lblNamn->setGeometry(8, 34, 158, 18);
    txtNamn = new QLineEdit(picNyKontakt);
    txtNamn->setObjectName(QStringLiteral("txtNamn"));
    txtNamn->setGeometry(8, 52, 158, 26);
    lblNamn->setBuddy(txtNamn);
    auto* lblMail = new QLabel(QStringLiteral("E-post"), picNyKontakt);
    lblMail->setObjectName(QStringLiteral("lblMail"));
    lblMail->setGeometry(8, 84, 158, 18);
    txtMail = new QLineEdit(picNyKontakt);
    txtMail->setObjectName(QStringLiteral("txtMail"));
    txtMail->setGeometry(8, 102, 158, 26);
    lblMail->setBuddy(txtMail);
    txtMail->installEventFilter(this);
    makeButton(picNyKontakt, Cmd::LaggTill, QString(), 8, 150)->setFixedWidth(158);
    makeButton(picNyKontakt, Cmd::AvbrytKontakt, QStringLiteral("Avbryt"), 8, 184)->setFixedWidth(158);
}

QPushButton* FrmAdressBok::makeButton(QWidget* parent, Cmd c, const QString& caption, int x, int y)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QStringLiteral("cmdButton_%1").arg(int(c)));
    b->setGeometry(x, y, 110, 28);
    connect(b, &QPushButton::clicked, this, [this, c] { cmdButton_Click(c); });
    cmdButton[int(c)] = b;
    return b;
}

void FrmAdressBok::GetAdresser()
{
    lstKontakter->clear();
    const AddressBook::ReadResult r = AddressBook::read(m_paths.file(FileName));
    if (!r.ok) {
        m_readFailed = true;
        m_prompts.message(this, r.error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    m_readFailed = false;
    m_contacts = r.contacts;
    for (const AddressBook::Contact& c : m_contacts)
        lstKontakter->addItem(AddressBook::shownName(c.name));
}

void FrmAdressBok::cmdButton_Click(Cmd c)
{
    switch (c) {
    case Cmd::Ok:
        pick();
        break;
    case Cmd::TaBort:
        remove();
        break;
    case Cmd::NyKontakt:
        showPanel(false);
        break;
    case Cmd::LaggTill:
        confirmPanel();
        break;
    case Cmd::AvbrytKontakt:
        hidePanel();
        break;
    case Cmd::Redigera:
        if (!lstKontakter->selectedItems().isEmpty() && lstKontakter->currentRow() >= 0)
            showPanel(true);
        break;
    case Cmd::Avbryt:
        close();
        break;
    }
}

void FrmAdressBok::pick()
{
    QList<AddressBook::Contact> picked;
    for (int row = 0; row < lstKontakter->count(); ++row)
        if (lstKontakter->item(row)->isSelected())
            picked << m_contacts.at(row);
    if (m_mail)
        m_mail->pickRecipients(picked);
    close();
}

void FrmAdressBok::remove()
{
    const int row = lstKontakter->currentRow();
    if (lstKontakter->selectedItems().isEmpty() || row < 0) {
        m_prompts.message(this, QStringLiteral("Välj en kontakt först."));
        return;
    }
    QList<AddressBook::Contact> next = m_contacts;
    next.removeAt(row);
    if (!save(next))
        return;
    m_contacts = next;
    delete lstKontakter->takeItem(row);
}

void FrmAdressBok::showPanel(bool editing)
{
    m_editing = editing;
    if (editing) {
        const int row = lstKontakter->currentRow();
        txtNamn->setText(lstKontakter->item(row)->text());
        txtMail->setText(m_contacts.at(row).mail);
        lblKontak->setText(QStringLiteral("Redigera kontakt"));
        button(Cmd::LaggTill)->setText(QStringLiteral("Spara"));
        lstKontakter->setEnabled(false);
    } else {
        txtNamn->clear();
        txtMail->clear();
        lblKontak->setText(QStringLiteral("Ny kontakt"));
        button(Cmd::LaggTill)->setText(QStringLiteral("Lägg till"));
    }
    picNyKontakt->show();
    picNyKontakt->raise();
    txtNamn->setFocus();
}

void FrmAdressBok::hidePanel()
{
    txtNamn->clear();
    txtMail->clear();
    picNyKontakt->hide();
    m_editing = false;
    lblKontak->setText(QStringLiteral("Ny kontakt"));
    button(Cmd::LaggTill)->setText(QStringLiteral("Lägg till"));
    lstKontakter->setEnabled(true);
    setDefaultButton(button(Cmd::Ok));
}

bool FrmAdressBok::panelValid()
{
    if (txtNamn->text().isEmpty()) {
        m_prompts.message(this, QStringLiteral("Du måste ange ett namn."));
        txtNamn->setFocus();
        return false;
    }
    if (!CheckMailAdress(txtMail->text())) {
        m_prompts.message(this, QStringLiteral("Ogiltigt e-mailadress."));
        txtMail->setFocus();
        return false;
    }
    return true;
}

void FrmAdressBok::confirmPanel()
{
    if (!panelValid())
        return;
    const AddressBook::Contact c { AddressBook::storedName(txtNamn->text()), txtMail->text() };
    QList<AddressBook::Contact> next = m_contacts;
    const int row = lstKontakter->currentRow();
    if (m_editing && row >= 0 && row < next.size())
        next[row] = c;
    else
        next << c;
    if (!save(next))
        return;
    m_contacts = next;
    if (m_editing && row >= 0 && row < lstKontakter->count())
        lstKontakter->item(row)->setText(txtNamn->text());
    else
        lstKontakter->addItem(txtNamn->text());
    hidePanel();
}

bool FrmAdressBok::save(const QList<AddressBook::Contact>& contacts)
{
    // Writing the little that was read would lose the rest.
    if (m_readFailed) {
        m_prompts.message(this, QStringLiteral("Adressboken kunde inte läsas och kan därför inte ändras."),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return false;
    }
    const TextFile::WriteResult w = AddressBook::write(m_paths.file(FileName), contacts);
    if (!w.ok)
        m_prompts.message(this, w.error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return w.ok;
}

void FrmAdressBok::setDefaultButton(QPushButton* b)
{
    m_default.set(b);
}

bool FrmAdressBok::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == txtMail && e->type() == QEvent::FocusIn)
        setDefaultButton(button(Cmd::LaggTill));
    return QWidget::eventFilter(watched, e);
}

void FrmAdressBok::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // While a contact is typed only the panel's own button answers.
        if (picNyKontakt->isVisible() && m_default.get() != button(Cmd::LaggTill))
            return;
        if (QPushButton* b = m_default.get(); b && b->isVisible() && b->isEnabled())
            b->click();
        return;
    case Qt::Key_Escape:
        cmdButton_Click(picNyKontakt->isVisible() ? Cmd::AvbrytKontakt : Cmd::Avbryt);
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}
