#include "views/ReportView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <set>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/QtUserInteraction.h"
#include "app/Resources.h"
#include "model/Node.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "util/UserInteraction.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/NodeCommands.h"
#include "views/ReportDoc.h"

namespace {
constexpr int kIconRole = Qt::UserRole + 1;

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Closes the window that shows a node, and for a G-symbol also the window of
// its single-symbol list.
void CloseWindowsOf(CNode* child)
{
    if (child->m_document) static_cast<CReportDoc*>(child->m_document)->CloseFrame();
    if (child->GetType() == NT_GSYMBOL) {
        if (CListNode* singles = static_cast<CListNode*>(child)->GetSingleSymbolList())
            if (singles->m_document) static_cast<CReportDoc*>(singles->m_document)->CloseFrame();
    }
}
}  // namespace

QString ShortenText(const QString& text, int columnWidth, int margin, int avgCharWidth)
{
    if (avgCharWidth <= 0) return text;
    int n = (columnWidth - margin) / avgCharWidth;
    if (n >= text.size()) return text;
    if (n > 1) return text.left(n - 1) + QStringLiteral("..");
    if (n == 1) return QStringLiteral("..");
    return QString();
}

// ------------------------------------------------------------------ view

CReportView::CReportView(CReportDoc* doc, CMainFrame* mainFrame, QWidget* parent)
    : QTreeWidget(parent), m_doc(doc), m_mainFrame(mainFrame)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setIconSize(QSize(16, 16));
    setFont(res::ListFont());
    setItemDelegate(new CRowDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The header keeps the program's dialog font; only the rows use the list font.
    header()->setFont(QApplication::font());
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_mainFrame) m_mainFrame->UpdateCommandUi();
    });
}

CReportView::~CReportView()
{
    // Windows of the node's children cannot outlive this window.
    CListNode* node = Node();
    if (!node) return;
    std::vector<CNode*> children = node->m_children;
    for (CNode* c : children) CloseWindowsOf(c);
}

CListNode* CReportView::Node() const { return m_doc ? m_doc->Node() : nullptr; }

void CReportView::InitialUpdate()
{
    CListNode* node = Node();
    m_avgCharWidth = std::max(1, QFontMetrics(font()).averageCharWidth());
    m_rowHeight = App().Settings().fontHeight + 2;
    clear();
    int count = node ? node->GetColumnCount() : 0;
    QStringList headers;
    for (int i = 0; i < count; ++i) headers << FromDisplay(node->GetColumnHeader(i));
    setColumnCount(count);
    setHeaderLabels(headers);
    for (int i = 0; i < count; ++i)
        header()->resizeSection(i, static_cast<int>(node->GetColumnWidth(i) * m_avgCharWidth * 1.2));
    OnUpdate(0);

    if (CChildFrame* frame = m_doc ? m_doc->Frame() : nullptr) {
        frame->m_rowHeight = m_rowHeight;
        int headerHeight = header()->isVisible() ? header()->height() : header()->sizeHint().height();
        frame->m_nonClientHeight = (frame->height() - height()) + headerHeight + 2 * frameWidth();
        // Width: every column, the frame's borders and room for a scroll bar.
        int columns = 0;
        for (int i = 0; i < count; ++i) columns += header()->sectionSize(i);
        int width = columns + (frame->width() - this->width()) + 2 * frameWidth() +
                    verticalScrollBar()->sizeHint().width();
        if (QWidget* area = frame->parentWidget()) width = std::min(width, std::max(200, area->width() - frame->x()));
        frame->resize(width, frame->height());
        frame->SizeForRows(node ? node->GetChildCount() : 0);
    }
}

void CReportView::FillRow(QTreeWidgetItem* item, CNode* child)
{
    int count = columnCount();
    for (int i = 0; i < count; ++i) item->setText(i, FromDisplay(child->GetColumnText(i)));
    item->setData(0, kIconRole, child->m_imageIndex);
}

void CReportView::OnUpdate(int hint)
{
    CListNode* node = Node();
    if (!node || !node->m_loaded) return;
    if (hint == 0) {
        clear();
        QList<QTreeWidgetItem*> items;
        for (CNode* child : node->m_children) {
            auto* item = new QTreeWidgetItem;
            FillRow(item, child);
            items << item;
        }
        addTopLevelItems(items);
        return;
    }
    int row = hint - 1;
    if (row < topLevelItemCount()) {
        if (CNode* child = node->GetChild(row)) FillRow(topLevelItem(row), child);
        return;
    }
    for (int i = topLevelItemCount(); i < node->GetChildCount(); ++i) {
        auto* item = new QTreeWidgetItem;
        FillRow(item, node->m_children[i]);
        addTopLevelItem(item);
    }
}

std::vector<int> CReportView::SelectedRows() const
{
    std::vector<int> rows;
    for (QTreeWidgetItem* item : selectedItems()) rows.push_back(indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CReportView::FirstSelectedRow() const
{
    std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

CNode* CReportView::FirstSelectedChild() const
{
    CListNode* node = Node();
    return node ? node->GetChild(FirstSelectedRow()) : nullptr;
}

void CReportView::SelectRow(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    clearSelection();
    item->setSelected(true);
    setCurrentItem(item, 0, QItemSelectionModel::NoUpdate);
    scrollToItem(item);
}

void CReportView::ClearRowState(int row)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return;
    item->setSelected(false);
    if (currentItem() == item) selectionModel()->clearCurrentIndex();
    viewport()->update(visualItemRect(item));
}

void CReportView::AutoSizeFrame()
{
    if (!App().Settings().autoSize) return;
    if (CChildFrame* frame = m_doc ? m_doc->Frame() : nullptr)
        if (CListNode* node = Node()) frame->SizeForRows(node->GetChildCount());
}

// ------------------------------------------------------------- enabling

bool CReportView::HandlesCommand(int id) { return FindViewCommand(id) != nullptr; }

bool CReportView::IsFeatureAvailable(int code)
{
    CListNode* node = Node();
    switch (code) {
    case CMD_NEW:
        return FindNewHandler(node->GetType()) != nullptr;
    case CMD_OPEN: {
        CNode* c = FirstSelectedChild();
        if (!c) return true;
        int t = c->GetType();
        if (!c->IsList() || t == NT_FENSTER || t == NT_SYMBOL) return FindPropertiesHandler(t) != nullptr;
        return true;
    }
    case CMD_PROPERTIES: {
        CNode* c = FirstSelectedChild();
        return c && FindPropertiesHandler(c->GetType()) != nullptr;
    }
    case CMD_DEVICE_DIRECTORY:
    case CMD_DEVICE_LOAD:
    case CMD_DEVICE_READ:
    case CMD_DEVICE_DELETE:
    case CMD_KEYBOARD:
    case CMD_EPROM:
    case CMD_PAKDAT:
    case CMD_ROMGEN:
    case CMD_PRINT:
    case CMD_ONLINE_PICTURE:
    case CMD_ONLINE_SYMBOLS:
        return FindCommandHandler(code) != nullptr;
    default:
        return true;
    }
}

bool CReportView::IsCodeEnabled(int code)
{
    CListNode* node = Node();
    if (!node) return false;
    std::vector<int> rows = SelectedRows();
    int first = rows.empty() ? -1 : rows.front();
    if (!node->IsCommandEnabled(code, static_cast<int>(rows.size()), first)) return false;
    return IsFeatureAvailable(code);
}

bool CReportView::IsCommandIdEnabled(int id)
{
    const ViewCommand* c = FindViewCommand(id);
    return c && IsCodeEnabled(c->code);
}

// ------------------------------------------------------------- dispatch

void CReportView::OnCommand(int id)
{
    const ViewCommand* c = FindViewCommand(id);
    if (!c || !IsCodeEnabled(c->code)) return;
    switch (c->code) {
    case CMD_NEW: OnNew(); break;
    case CMD_OPEN: OnOpen(); break;
    case CMD_CLOSE:
        // Closed from the event loop: this view must not be destroyed while
        // its own handler runs.
        if (m_doc && m_doc->Frame()) QMetaObject::invokeMethod(m_doc->Frame(), "close", Qt::QueuedConnection);
        break;
    case CMD_SAVE: OnSave(); break;
    case CMD_DELETE: OnDelete(); break;
    case CMD_PROPERTIES: OnProperties(); break;
    case CMD_TEVOWIN: m_mainFrame->OnTevowin(); break;
    case CMD_PRINTER_FONT: m_mainFrame->OnPrinterFont(); break;
    case CMD_PAGE_SETUP: m_mainFrame->OnPageSetup(); break;
    case CMD_PRINTER_SETUP: m_mainFrame->OnPrinterSetup(); break;
    case CMD_CLOSE_PROJECT: {
        QPointer<CMainFrame> main = m_mainFrame;
        QMetaObject::invokeMethod(
            m_mainFrame, [main] { if (main) main->CloseProjectIfAgreed(); }, Qt::QueuedConnection);
        break;
    }
    case CMD_COPY: OnCopy(); break;
    case CMD_PASTE: OnPaste(); break;
    case CMD_CUT: OnCut(); break;
    case CMD_WORK_LIST: OnWorkList(); break;
    default: DispatchRegistered(c->code); break;
    }
    if (m_mainFrame) m_mainFrame->UpdateCommandUi();
}

void CReportView::DispatchRegistered(int code)
{
    if (const NodeCommandHandler* h = FindCommandHandler(code)) (*h)(NodeCommandContext {this, Node(), SelectedRows()});
}

void CReportView::OnNew()
{
    CListNode* node = Node();
    const NodeCommandHandler* h = node ? FindNewHandler(node->GetType()) : nullptr;
    if (!h) return;
    std::set<const CNode*> before(node->m_children.begin(), node->m_children.end());
    (*h)(NodeCommandContext {this, node, SelectedRows()});
    for (int i = 0; i < node->GetChildCount(); ++i) {
        if (!before.count(node->m_children[i])) {
            if (i >= topLevelItemCount()) OnUpdate(0);
            SelectRow(i);
            break;
        }
    }
    AutoSizeFrame();
}

void CReportView::OnOpen()
{
    CNode* c = FirstSelectedChild();
    if (!c) return;
    int t = c->GetType();
    if (!c->IsList() || t == NT_FENSTER || t == NT_SYMBOL) {
        OnProperties();
        return;
    }
    if (t == NT_GSYMBOL) {
        if (CListNode* singles = static_cast<CListNode*>(c)->GetSingleSymbolList()) m_mainFrame->OpenNodeInWindow(singles);
        return;
    }
    m_mainFrame->OpenNodeInWindow(c);
}

void CReportView::OnWorkList()
{
    CNode* c = FirstSelectedChild();
    if (!c) return;
    int t = c->GetType();
    if (t == NT_FENSTER || t == NT_SYMBOL || t == NT_GSYMBOL) m_mainFrame->OpenNodeInWindow(c);
}

void CReportView::OnSave()
{
    CListNode* node = Node();
    if (!node) return;
    CErrorInfo err;
    if (!node->Validate(err, 1)) {
        err.Report(App().Ui());
        return;
    }
    if (!node->Save()) {
        CErrorInfo e;
        e.Set(IDS_FILE_ACCESS, node->m_name, 0);
        e.Report(App().Ui());
    }
}

void CReportView::OnDelete()
{
    if (SelectedRows().empty()) return;
    DeleteSelected();
}

void CReportView::DeleteSelected()
{
    CListNode* node = Node();
    if (!node) return;
    if (App().Ui().MessageBox(LoadString(61346), mb::OKCANCEL | mb::ICONQUESTION) != IDOK) return;
    {
        WaitCursor wait;
        std::vector<CNode*> victims;
        for (int row : SelectedRows())
            if (CNode* c = node->GetChild(row)) victims.push_back(c);
        for (CNode* c : victims) {
            c->m_modified = 0;
            CloseWindowsOf(c);
            node->DeleteChild(c);
        }
        node->ChildChanged(nullptr);
    }
    AutoSizeFrame();
}

void CReportView::OnProperties()
{
    CNode* c = FirstSelectedChild();
    if (!c) return;
    if (const NodeCommandHandler* h = FindPropertiesHandler(c->GetType()))
        (*h)(NodeCommandContext {this, Node(), SelectedRows()});
}

void CReportView::OnCopy()
{
    CListNode* node = Node();
    if (!node) return;
    CErrorInfo err;
    if (!node->CopyToClipboard(App().Clipboard(), SelectedRows(), err)) {
        if (err.Id() != 0) err.Report(App().Ui());
        CErrorInfo e;
        e.Set(62007);
        e.Report(App().Ui());
    }
}

void CReportView::OnPaste()
{
    CListNode* node = Node();
    if (!node) return;
    CNode* last = node->PasteFromClipboard(App().Clipboard(), FirstSelectedRow());
    if (!last) {
        CErrorInfo e;
        e.Set(62007);
        e.Report(App().Ui());
        return;
    }
    int row = node->IndexOf(last);
    if (row >= 0) {
        if (row >= topLevelItemCount()) OnUpdate(0);
        SelectRow(row);
    }
    AutoSizeFrame();
}

void CReportView::OnCut()
{
    // The delete question follows also when the copy failed.
    OnCopy();
    OnDelete();
}

// --------------------------------------------------------- context menu

QMenu* CReportView::BuildContextMenu()
{
    CListNode* node = Node();
    auto* menu = new QMenu(this);
    if (!node) return menu;
    std::vector<int> rows = SelectedRows();
    int s = static_cast<int>(rows.size());
    int first = rows.empty() ? -1 : rows.front();
    const auto& file = ViewFileMenu();
    for (size_t i = 0; i < file.size(); ++i) {
        const ViewCommand& c = file[i];
        if (c.code == CMD_PRINTER_SETUP || c.id == 0) continue;
        if (!node->IsCommandEnabled(static_cast<int>(i), s, first)) continue;
        QAction* a = m_mainFrame ? m_mainFrame->Action(c.id) : nullptr;
        if (a) {
            menu->addAction(a);
            a->setEnabled(IsFeatureAvailable(c.code));
        }
    }
    bool separator = false;
    const auto& edit = ViewEditMenu();
    for (size_t i = 0; i < edit.size(); ++i) {
        const ViewCommand& c = edit[i];
        if (c.id == 0) continue;
        if (!node->IsCommandEnabled(CMD_COPY + static_cast<int>(i), s, first)) continue;
        QAction* a = m_mainFrame ? m_mainFrame->Action(c.id) : nullptr;
        if (!a) continue;
        if (!separator) {
            menu->addSeparator();
            separator = true;
        }
        menu->addAction(a);
        a->setEnabled(IsFeatureAvailable(c.code));
    }
    return menu;
}

void CReportView::contextMenuEvent(QContextMenuEvent* event)
{
    QPointer<CReportView> self(this);
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QPoint pos = event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                              : viewport()->mapToGlobal(QPoint(0, 0));
    menu->popup(pos);
    event->accept();
}

void CReportView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (itemAt(event->position().toPoint())) OnCommand(cmd::OPEN);
}

void CReportView::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    if (m_doc) m_doc->UpdateStatusBar();
}

void CReportView::resizeEvent(QResizeEvent* event)
{
    QTreeWidget::resizeEvent(event);
    viewport()->update();
}

// -------------------------------------------------------------- drawing

void CReportView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    bool selected = selectionModel()->isSelected(index);
    // The highlight runs to the right border of the window even when the
    // columns end before it.
    QRect full(option.rect.left(), option.rect.top(), std::max(option.rect.width(), viewport()->width()),
               option.rect.height());
    painter->fillRect(full, selected ? palette().brush(QPalette::Active, QPalette::Highlight) : palette().base());
    QTreeWidget::drawRow(painter, option, index);
    if (hasFocus() && currentIndex().row() == index.row()) {
        QStyleOptionFocusRect fo;
        fo.initFrom(this);
        fo.rect = full.adjusted(0, 0, -1, -1);
        fo.backgroundColor = selected ? palette().color(QPalette::Active, QPalette::Highlight) : palette().color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fo, painter, this);
    }
}

void CRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = m_view->palette();
    QRect rect = option.rect;
    painter->fillRect(rect, selected ? pal.brush(QPalette::Active, QPalette::Highlight) : pal.base());
    int column = index.column();
    int left = rect.left();
    if (column == 0) {
        QPixmap icon = res::NodeIcon(index.data(kIconRole).toInt());
        if (!icon.isNull()) {
            if (selected) {
                // The icon in the highlight colour's blend.
                QPixmap tinted = icon;
                QPainter tp(&tinted);
                tp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
                QColor hl = pal.color(QPalette::Active, QPalette::Highlight);
                hl.setAlpha(128);
                tp.fillRect(tinted.rect(), hl);
                tp.end();
                icon = tinted;
            }
            painter->drawPixmap(left + 2, rect.top() + (rect.height() - 16) / 2, icon);
        }
        left += 2 + 16;
    }
    int inset = column == 0 ? 2 : 6;
    int margin = column == 0 ? 4 : 12;
    QRect textRect(left + inset, rect.top(), rect.right() - inset - (left + inset) + 1, rect.height());
    QString text = index.data(Qt::DisplayRole).toString();
    CListNode* node = m_view->Node();
    CNode* child = node ? node->GetChild(index.row()) : nullptr;
    bool keep = child && IsColumnUnshortened(node->GetType(), *child, column);
    if (!keep) text = ShortenText(text, m_view->header()->sectionSize(column), margin, m_view->AvgCharWidth());
    painter->setFont(m_view->font());
    painter->setPen(selected ? pal.color(QPalette::Active, QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

QSize CRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    return QSize(s.width(), m_view->m_rowHeight);
}
