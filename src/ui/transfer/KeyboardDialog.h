#pragma once
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

#include "transfer/OperatorKeys.h"
#include "transfer/TastenButton.h"
#include "transfer/TastenEdit.h"

class CComm;

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
