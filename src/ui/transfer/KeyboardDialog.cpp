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

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

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
