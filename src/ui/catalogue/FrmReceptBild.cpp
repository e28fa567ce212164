#include "ui/catalogue/FrmReceptBild.h"
#include "core/app/ProgramPaths.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/catalogue/Pictures.h"
#include "ui/app/Colours.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

FrmReceptBild::FrmReceptBild(Prompts& prompts, const ProgramPaths& paths, const RunState& state,
    std::function<qint32()> currentRid, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_currentRid(std::move(currentRid))
{
    setObjectName(QStringLiteral("frmReceptBild"));
    setWindowTitle(QStringLiteral("Bild"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    Colours::apply(m_state, this);

    const QString current = Pictures::ReceptBildFil(m_paths.pictureFolder(), m_currentRid());
    button(Cmd::TaBort)->setVisible(!current.isEmpty());
    if (current.isEmpty())
        return;
    if (const QString error = showPicture(current); !error.isEmpty())
        QTimer::singleShot(0, this,
            [this, error] { m_prompts.message(this, error, Prompts::Buttons::Ok, Prompts::Icon::Warning); });
}

void FrmReceptBild::buildControls()
{
    // The preview sits at the top left of a fixed area and takes the size of
    // its picture, so it is placed by hand rather than by a layout.
    auto* area = new QFrame(this);
    area->setObjectName(QStringLiteral("fraPreview"));
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    area->setLineWidth(1);
    area->setFixedSize(PreviewMaxWidth + 2, PreviewMaxHeight + 2);
    m_picPreview = new QLabel(area);
    m_picPreview->setObjectName(QStringLiteral("picPreview"));
    m_picPreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picPreview->setGeometry(1, 1, PreviewMaxWidth, PreviewMaxHeight);

    m_lblFilename = new QLabel(QStringLiteral("Välj bild"), this);
    m_lblFilename->setObjectName(QStringLiteral("lblFilename"));
    m_txtFilename = new QLineEdit(this);
    m_txtFilename->setObjectName(QStringLiteral("txtFilename"));
    m_lblFilename->setBuddy(m_txtFilename);
    m_txtFilename->installEventFilter(this);

    const char* const captions[CmdCount] = { "Öppna", "Avbryt", "OK", "Ta bort" };
    for (int i = 0; i < CmdCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]), this);
        b->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        b->setMinimumWidth(80);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdButton_Click(Cmd(i)); });
        cmdButton[i] = b;
    }

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_lblFilename);
    fileRow->addWidget(m_txtFilename, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(button(Cmd::Oppna));
    buttonRow->addWidget(button(Cmd::TaBort));
    buttonRow->addStretch(1);
    buttonRow->addWidget(button(Cmd::Ok));
    buttonRow->addWidget(button(Cmd::Avbryt));
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(10, 8, 10, 8);
    main->setSpacing(6);
    main->addWidget(area, 0, Qt::AlignHCenter);
    main->addLayout(fileRow);
    main->addLayout(buttonRow);
    setFixedSize(440, 330);

    // Tab order as the window reads: file name, then the buttons.
    setTabOrder(m_txtFilename, button(Cmd::Oppna));
    setTabOrder(button(Cmd::Oppna), button(Cmd::TaBort));
    setTabOrder(button(Cmd::TaBort), button(Cmd::Ok));
    setTabOrder(button(Cmd::Ok), button(Cmd::Avbryt));
    setDefaultButton(button(Cmd::Ok));
}

QSize FrmReceptBild::previewSize() const
{
    return m_picPreview->size();
}

void FrmReceptBild::cmdButton_Click(Cmd c)
{
    switch (c) {
    case Cmd::Oppna:
        open();
        break;
    case Cmd::Avbryt:
        close();
        break;
    case Cmd::Ok:
        ok();
        break;
    case Cmd::TaBort:
        remove();
        break;
    }
}

void FrmReceptBild::open()
{
    QString folder;
    if (!m_txtFilename->text().isEmpty())
        folder = QFileInfo(m_txtFilename->text()).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    // A folder that is not there would be proposed as the file's name.
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString file = m_prompts.openFileName(this, QStringLiteral("Välj bild"),
        QStringLiteral("Bilder (*.jpg;*.gif;*.bmp)|*.jpg;*.gif;*.bmp"), folder);
    if (file.isEmpty() || !QFileInfo::exists(file))
        return;
    if (const QString error = showPicture(file); !error.isEmpty()) {
        m_prompts.message(this, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    m_txtFilename->setText(QFileInfo(file).absoluteFilePath());
}

void FrmReceptBild::ok()
{
    const QString file = m_txtFilename->text();
    if (file.isEmpty()) {
        close();
        return;
    }
    if (!QFileInfo::exists(file))
        return;
    const qint32 rid = m_currentRid();
    const Pictures::Result r = Pictures::storePicture(m_paths.pictureFolder(), rid, file);
    if (!r.ok) {
        m_prompts.message(this, r.error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    emit pictureChanged(rid);
    close();
}

void FrmReceptBild::remove()
{
    if (m_prompts.message(this, QStringLiteral("Vill du ta bort bilden?"), Prompts::Buttons::YesNo,
            Prompts::Icon::None, QStringLiteral("Ta bort bild"), Prompts::Answer::No)
        != Prompts::Answer::Yes)
        return;
    const qint32 rid = m_currentRid();
    const Pictures::Result r = Pictures::removePicture(m_paths.pictureFolder(), rid);
    if (!r.ok) {
        m_prompts.message(this, r.error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    if (button(Cmd::TaBort)->hasFocus())
        button(Cmd::Avbryt)->setFocus();
    button(Cmd::TaBort)->hide();
    m_picPreview->clear();
    emit pictureChanged(rid);
}

QString FrmReceptBild::showPicture(const QString& path)
{
    // The content decides, not the name: a GIF saved as .jpg still shows.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize own = reader.size();
    // A picture beyond Qt's allocation limit is read at the size it is shown
    // at, where its format allows that (JPEG does, GIF and BMP do not).
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    const bool huge = own.isValid() && limit > 0 && qint64(own.width()) * own.height() * 4 > limit;
    if (huge)
        reader.setScaledSize(own.boundedTo(QSize(PreviewMaxWidth, PreviewMaxHeight)));
    const QImage image = reader.read();
    if (image.isNull())
        return huge ? QStringLiteral("Bilden är för stor för att visas.")
                    : QStringLiteral("Bilden kunde inte visas.");
    setPreview(image, own.isValid() ? own : image.size());
    return {};
}

void FrmReceptBild::setPreview(const QImage& image, QSize own)
{
    // Width and height are limited each on its own, so a picture that is
    // only too wide keeps its height.
    QSize size = m_stretch ? m_picPreview->size() : own;
    if (size.width() > PreviewMaxWidth) {
        size.setWidth(PreviewMaxWidth);
        m_stretch = true;
    }
    if (size.height() > PreviewMaxHeight) {
        size.setHeight(PreviewMaxHeight);
        m_stretch = true;
    }
    m_picPreview->setScaledContents(m_stretch);
    m_picPreview->resize(size);
    m_picPreview->setPixmap(QPixmap::fromImage(image));
}

void FrmReceptBild::setDefaultButton(QPushButton* button)
{
    m_default.set(button);
}

bool FrmReceptBild::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == m_txtFilename && e->type() == QEvent::FocusIn)
        setDefaultButton(button(Cmd::Oppna));
    return QWidget::eventFilter(watched, e);
}

void FrmReceptBild::keyPressEvent(QKeyEvent* e)
{
    if (m_default.enter(this, e))
        return;
    switch (e->key()) {
    case Qt::Key_Escape:
        button(Cmd::Avbryt)->click();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void FrmReceptBild::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}
