#include "transfer/KeyboardDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/QtUserInteraction.h"
#include "comm/Comm.h"
#include "util/Charset.h"
#include "util/Format.h"
#include "util/StringTable.h"

namespace {
constexpr int kFirstKeyId = 2101;
constexpr int kKeyCount = 40;
constexpr int IDS_KEY_HEX = 63047;          // "<%02X>"
constexpr int IDS_CONTROL_KEY_BASE = 63048; // + code below 0x20
constexpr int IDS_HIGH_KEY_BASE = 62952;    // + code from 0x7F

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

bool IsNavigationKey(int key) { return NavigationKeyCode(key, false) >= 0; }
}  // namespace

const std::vector<OperatorKey>& OperatorKeys()
{
    static const std::vector<OperatorKey> keys = [] {
        std::vector<OperatorKey> k = {
            {2101, "Inh.Proz.Bild.", 0x01},   {2102, "Funkt.-Anw.", 0x14},
            {2103, "F-Quitt", 0x04},          {2104, "SW-Reset", 0x11},
            {2105, "Hardcopy", 0x12},         {2106, "Hardcopy-Ende", 0x13},
            {2107, "Feld -->", 0x84},         {2108, "<-- Feld ", 0x85},
            {2109, "Feld <-> Fenster", 0x86}, {2110, "Feldeing. Abbr.", 0x02},
            {2111, "E-Feld Aktual.", 0xE9},   {2112, "Hex EE", 0xEE},
            {2113, "Bildschirm hell", 0xDF},  {2114, "Bildsch.dunkel", 0xE0},
            {2115, "Uhr lesen", 0xE2},        {2116, "Uhr setzen", 0xE3},
            {2117, "Protok.Start", 0xE4},     {2118, "Protok.Stop", 0xE5},
            {2119, "CurPos-->DW7", 0xE6},     {2120, "CurPos<--DW7", 0xE7},
            {2121, "Ausführung DW9", 0xE8},   {2122, "", -1},
            {2123, "", -1},                   {2124, "", -1},
        };
        static const char* const errors[16] = {"Fehler 100", "Fehler 101", "Fehler 102", "Fehler 103",
                                               "Fehler 104", "Fehler 105", "Fehler 106", "Fehler 107",
                                               "Fehler 108", "Fehler 109", "Fehler 110", "Fehler 111",
                                               "Fehler 112", "Fehler 113", "Fehler 114", "Fehler 115"};
        for (int i = 0; i < 16; ++i) k.push_back({2125 + i, errors[i], 0xF0 + i});
        return k;
    }();
    return keys;
}

std::string KeyLogText(uint8_t code)
{
    if (code >= 0x20 && code <= 0x7E) return std::string(1, static_cast<char>(code));
    int id = code < 0x20 ? IDS_CONTROL_KEY_BASE + code : IDS_HIGH_KEY_BASE + code;
    if (HasString(id)) return LoadString(id);
    return FormatString(LoadString(IDS_KEY_HEX), {static_cast<long>(code)});
}

int NavigationKeyCode(int qtKey, bool ctrl)
{
    switch (qtKey) {
    case Qt::Key_PageUp: return 0x8C;
    case Qt::Key_PageDown: return 0x8D;
    case Qt::Key_Up: return 0x8F;
    case Qt::Key_Down: return 0x90;
    case Qt::Key_Left: return ctrl ? 0x92 : 0xAF;
    case Qt::Key_Right: return ctrl ? 0x91 : 0xB0;
    default: return -1;
    }
}

int TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) return 0x0A;
    const QString text = event.text();
    if (text.size() != 1) return -1;
    return text.at(0).unicode();
}

// ------------------------------------------------------------ CTastenButton

CTastenButton::CTastenButton(const QString& text, CBetriebstastaturDlg* dialog, bool wantsAllKeys)
    : QPushButton(text, dialog), m_dialog(dialog), m_wantsAllKeys(wantsAllKeys)
{
    setAutoDefault(false);
}

void CTastenButton::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape) {
        // Focus moves and the dialog closes as in any dialog.
        event->ignore();
        return;
    }
    if (key == Qt::Key_Space) {
        // With Shift or Ctrl, or when the button is already held down by
        // Space, Space presses the button; otherwise it is the module's Space.
        if ((mods & (Qt::ShiftModifier | Qt::ControlModifier)) || isDown()) {
            QPushButton::keyPressEvent(event);
            return;
        }
        m_dialog->SendKey(0x20);
        event->accept();
        return;
    }
    if (IsNavigationKey(key)) {
        if (m_wantsAllKeys) {
            m_dialog->OnKeyDown(key, mods);
            event->accept();
        } else {
            QPushButton::keyPressEvent(event);
        }
        return;
    }
    if (!m_wantsAllKeys && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    int c = TypedCharacter(*event);
    if (c >= 0) {
        m_dialog->OnChar(c);
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void CTastenButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !isDown()) {
        // The release of a Space that went to the module.
        event->accept();
        return;
    }
    QPushButton::keyReleaseEvent(event);
}

// ------------------------------------------------------------ CTastenEdit

CTastenEdit::CTastenEdit(CBetriebstastaturDlg* dialog) : QPlainTextEdit(dialog), m_dialog(dialog)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void CTastenEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (IsNavigationKey(key)) {
        m_dialog->OnKeyDown(key, event->modifiers());
        event->accept();
        return;
    }
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab && key != Qt::Key_Escape) {
        int c = TypedCharacter(*event);
        if (c >= 0 && c < 127) {
            m_dialog->OnChar(c);
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

// ------------------------------------------------------------ dialog

CBetriebstastaturDlg::CBetriebstastaturDlg(CComm& comm, QWidget* parent) : QDialog(parent), m_comm(comm)
{
    setObjectName(QStringLiteral("CBetriebstastaturDlg"));
    setWindowTitle(QStringLiteral("PX920 Betriebstastatur"));
    setModal(true);

    // The function keys in the module's order, six rows of four, then the
    // sixteen error keys in a block of their own.
    auto* functionGrid = new QGridLayout;
    auto* errorGrid = new QGridLayout;
    const std::vector<OperatorKey>& keys = OperatorKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        const OperatorKey& k = keys[i];
        auto* b = new CTastenButton(QString::fromUtf8(k.caption), this, true);
        b->setObjectName(QStringLiteral("Taste%1").arg(k.id));
        b->setProperty("keyId", k.id);
        if (k.code >= 0) {
            const uint8_t code = static_cast<uint8_t>(k.code);
            connect(b, &QPushButton::clicked, this, [this, code] { SendKey(code); });
        }
        m_keys.push_back(b);
        int n = static_cast<int>(i);
        if (n < 24)
            functionGrid->addWidget(b, n / 4, n % 4);
        else
            errorGrid->addWidget(b, (n - 24) / 4, (n - 24) % 4);
    }
    m_log = new CTastenEdit(this);
    m_log->setObjectName(QStringLiteral("Protokoll"));
    m_log->setMinimumHeight(fontMetrics().height() * 6);
    m_close = new CTastenButton(QStringLiteral("Schließen"), this, false);
    m_close->setObjectName(QStringLiteral("Schliessen"));
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* keysRow = new QHBoxLayout;
    keysRow->addLayout(functionGrid, 6);
    keysRow->addSpacing(12);
    keysRow->addLayout(errorGrid, 4);
    keysRow->setAlignment(errorGrid, Qt::AlignTop);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(keysRow);
    layout->addWidget(m_log, 1);
    layout->addLayout(bottom);
}

CBetriebstastaturDlg::~CBetriebstastaturDlg()
{
    // In raw state closing sends no telegram; it only gives the port back.
    // A link this dialog was refused belongs to someone else and stays open.
    if (m_linkOpened) m_comm.Close();
}

bool CBetriebstastaturDlg::Start()
{
    WaitCursor wait;
    m_linkOpened = OpenLinkForUser(m_comm, 1, App().Ui());
    return m_linkOpened;
}

int CBetriebstastaturDlg::Run(CComm& comm, QWidget* parent)
{
    CBetriebstastaturDlg dlg(comm, parent);
    if (!dlg.Start()) return QDialog::Rejected;
    return dlg.exec();
}

CTastenButton* CBetriebstastaturDlg::KeyButton(int id) const
{
    int i = id - kFirstKeyId;
    return i >= 0 && i < kKeyCount && i < static_cast<int>(m_keys.size()) ? m_keys[i] : nullptr;
}

void CBetriebstastaturDlg::SendKey(uint8_t code)
{
    // Write failures of single bytes are not reported; the log shows what
    // the user pressed.
    m_comm.SendRawByte(code);
    m_log->ensureCursorVisible();
    m_log->textCursor().insertText(FromDisplay(KeyLogText(code)));
    m_log->ensureCursorVisible();
}

void CBetriebstastaturDlg::OnChar(int code)
{
    if (code < 0 || code >= 127) return;
    SendKey(static_cast<uint8_t>(code));
}

void CBetriebstastaturDlg::OnKeyDown(int qtKey, Qt::KeyboardModifiers modifiers)
{
    int code = NavigationKeyCode(qtKey, modifiers & Qt::ControlModifier);
    if (code >= 0) SendKey(static_cast<uint8_t>(code));
}
