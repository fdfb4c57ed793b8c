#pragma once
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdint>
#include <string>
#include <vector>

class CComm;
class CBetriebstastaturDlg;

// One function key of the module's operator keyboard.
struct OperatorKey {
    int id;               // button id 2101 .. 2140
    const char* caption;  // UTF-8; empty for the three unused buttons
    int code;             // code sent, -1 for none
};
// The 40 key buttons in id order.
const std::vector<OperatorKey>& OperatorKeys();

// The text the log shows for a code sent: the character for 0x20 to 0x7E,
// the key's name where the string table has one, else "<%02X>". Display bytes.
std::string KeyLogText(uint8_t code);

// The code a key of the PC keyboard sends (Page Up/Down and the cursor
// keys; cursor left and right with Ctrl move between fields), -1 for others.
int NavigationKeyCode(int qtKey, bool ctrl);

// The character a key press types: Enter gives 0x0A, otherwise the single
// character of its text; -1 when the press types nothing.
int TypedCharacter(const QKeyEvent& event);

// A key button of the operator keyboard: typed characters, the navigation
// keys and a plain Space go to the dialog and are sent, so that the whole
// keyboard of the PC works while a button has the focus. Tab still moves
// the focus and Esc closes the dialog. The close button forwards characters
// and Space too, but leaves the arrows and Enter to their normal use.
class CTastenButton : public QPushButton {
    Q_OBJECT
public:
    CTastenButton(const QString& text, CBetriebstastaturDlg* dialog, bool wantsAllKeys);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    CBetriebstastaturDlg* m_dialog;
    bool m_wantsAllKeys;
};

// The log of the codes sent. Typed characters and the navigation keys go to
// the dialog; every other key edits the log as usual.
class CTastenEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CTastenEdit(CBetriebstastaturDlg* dialog);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CBetriebstastaturDlg* m_dialog;
};

// "PX920 Betriebstastatur": sends single key codes to the module over the
// link opened raw, as if the keys were pressed on the module, and logs them.
class CBetriebstastaturDlg : public QDialog {
    Q_OBJECT
public:
    CBetriebstastaturDlg(CComm& comm, QWidget* parent = nullptr);
    ~CBetriebstastaturDlg() override;

    // Opens the link raw; false (after the report) when the dialog must not open.
    bool Start();
    static int Run(CComm& comm, QWidget* parent);

    // The one way every button and key sends: the byte, then its log text.
    void SendKey(uint8_t code);
    // A typed character (from the dialog, a key button or the log): codes
    // below 127 are sent, others ignored.
    void OnChar(int code);
    // Page Up/Down and the cursor keys.
    void OnKeyDown(int qtKey, Qt::KeyboardModifiers modifiers);

    CTastenButton* KeyButton(int id) const;
    CTastenButton* CloseButton() const { return m_close; }
    CTastenEdit* Log() const { return m_log; }

private:
    CComm& m_comm;
    bool m_linkOpened = false;
    std::vector<CTastenButton*> m_keys;  // index id - 2101
    CTastenButton* m_close;
    CTastenEdit* m_log;
};
