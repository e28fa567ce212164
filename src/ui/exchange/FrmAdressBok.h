#pragma once

#include "core/app/ProgramPaths.h"
#include "core/exchange/AddressBook.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QPointer>
#include <QWidget>

class FrmERecept;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The address book: picks recipients for the mail window it was opened from,
// and adds, edits and removes contacts in adresser.txt.
class FrmAdressBok : public QWidget {
    Q_OBJECT
public:
    FrmAdressBok(Prompts& prompts, const ProgramPaths& paths, const RunState& state, FrmERecept* mailWindow);

    // Fills the list and the contact table from adresser.txt.
    void GetAdresser();
    const QList<AddressBook::Contact>& contacts() const { return m_contacts; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The buttons by their index in cmdButton (cmdButton_<index>); LaggTill
    // and AvbrytKontakt sit on the contact panel, LaggTill reading "Spara"
    // while a contact is edited.
    enum class Cmd : int {
        Ok = 0,
        TaBort = 1,
        NyKontakt = 2,
        LaggTill = 3,
        AvbrytKontakt = 4,
        Redigera = 5,
        Avbryt = 6,
    };
    static constexpr int CmdCount = 7;

    void buildPanel();
    QPushButton* makeButton(QWidget* parent, Cmd c, const QString& caption, int x, int y);
    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    void cmdButton_Click(Cmd c);
    void pick();
    void remove();
    void showPanel(bool editing);
    void hidePanel();
    void confirmPanel();
    // The add mode's checks; false (the user told) when the panel must stay.
    bool panelValid();
    // Writes the table; on failure the user is told and false returned.
    bool save(const QList<AddressBook::Contact>& contacts);
    void setDefaultButton(QPushButton* b);

    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    const RunState& m_state;
    QPointer<FrmERecept> m_mail;
    QList<AddressBook::Contact> m_contacts;
    bool m_editing = false;
    bool m_readFailed = false;
    Controls::DefaultButton m_default;

    QLabel* Label1 = nullptr;
    QLabel* lblKontakter = nullptr;
    QListWidget* lstKontakter = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
    QWidget* picNyKontakt = nullptr;
    QLabel* lblKontak = nullptr;
    QLineEdit* txtNamn = nullptr;
    QLineEdit* txtMail = nullptr;
};
