#pragma once
#include <QMdiSubWindow>
#include <memory>

class CReportDoc;
class CReportView;

// The window around one project document inside the main window. It owns
// the document and its view; closing it runs the save-modified check.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(std::unique_ptr<CReportDoc> doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CReportDoc* Doc() const { return m_doc.get(); }
    CReportView* View() const { return m_view; }
    void SetView(CReportView* view);

    // Non-client height (frame minus client, plus the list header) and row
    // height, recorded by the view at its initial update.
    int m_nonClientHeight = 0;
    int m_rowHeight = 17;

    // Height for n rows as the ReportSettings say.
    void SizeForRows(int n);
    bool IsDestroying() const { return m_destroying; }
    // Destroys the window now, without the save-modified check.
    void DestroyNow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ReleaseContents();

    std::unique_ptr<CReportDoc> m_doc;
    CReportView* m_view = nullptr;
    bool m_destroying = false;
};

// Rows of a list window (r + 1 of the sizing rule): with AutoSize the child
// count clamped to MinRowCount..MaxRowCount plus one, else Height; the frame
// is this many row heights plus its non-client height.
int FrameRowUnits(int childCount, bool autoSize, int minRows, int maxRows, int height);
