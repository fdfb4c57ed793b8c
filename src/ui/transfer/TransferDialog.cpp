#include "transfer/TransferDialog.h"

#include <algorithm>

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Application.h"
#include "app/QtUserInteraction.h"
#include "comm/Comm.h"
#include "model/Node.h"
#include "project/Projekt.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/Strings.h"
#include "views/ReportView.h"

namespace {
constexpr int kMaxIdentifierChars = 4;
constexpr int kMaxDesignationChars = 80;

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

CTransferDialog::CTransferDialog(CReportView* view, CComm& comm, Mode mode, QWidget* parent)
    : QDialog(parent ? parent : view), m_view(view), m_comm(comm), m_mode(mode)
{
    setObjectName(QStringLiteral("CTransferDialog"));
    // The dialog has no caption of its own; the title bar names the direction
    // only so that window lists show something sensible.
    setWindowTitle(QString());
    setModal(true);

    m_identifier = new QLineEdit(this);
    m_identifier->setObjectName(QStringLiteral("Kennung"));
    m_identifier->setReadOnly(true);
    m_identifier->setMaxLength(kMaxIdentifierChars);
    m_identifier->setFocusPolicy(Qt::NoFocus);
    m_designation = new QLineEdit(this);
    m_designation->setObjectName(QStringLiteral("Bezeichnung"));
    m_designation->setReadOnly(true);
    m_designation->setMaxLength(kMaxDesignationChars);
    m_designation->setFocusPolicy(Qt::NoFocus);
    m_designation->setMinimumWidth(m_designation->fontMetrics().averageCharWidth() * 40);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("LadenProgress"));
    m_progress->setRange(0, kProgressRange);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cancel->setObjectName(QStringLiteral("Abbrechen"));
    m_cancel->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Kennung:"), m_identifier);
    form->addRow(QStringLiteral("Bezeichnung:"), m_designation);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);

    m_timer = new QTimer(this);
    m_timer->setInterval(kTimerMs);
    connect(m_timer, &QTimer::timeout, this, &CTransferDialog::OnTimer);
    connect(m_cancel, &QPushButton::clicked, this, &CTransferDialog::OnCancel);
}

CTransferDialog::~CTransferDialog()
{
    m_timer->stop();
    // Stops a transfer that is still running and waits for its thread, so
    // that no completion can reach this dialog once it is gone. A link this
    // dialog was refused belongs to someone else and stays open.
    if (m_linkOpened) m_comm.Close();
}

int CTransferDialog::Run(CReportView* view, CComm& comm, Mode mode)
{
    CTransferDialog dlg(view, comm, mode);
    if (!dlg.Start()) return QDialog::Rejected;
    return dlg.exec();
}

bool CTransferDialog::Start()
{
    m_progress->setRange(0, kProgressRange);
    m_progress->setValue(0);
    bool open;
    {
        WaitCursor wait;
        // The completion arrives in the transfer thread; it is handed to the
        // user-interface thread and handled there like any other event.
        TransferNotify notify = [this](unsigned message, int result) {
            unsigned expected = m_mode == Mode::Load ? kLoadDoneMessage : kReadDoneMessage;
            if (message != expected) return;
            QMetaObject::invokeMethod(this, [this, result] { OnTransferDone(result); }, Qt::QueuedConnection);
        };
        open = OpenLinkForUser(m_comm, 2, App().Ui(), std::move(notify));
    }
    if (!open) return false;
    m_linkOpened = true;
    m_rows = m_view ? m_view->SelectedRows() : std::vector<int>();
    m_pos = 0;
    m_childIndex = 0;
    m_timer->start();
    PostNext();
    return true;
}

CListNode* CTransferDialog::ShownNode() const { return m_view ? m_view->Node() : nullptr; }

int CTransferDialog::CurrentRow() const { return m_pos < m_rows.size() ? m_rows[m_pos] : -1; }

void CTransferDialog::PostNext()
{
    QMetaObject::invokeMethod(this, &CTransferDialog::OnNext, Qt::QueuedConnection);
}

void CTransferDialog::Finish(int code)
{
    if (m_finished) return;
    m_finished = true;
    m_timer->stop();
    QDialog::done(code);
}

void CTransferDialog::OnCancel() { m_cancelled = true; }

void CTransferDialog::reject() { OnCancel(); }

void CTransferDialog::OnNext()
{
    if (m_finished) return;
    CListNode* shown = ShownNode();
    int row = CurrentRow();
    if (row < 0 || m_cancelled || !shown) {
        Finish(QDialog::Accepted);
        return;
    }
    CNode* item = shown->GetChild(row);
    if (!item) {
        Finish(QDialog::Accepted);
        return;
    }
    CNode* node = item;
    m_currentBase.clear();
    if (item->IsFolder()) {
        auto* folder = static_cast<CListNode*>(item);
        if (!folder->m_loaded) {
            WaitCursor wait;
            folder->Load();
        }
        if (m_childIndex >= folder->GetChildCount()) {
            // Nothing (more) to transfer in this folder: on to the next item.
            QMetaObject::invokeMethod(this, [this] { OnTransferDone(1); }, Qt::QueuedConnection);
            return;
        }
        node = folder->GetChild(m_childIndex);
    }
    auto* list = dynamic_cast<CFileList*>(node);
    CProjekt* project = App().Project();
    if (!list || !project) {
        CErrorInfo err;
        err.Set(IDS_INTERNAL_ERROR, "LadeVDlg", __LINE__);
        err.Report(App().Ui());
        Finish(QDialog::Rejected);
        return;
    }
    m_currentBase = list->GetBaseName();
    m_identifier->setText(FromDisplay(m_currentBase.substr(0, kMaxIdentifierChars)));
    m_designation->setText(FromDisplay(TrimRight(list->GetColumnText(0))).left(kMaxDesignationChars));
    m_progress->setValue(0);

    const std::string& dir = project->GetDirectory();
    bool started = m_mode == Mode::Load ? m_comm.StartLoad(dir, list->GetFileName())
                                        : m_comm.StartRead(dir, list->GetFileName());
    if (!started) {
        m_comm.ErrorInfo().Report(App().Ui());
        m_comm.ErrorInfo().Clear();
        Finish(QDialog::Rejected);
    }
}

void CTransferDialog::OnTransferDone(int result)
{
    if (m_finished) return;
    if (result == 0) {
        m_comm.ErrorInfo().Report(App().Ui());
        m_comm.ErrorInfo().Clear();
        Finish(QDialog::Rejected);
        return;
    }
    CListNode* shown = ShownNode();
    int row = CurrentRow();
    CNode* item = shown ? shown->GetChild(row) : nullptr;
    if (m_mode == Mode::Read && !m_currentBase.empty()) {
        // The file in the project directory is new or replaced: the tree
        // takes it in (which may rebuild the rows of the window).
        if (CProjekt* project = App().Project()) project->RefreshAfterOutsideWrite(m_currentBase);
        item = shown ? shown->GetChild(row) : nullptr;
    }
    m_currentBase.clear();
    if (item && item->IsFolder() && m_childIndex < static_cast<CListNode*>(item)->GetChildCount()) {
        ++m_childIndex;
    } else {
        if (m_view) m_view->ClearRowState(row);
        ++m_pos;
        m_childIndex = 0;
    }
    ReselectPendingRows();
    PostNext();
}

void CTransferDialog::ReselectPendingRows()
{
    // Taking a read list into the tree rebuilds the rows of the windows that
    // show its category; the rows still to come stay marked as selected.
    if (!m_view) return;
    for (size_t i = m_pos; i < m_rows.size(); ++i)
        if (QTreeWidgetItem* it = m_view->topLevelItem(m_rows[i])) it->setSelected(true);
}

void CTransferDialog::OnTimer()
{
    int length = m_comm.DataLength();
    int pos = 0;
    if (length != 0) pos = static_cast<int>(static_cast<long long>(m_comm.Progress()) * kProgressRange / length);
    m_progress->setValue(std::clamp(pos, 0, kProgressRange));
}
