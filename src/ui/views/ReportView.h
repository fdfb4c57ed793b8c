#pragma once
#include <QString>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <vector>

class CReportDoc;
class CMainFrame;
class CNode;
class CListNode;
class QMenu;

// The text of a list cell as the view draws it: a text wider than its column
// is cut to n - 1 characters followed by "..", where n = (column width -
// margin) / average character width.
QString ShortenText(const QString& text, int columnWidth, int margin, int avgCharWidth);

// The list view of a project window: one row per child of the document's
// node, columns and texts from the node, and every command of the project
// window, enabled by the node's IsCommandEnabled.
class CReportView : public QTreeWidget {
    Q_OBJECT
public:
    CReportView(CReportDoc* doc, CMainFrame* mainFrame, QWidget* parent = nullptr);
    ~CReportView() override;

    CReportDoc* Doc() const { return m_doc; }
    CListNode* Node() const;

    // Columns, rows, colours and the frame size.
    void InitialUpdate();
    // Hint 0 rebuilds all rows; k > 0 refreshes row k - 1 or appends the rows
    // of children past the last row.
    void OnUpdate(int hint);

    int AvgCharWidth() const { return m_avgCharWidth; }
    std::vector<int> SelectedRows() const;
    int FirstSelectedRow() const;
    void SelectRow(int row);  // selects, focuses and scrolls to one row

    // Whether the view handles a command id and whether it is enabled now.
    static bool HandlesCommand(int id);
    bool IsCommandIdEnabled(int id);
    bool IsCodeEnabled(int code);
    void OnCommand(int id);

    // The context menu as a right click builds it (the caller owns it).
    QMenu* BuildContextMenu();
    // Re-sizes the frame for the node's child count when AutoSize is on.
    void AutoSizeFrame();
    // Clears the selection and focus state of one row (the transfer dialogs
    // call it for each list they have finished).
    void ClearRowState(int row);

    // Command handlers.
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnDelete();
    void OnProperties();
    void OnCopy();
    void OnPaste();
    void OnCut();
    void OnWorkList();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillRow(QTreeWidgetItem* item, CNode* child);
    bool IsFeatureAvailable(int code);
    void DispatchRegistered(int code);
    CNode* FirstSelectedChild() const;
    // Runs Delete on the selected children after the question.
    void DeleteSelected();

    CReportDoc* m_doc;
    CMainFrame* m_mainFrame;
    int m_avgCharWidth = 7;
    int m_rowHeight = 17;
    friend class CRowDelegate;
};

// Owner drawing of one cell: highlight, icon, shortened single-line text.
class CRowDelegate : public QStyledItemDelegate {
public:
    explicit CRowDelegate(CReportView* view) : QStyledItemDelegate(view), m_view(view) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CReportView* m_view;
};
