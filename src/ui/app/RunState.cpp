#include "ui/app/RunState.h"

QColor colourFromValue(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

RunState::RunState(QObject* parent)
    : QObject(parent)
{
}

template <typename T> void RunState::set(T& field, const T& value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void RunState::applySettings(const Settings::Stored& s)
{
    m_windowWidth = s.windowWidth;
    m_windowHeight = s.windowHeight;
    m_seekUppgradering = s.upgrade;
    m_windowRGB = s.windowRGB;
    m_buttonRGB = s.buttonRGB;
    m_windowColour = s.windowRGB.value();
    m_seekIngredienser = false;
    emit changed();
}

void RunState::setWindowSize(qint16 width, qint16 height)
{
    if (width == m_windowWidth && height == m_windowHeight)
        return;
    m_windowWidth = width;
    m_windowHeight = height;
    emit changed();
}

void RunState::setSeekUppgradering(quint8 on)
{
    set(m_seekUppgradering, on);
}

void RunState::setSeekIngredienser(bool on)
{
    set(m_seekIngredienser, on);
}

void RunState::setWindowColour(quint32 value)
{
    set(m_windowColour, value);
}

void RunState::setWindowRGB(ColourTriple rgb)
{
    set(m_windowRGB, rgb);
}

void RunState::setButtonRGB(ColourTriple rgb)
{
    set(m_buttonRGB, rgb);
}

void RunState::setProgramTitle(const QString& title)
{
    set(m_programTitle, title);
}

std::optional<QString> RunState::mailPassword(const QString& account) const
{
    const auto it = m_mailPasswords.constFind(account);
    if (it == m_mailPasswords.cend())
        return std::nullopt;
    return *it;
}

void RunState::setMailPassword(const QString& account, const QString& password)
{
    const auto it = m_mailPasswords.constFind(account);
    if (it != m_mailPasswords.cend() && *it == password)
        return;
    m_mailPasswords.insert(account, password);
    emit changed();
}

void RunState::forgetMailPassword(const QString& account)
{
    if (m_mailPasswords.remove(account) > 0)
        emit changed();
}

void RunState::setPrintChoices(const PrintChoices& choices)
{
    m_printChoices = choices;
    emit changed();
}

void RunState::setMatsedelSlot(int slot)
{
    set(m_matsedelSlot, slot);
}
