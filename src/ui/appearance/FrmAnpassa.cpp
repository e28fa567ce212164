#include "ui/appearance/FrmAnpassa.h"

#include "core/settings/ColourSettings.h"
#include "ui/app/Colours.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const char* const Components[3] = { "Rött", "Grönt", "Blått" };

qint16& component(ColourTriple& c, int k)
{
    return k == 0 ? c.r : k == 1 ? c.g : c.b;
}

} // namespace

FrmAnpassa::FrmAnpassa(Database& db, Prompts& prompts, RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_db(db)
    , m_prompts(prompts)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmAnpassa"));
    setWindowTitle(QStringLiteral("Anpassa"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    QGridLayout* grid = buildGrid();
    QHBoxLayout* buttonRow = buildButtons();

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 10, 12, 10);
    main->setSpacing(8);
    main->addWidget(lblInfo);
    main->addSpacing(6);
    main->addLayout(grid);
    main->addSpacing(4);
    main->addLayout(buttonRow);

    // Load: the bars show the run's colours, the boxes stay empty.
    m_ready = false;
    Colours::apply(m_state, this);
    lblInfo->setText(
        QStringLiteral("Du kan anpassa bakgrundsfärgen för fönster och knappar genom att justera "
                       "scrollistorna här nedan. Programmet måste startas om för att "
                       "anpassningarna ska träda i kraft.\r\n"
                       "Du kan återställa samtliga inställningar genom att klicka på "
                       "\"Återställ\"."));
    setBars(m_window, m_state.windowRGB());
    fill(m_window.preview, m_state.windowRGB());
    setBars(m_button, m_state.buttonRGB());
    fill(m_button.preview, m_state.buttonRGB());
    m_ready = true;
    setFixedSize(480, heightForWidth(480) > 0 ? heightForWidth(480) : sizeHint().height());
}

QGridLayout* FrmAnpassa::buildGrid()
{
    auto* label1 = new QLabel(QStringLiteral("Bakgrundsfärg fönster"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Bakgrundsfärg knapper"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel* l : { label1, label2 }) {
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
    }
    m_window.window = true;
    buildRows(m_window, QStringLiteral("Window"));
    buildRows(m_button, QStringLiteral("Button"));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    int row = 0;
    for (auto [title, rows] : { std::pair { label1, &m_window }, std::pair { label2, &m_button } }) {
        if (row > 0)
            grid->setRowMinimumHeight(row++, 10);
        grid->addWidget(title, row++, 0, 1, 4);
        for (int k = 0; k < 3; ++k) {
            grid->addWidget(rows->label[k], row + k, 0);
            grid->addWidget(rows->bar[k], row + k, 1);
            grid->addWidget(rows->box[k], row + k, 2);
        }
        grid->addWidget(rows->preview, row, 3, 3, 1);
        row += 3;
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

QHBoxLayout* FrmAnpassa::buildButtons()
{
    const char* const captions[CmdCount] = { "OK", "Avbryt", "Återställ" };
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (int i = 0; i < CmdCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdButton_Click(Cmd(i)); });
        buttonRow->addWidget(b);
        cmdButton[i] = b;
    }
    return buttonRow;
}

void FrmAnpassa::buildRows(Rows& rows, const QString& which)
{
    for (int k = 0; k < 3; ++k) {
        rows.label[k] = new QLabel(QString::fromUtf8(Components[k]), this);
        rows.label[k]->setObjectName(QStringLiteral("lbl%1_%2").arg(which).arg(k));
        rows.bar[k] = new QScrollBar(Qt::Horizontal, this);
        rows.bar[k]->setObjectName(QStringLiteral("hScroll%1_%2").arg(which).arg(k));
        rows.bar[k]->setRange(0, 255);
        rows.bar[k]->setPageStep(16);
        rows.bar[k]->setMinimumWidth(220);
        rows.box[k] = new QLineEdit(this);
        rows.box[k]->setObjectName(QStringLiteral("txt%1_%2").arg(which).arg(k));
        rows.box[k]->setFixedWidth(48);
        rows.label[k]->setBuddy(rows.box[k]);
        connect(rows.bar[k], &QScrollBar::valueChanged, this, [this, &rows, k] {
            if (m_ready)
                barChanged(rows, k);
        });
        connect(rows.box[k], &QLineEdit::textChanged, this, [this, &rows, k] { boxChanged(rows, k); });
    }
    rows.preview = new QFrame(this);
    rows.preview->setObjectName(QStringLiteral("shp%1").arg(which));
    rows.preview->setFrameStyle(QFrame::Box | QFrame::Plain);
    rows.preview->setFixedSize(64, 64);
    rows.preview->setAutoFillBackground(true);
}

void FrmAnpassa::barChanged(Rows& rows, int k)
{
    ColourTriple rgb = rows.window ? m_state.windowRGB() : m_state.buttonRGB();
    for (int i = 0; i < 3; ++i)
        component(rgb, i) = qint16(rows.bar[i]->value());
    if (rows.window)
        m_state.setWindowRGB(rgb);
    else
        m_state.setButtonRGB(rgb);
    rows.box[k]->setText(QString::number(rows.bar[k]->value()));
    fill(rows.preview, rgb);
}

void FrmAnpassa::boxChanged(Rows& rows, int k)
{
    if (const auto v = ColourSettings::barFromBox(rows.box[k]->text()))
        rows.bar[k]->setValue(*v);
}

// By value: the change handlers write into the run's colour as the bars move.
void FrmAnpassa::setBars(Rows& rows, ColourTriple rgb)
{
    for (int k = 0; k < 3; ++k)
        rows.bar[k]->setValue(component(rgb, k));
}

void FrmAnpassa::fill(QFrame* preview, const ColourTriple& rgb)
{
    QPalette p = preview->palette();
    p.setColor(QPalette::Window, colourFromValue(rgb.value()));
    preview->setPalette(p);
}

void FrmAnpassa::cmdButton_Click(Cmd c)
{
    switch (c) {
    case Cmd::Ok:
        if (DbStatus s = ColourSettings::store(m_db, m_state.windowRGB(), m_state.buttonRGB()); !s) {
            m_prompts.message(this, QStringLiteral("Färgerna kunde inte sparas.\n\n") + s.error().describe(),
                Prompts::Buttons::Ok, Prompts::Icon::Critical);
            return;
        }
        close();
        break;
    case Cmd::Avbryt:
        close();
        break;
    case Cmd::Aterstall:
        setBars(m_window, Settings::DefaultWindowRGB);
        m_state.setWindowRGB(Settings::DefaultWindowRGB);
        setBars(m_button, Settings::DefaultButtonRGB);
        m_state.setButtonRGB(Settings::DefaultButtonRGB);
        break;
    }
}

void FrmAnpassa::keyPressEvent(QKeyEvent* e)
{
    if (Controls::enterClicks(this, e))
        return;
    switch (e->key()) {
    case Qt::Key_Escape:
        button(Cmd::Avbryt)->click();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void FrmAnpassa::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}
