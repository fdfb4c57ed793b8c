// The operator keyboard against the module simulator: every way of sending
// a key (buttons, typed characters, the navigation keys on a button and in
// the log) with the code the module receives and the text the log shows.
#include <QApplication>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "comm/Comm.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "transfer/DeviceSession.h"
#include "transfer/KeyboardDialog.h"
#include "transfer/SimProcess.h"
#include "views/Commands.h"
#include "views/ChildFrame.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

Q_DECLARE_METATYPE(std::function<void(CBetriebstastaturDlg*)>)

namespace {
using Action = std::function<void(CBetriebstastaturDlg*)>;

Action Click(int id)
{
    return [id](CBetriebstastaturDlg* d) { QTest::mouseClick(d->KeyButton(id), Qt::LeftButton); };
}
Action KeyOnButton(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {})
{
    return [=](CBetriebstastaturDlg* d) {
        QWidget* b = d->KeyButton(2101);
        b->setFocus();
        QTest::sendKeyEvent(QTest::KeyAction::Click, b, key, text, mods);
    };
}
Action KeyInLog(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {})
{
    return [=](CBetriebstastaturDlg* d) {
        d->Log()->setFocus();
        QTest::sendKeyEvent(QTest::KeyAction::Click, d->Log(), key, text, mods);
    };
}

// The codes the simulator logged as received outside frames.
QList<int> KeyCodes(const QString& log)
{
    QList<int> codes;
    for (const QString& line : log.split('\n')) {
        int at = line.indexOf("key code ");
        if (at >= 0) codes << line.mid(at + 9, 2).toInt(nullptr, 16);
    }
    return codes;
}
}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CSimProcess> m_sim;
    std::unique_ptr<CBetriebstastaturDlg> m_dlg;

    CComm& Comm() { return CDeviceSession::Current()->Comm(); }

private slots:
    void initTestCase()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        App().Settings().online = true;
        App().Settings().comPort = 1;
        m_tmp = std::make_unique<QTemporaryDir>();
        QString prj = m_tmp->path() + "/prj/";
        QVERIFY(MakeDemoProject(prj));
        m_sim = std::make_unique<CSimProcess>(m_tmp->path());
        QVERIFY(m_sim->Start({}));
        App().Settings().ini.SetString("Ports", "COM1", m_sim->Link().toStdString());
        m_frame = std::make_unique<CMainFrame>();
        m_frame->show();
        QVERIFY(m_frame->OpenProject(prj.toStdString()));
    }
    void cleanupTestCase()
    {
        m_dlg.reset();
        m_frame.reset();
        m_sim.reset();
        m_tmp.reset();
    }
    void init()
    {
        ScriptedUi().Reset();
        m_dlg = std::make_unique<CBetriebstastaturDlg>(Comm(), m_frame.get());
        QVERIFY(m_dlg->Start());
        QCOMPARE(Comm().State(), LinkState::Raw);
        m_dlg->show();
        QApplication::setActiveWindow(m_dlg.get());
    }
    void cleanup()
    {
        m_dlg.reset();
        // Closing the dialog gives the link back.
        QCOMPARE(Comm().State(), LinkState::Closed);
    }

    void keys_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QString>("logText");
        QTest::newRow("Fehler 107") << Click(2132) << QList<int> {0xF7} << "<F7: Fehler 107>";
        QTest::newRow("Inh.Proz.Bild.") << Click(2101) << QList<int> {0x01}
                                        << "<01: CTRL/A: Inhaltsverzeichnis Prozessbilder>";
        QTest::newRow("Feld -->") << Click(2107) << QList<int> {0x84} << "<84: vorheriges Feld in der Liste>";
        QTest::newRow("Ausführung DW9") << Click(2121) << QList<int> {0xE8} << "<E8: Ausführung DW9>";
        QTest::newRow("Hex EE") << Click(2112) << QList<int> {0xEE} << "<EE>";
        QTest::newRow("no caption 2122") << Click(2122) << QList<int> {} << "";
        QTest::newRow("no caption 2124") << Click(2124) << QList<int> {} << "";
        QTest::newRow("Enter on a button") << KeyOnButton(Qt::Key_Return, Qt::NoModifier, "\r") << QList<int> {0x0A}
                                           << "<0A>";
        QTest::newRow("A on a button") << KeyOnButton(Qt::Key_A, Qt::ShiftModifier, "A") << QList<int> {0x41} << "A";
        QTest::newRow("Ctrl+A typed") << KeyOnButton(Qt::Key_A, Qt::ControlModifier, QString(QChar(1)))
                                      << QList<int> {0x01} << "<01: CTRL/A: Inhaltsverzeichnis Prozessbilder>";
        QTest::newRow("8-bit character ignored") << KeyOnButton(Qt::Key_Adiaeresis, Qt::NoModifier, "ä")
                                                 << QList<int> {} << "";
        QTest::newRow("left") << KeyOnButton(Qt::Key_Left) << QList<int> {0xAF} << "<AF: Cursor nach links>";
        QTest::newRow("Ctrl+left") << KeyOnButton(Qt::Key_Left, Qt::ControlModifier) << QList<int> {0x92}
                                   << "<92: Cursor ins linke Feld>";
        QTest::newRow("Ctrl+right") << KeyOnButton(Qt::Key_Right, Qt::ControlModifier) << QList<int> {0x91}
                                    << "<91: Cursor ins rechte Feld>";
        QTest::newRow("page up") << KeyOnButton(Qt::Key_PageUp) << QList<int> {0x8C}
                                 << "<8C: Inhaltsverzeichis nach oben rollen>";
        QTest::newRow("down") << KeyOnButton(Qt::Key_Down) << QList<int> {0x90} << "<90: Cursor nach unten>";
        QTest::newRow("Space on a button") << KeyOnButton(Qt::Key_Space, Qt::NoModifier, " ") << QList<int> {0x20}
                                           << " ";
        QTest::newRow("Shift+Space presses the button")
            << KeyOnButton(Qt::Key_Space, Qt::ShiftModifier, " ") << QList<int> {0x01}
            << "<01: CTRL/A: Inhaltsverzeichnis Prozessbilder>";
        QTest::newRow("typed in the log") << KeyInLog(Qt::Key_X, Qt::NoModifier, "x") << QList<int> {0x78} << "x";
        QTest::newRow("page down in the log") << KeyInLog(Qt::Key_PageDown) << QList<int> {0x8D}
                                              << "<8D: Inhaltsverzeichnis nach unten rollen>";
        QTest::newRow("right in the log") << KeyInLog(Qt::Key_Right) << QList<int> {0xB0} << "<B0: Cursor nach rechts>";
    }
    void keys()
    {
        QFETCH(Action, action);
        QFETCH(QList<int>, codes);
        QFETCH(QString, logText);
        int before = KeyCodes(m_sim->Log()).size();
        action(m_dlg.get());
        QCOMPARE(m_dlg->Log()->toPlainText(), logText);
        // A code the module must get arrives; for "nothing" a following
        // marker key shows that nothing came before it.
        if (codes.isEmpty()) {
            m_dlg->SendKey('#');
            codes << '#';
        }
        QTRY_COMPARE_WITH_TIMEOUT(KeyCodes(m_sim->Log()).mid(before), codes, 3000);
    }

    void logTextRules()
    {
        // Codes without a name of their own fall back to the hex form.
        QCOMPARE(KeyLogText(0x0A), std::string("<0A>"));
        QCOMPARE(KeyLogText(0x7F), std::string("<7F>"));
        QCOMPARE(KeyLogText(0x81), std::string("<81>"));
        QCOMPARE(KeyLogText(0x00), std::string("<00>"));
        QCOMPARE(KeyLogText(0x7E), std::string("~"));
        QCOMPARE(KeyLogText(0xFF), std::string("<FF: Fehler 115>"));
        // Every function key with a caption sends a code, the three without none.
        QCOMPARE(int(OperatorKeys().size()), 40);
        for (const OperatorKey& k : OperatorKeys()) {
            QCOMPARE(k.code < 0, QByteArray(k.caption).isEmpty());
            QCOMPARE(m_dlg->KeyButton(k.id)->text(), QString::fromUtf8(k.caption));
        }
    }

    void logGrowsAtTheCaret()
    {
        QTest::mouseClick(m_dlg->KeyButton(2103), Qt::LeftButton);
        KeyOnButton(Qt::Key_B, Qt::ShiftModifier, "B")(m_dlg.get());
        QCOMPARE(m_dlg->Log()->toPlainText(), QString("<04: CTRL/D: Fehler-Quittung>B"));
    }

    void tabMovesFocusAndEscCloses()
    {
        CTastenButton* first = m_dlg->KeyButton(2101);
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != first);
        int before = KeyCodes(m_sim->Log()).size();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!m_dlg->isVisible());
        // Neither key reached the module.
        m_dlg->SendKey('#');
        QTRY_COMPARE_WITH_TIMEOUT(KeyCodes(m_sim->Log()).mid(before), QList<int>({'#'}), 3000);
    }

    void commandRunsTheDialog()
    {
        m_dlg.reset();
        CReportView* root = ViewOf(App().Project());
        m_frame->MdiArea()->setActiveSubWindow(root->Doc()->Frame());
        QVERIFY(m_frame->IsCommandEnabled(cmd::KEYBOARD));
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<CBetriebstastaturDlg*>(QApplication::activeModalWidget());
            seen = d && d->windowTitle() == "PX920 Betriebstastatur" && Comm().State() == LinkState::Raw;
            if (d) QTest::mouseClick(d->CloseButton(), Qt::LeftButton);
        });
        m_frame->OnCommand(cmd::KEYBOARD);
        QVERIFY(seen);
        QCOMPARE(Comm().State(), LinkState::Closed);
        m_dlg = std::make_unique<CBetriebstastaturDlg>(Comm(), m_frame.get());
        QVERIFY(m_dlg->Start());
    }
};

PX920_UI_TEST(KeyboardTest);
#include "KeyboardTest.moc"
