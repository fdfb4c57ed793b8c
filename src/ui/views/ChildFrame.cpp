#include "views/ChildFrame.h"

#include <QCloseEvent>
#include <QMdiArea>

#include "app/Application.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

int FrameRowUnits(int childCount, bool autoSize, int minRows, int maxRows, int height)
{
    int r = autoSize ? std::min(std::max(childCount, minRows), maxRows) + 1 : height;
    return r + 1;
}

CChildFrame::CChildFrame(std::unique_ptr<CReportDoc> doc, QWidget* parent) : QMdiSubWindow(parent), m_doc(std::move(doc))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_doc->SetFrame(this);
    setWindowTitle(m_doc->Title());
}

CChildFrame::~CChildFrame()
{
    m_destroying = true;
    ReleaseContents();
}

void CChildFrame::ReleaseContents()
{
    // The view goes first: it closes the windows of the node's children
    // while the node is still loaded; then the document unloads the node.
    if (m_view) {
        CReportView* view = m_view;
        m_view = nullptr;
        if (m_doc) m_doc->SetView(nullptr);
        setWidget(nullptr);
        delete view;
    }
    m_doc.reset();
}

void CChildFrame::SetView(CReportView* view)
{
    m_view = view;
    m_doc->SetView(view);
    setWidget(view);
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (!m_destroying && m_doc && !m_doc->SaveModified()) {
        event->ignore();
        return;
    }
    m_destroying = true;
    event->accept();
    QMdiSubWindow::closeEvent(event);
    // The window itself goes later (deferred delete); the node is released
    // now, so that nothing refers to it once its parent's window closes.
    ReleaseContents();
}

void CChildFrame::DestroyNow()
{
    if (m_destroying) {
        ReleaseContents();  // already closed; its deferred delete is pending
        return;
    }
    m_destroying = true;
    delete this;
}

void CChildFrame::SizeForRows(int n)
{
    const CSettings& s = App().Settings();
    int units = FrameRowUnits(n, s.autoSize, s.minRowCount, s.maxRowCount, s.reportHeight);
    int h = units * m_rowHeight + m_nonClientHeight;
    QRect g = geometry();
    // When the frame is maximized only the restored size changes.
    if (isMaximized()) return;
    resize(g.width(), h);
}
