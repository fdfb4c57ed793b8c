#pragma once
#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class CComm;
class CListNode;
class CReportView;

// Loads the selected lists of a list view into the module, or reads them
// from the module into the project: one list after the other, a selected
// folder (category, composite list, directory section) child by child. The
// transfer itself runs in the link's transfer thread; its completion comes
// back to this dialog through the event loop, and a 250 ms timer shows the
// progress of the list image in the meantime.
class CTransferDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Load, Read };

    CTransferDialog(CReportView* view, CComm& comm, Mode mode, QWidget* parent = nullptr);
    ~CTransferDialog() override;

    // Opens the link (62061 when another connection is active, the link's
    // error when it cannot be opened) and queues the first step. False when
    // the dialog must not run; everything has been reported then.
    bool Start();
    // Start, then the modal loop: what "Laden PX920..." and "Lesen PX920..." do.
    static int Run(CReportView* view, CComm& comm, Mode mode);

    Mode GetMode() const { return m_mode; }
    bool IsCancelled() const { return m_cancelled; }
    QLineEdit* IdentifierEdit() const { return m_identifier; }
    QLineEdit* DesignationEdit() const { return m_designation; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QPushButton* CancelButton() const { return m_cancel; }

    static constexpr int kProgressRange = 20;
    static constexpr int kTimerMs = 250;

public slots:
    // "Abbrechen": the running list finishes, then the dialog ends.
    void OnCancel();
    // Esc and the window's close box act as "Abbrechen": ending the dialog
    // at once would close the link under a running transfer.
    void reject() override;

private:
    void PostNext();
    void OnNext();
    void OnTransferDone(int result);
    void OnTimer();
    void Finish(int code);
    CListNode* ShownNode() const;
    // The row currently worked on, -1 when none is left.
    int CurrentRow() const;
    void ReselectPendingRows();

    QPointer<CReportView> m_view;
    CComm& m_comm;
    Mode m_mode;
    std::vector<int> m_rows;       // selected rows at the start, in row order
    size_t m_pos = 0;              // index into m_rows
    int m_childIndex = 0;          // child of a folder item
    bool m_cancelled = false;
    bool m_finished = false;
    bool m_linkOpened = false;     // this dialog opened the link and closes it
    std::string m_currentBase;     // base name of the list being transferred

    QLineEdit* m_identifier;
    QLineEdit* m_designation;
    QProgressBar* m_progress;
    QPushButton* m_cancel;
    QTimer* m_timer;
};
