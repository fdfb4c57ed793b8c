// The text dialogs as a user works them: typing, the protocol mode box,
// the checks on OK, and a text group built from nothing in the desktop.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "project/Category.h"
#include "project/Projekt.h"
#include "support/TestMain.h"
#include "support/UiTestSupport.h"
#include "texts/SpaceEdit.h"
#include "texts/StandardTextListe.h"
#include "texts/TextDialogs.h"
#include "texts/Textgruppe.h"
#include "util/FileSystem.h"
#include "util/Strings.h"
#include "views/ChildFrame.h"
#include "views/Commands.h"
#include "views/ReportDoc.h"
#include "views/ReportView.h"

namespace {
// Runs f on the modal dialog that the next command opens.
template <class Dialog>
void WhenDialogOpens(std::function<void(Dialog*)> f)
{
    QTimer::singleShot(0, [f] {
        auto* dlg = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        f(dlg);
    });
}

void Retype(QWidget* edit, const QString& text)
{
    auto* e = qobject_cast<QLineEdit*>(edit);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}
}  // namespace

class TextDialogsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_tmp;
    std::string m_dir;
    std::unique_ptr<CProjekt> m_root;
    CTextgruppe* m_group = nullptr;
    CTextliste* m_list = nullptr;

private slots:
    void init()
    {
        ScriptedUi().Reset();
        App().Settings() = CSettings();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_dir = fsx::WithSlash(m_tmp->path().toStdString()) + "prj/";
        QVERIFY(MakeTestProject(m_dir, "Anlage", {}, false));
        m_root = std::make_unique<CProjekt>(m_dir);
        QVERIFY(m_root->m_valid);
        m_root->Load();
        CCategory* cat = m_root->GetCategory(NT_CAT_TEXTGRUPPEN);
        m_group = CTextgruppe::CreateNew(cat, m_root->GetExtension());
        m_group->m_identifier = "ABC";
        m_group->m_fileName = "TABC.920";
        cat->AddChild(m_group);
        m_list = new CTextliste(m_group);
        m_list->m_identifier = "L01";
        m_list->m_db = 12;
        m_group->AddChild(m_list);
        auto* t = new CMeldetext(m_list);
        t->m_dw = 5;
        t->m_bit = 3;
        t->m_text = "vorhanden";
        m_list->AddChild(t);
    }
    void cleanup()
    {
        m_root.reset();
        m_tmp.reset();
        App().Settings() = CSettings();
    }

    void spaceEditShowsBlanksAsUnderscores()
    {
        CSpaceEdit edit;
        edit.show();
        edit.SetText(QStringLiteral("a  b "));
        QCOMPARE(edit.text(), QStringLiteral("a__b_"));
        QCOMPARE(edit.Text(), QStringLiteral("a  b "));
        edit.setFocus();
        edit.end(false);
        QTest::keyClicks(&edit, QStringLiteral("x y"));
        QCOMPARE(edit.text(), QStringLiteral("a__b_x_y"));
        // A typed underscore reads back as a blank too.
        QTest::keyClicks(&edit, QStringLiteral("_"));
        QCOMPARE(edit.Text(), QStringLiteral("a  b x y "));

        edit.setSelection(0, 3);
        QTest::keySequence(&edit, QKeySequence::Copy);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a  "));
        edit.deselect();
        edit.Copy();  // nothing selected: the whole text
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a  b x y "));
        QApplication::clipboard()->setText(QStringLiteral("P 1"));
        edit.setSelection(0, 2);
        QTest::keySequence(&edit, QKeySequence::Paste);
        QCOMPARE(edit.text(), QStringLiteral("P_1_b_x_y_"));
        edit.setSelection(0, 3);
        QTest::keySequence(&edit, QKeySequence::Cut);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("P 1"));
        QCOMPARE(edit.text(), QStringLiteral("_b_x_y_"));
    }

    void newMessageTextDialog()
    {
        CMeldetext text(m_list);
        CMeldetextDlg dlg(text, m_list, true);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Neuer Meldetext"));
        QCOMPARE(dlg.DbEdit()->text(), QStringLiteral("12"));
        QVERIFY(!dlg.DbEdit()->isEnabled());
        QCOMPARE(dlg.DwEdit()->Edit()->text(), QStringLiteral("1"));
        QCOMPARE(dlg.BitEdit()->Edit()->text(), QStringLiteral("0"));
        QCOMPARE(dlg.ModeBox()->currentIndex(), 0);
        QCOMPARE(dlg.ModeBox()->itemText(1), QStringLiteral("BA0 (direkte Ausgabe)"));
        QVERIFY(!dlg.NumberEdit()->Edit()->isEnabled());
        QCOMPARE(dlg.TextEdit()->maxLength(), 80);

        // Up-down keys step within the range; digits-only boxes take digits only.
        dlg.BitEdit()->Edit()->setFocus();
        QTest::keyClick(dlg.BitEdit()->Edit(), Qt::Key_Down);
        QCOMPARE(dlg.BitEdit()->Edit()->text(), QStringLiteral("0"));
        QTest::keyClick(dlg.BitEdit()->Edit(), Qt::Key_Up);
        QCOMPARE(dlg.BitEdit()->Edit()->text(), QStringLiteral("1"));
        Retype(dlg.BitEdit()->Edit(), QStringLiteral("1x6"));
        QCOMPARE(dlg.BitEdit()->Edit()->text(), QStringLiteral("16"));

        // BA2 with 17, then "ohne Protokollierung", then BA2: the field shows 1.
        dlg.ModeBox()->setCurrentIndex(3);
        QVERIFY(dlg.NumberEdit()->Edit()->isEnabled());
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("1"));
        Retype(dlg.NumberEdit()->Edit(), QStringLiteral("17"));
        dlg.ModeBox()->setCurrentIndex(0);
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("0"));
        QVERIFY(!dlg.NumberEdit()->Edit()->isEnabled());
        dlg.ModeBox()->setCurrentIndex(1);
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("31"));
        dlg.ModeBox()->setCurrentIndex(3);
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("1"));

        Retype(dlg.TextEdit(), QStringLiteral("Motor @005 aus "));
        QCOMPARE(dlg.TextEdit()->text(), QStringLiteral("Motor_@005_aus_"));

        // Bit 16: the range message, the dialog stays, the focus is on the bit.
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(dlg.isVisible());
        QCOMPARE(ScriptedUi().m_texts.back(), QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 0 und 15 ein."));
        QCOMPARE(dlg.LastCheck().control, textctl::Bit);
        QCOMPARE(dlg.focusWidget(), dlg.BitEdit()->Edit());

        // DW 5, bit 3 is taken by another text of the list.
        Retype(dlg.BitEdit()->Edit(), QStringLiteral("3"));
        Retype(dlg.DwEdit()->Edit(), QStringLiteral("5"));
        dlg.accept();
        QVERIFY(ScriptedUi().m_texts.back().startsWith(QStringLiteral("Fehler 94: Text mit dieser DW/Bit existiert bereits")));

        Retype(dlg.DwEdit()->Edit(), QStringLiteral("7"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(text.m_dw, uint16_t(7));
        QCOMPARE(text.m_bit, uint8_t(3));
        QCOMPARE(text.m_protocolMode, uint8_t(2));
        QCOMPARE(text.m_protocolNumber, uint8_t(1));
        QCOMPARE(QString::fromStdString(text.m_text), QStringLiteral("Motor @005 aus "));
    }

    void existingMessageTextWithMaxDw()
    {
        auto* t = static_cast<CMeldetext*>(m_list->GetChild(0));
        t->m_protocolNumber = 5;  // mode 0 with a number: only from a file
        CMeldetextDlg dlg(*t, m_list, false);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Meldetext Parametrierung"));
        QCOMPARE(dlg.ModeBox()->currentIndex(), 1);
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("31"));
        QCOMPARE(dlg.TextEdit()->text(), QStringLiteral("vorhanden"));
        Retype(dlg.DwEdit()->Edit(), QStringLiteral("256"));
        dlg.accept();
        QCOMPARE(ScriptedUi().m_texts.back(), QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein."));
        QCOMPARE(dlg.LastCheck().control, textctl::DW);
        App().Settings().maxDwNumber = 1000;
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(t->m_dw, uint16_t(256));
        QCOMPARE(t->m_protocolNumber, uint8_t(31));
        QVERIFY(m_group->m_modified);
    }

    void cyrillicMessageText()
    {
        App().Settings().cyrillic = true;
        CMeldetext text(m_list);
        CMeldetextDlg dlg(text, m_list, true);
        dlg.show();
        // Typed as capital and small letter (key events carry only Latin-1 here).
        dlg.TextEdit()->selectAll();
        dlg.TextEdit()->insert(QString::fromUtf8("Бб"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(text.m_text, std::string("bb"));
        CMeldetextDlg again(text, m_list, false);
        QCOMPARE(again.TextEdit()->Text(), QString::fromUtf8("ББ"));
    }

    void standardTextDialog()
    {
        CStandardTextListe x(m_root.get(), "XTEX.920");
        CStandardText entry(&x, 4);
        CStandardTextDlg dlg(entry, &x, true);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Neuer Standard-Text Eintrag"));
        QCOMPARE(dlg.NumberEdit()->Edit()->text(), QStringLiteral("4"));
        QVERIFY(!dlg.NumberEdit()->Edit()->isEnabled());
        QCOMPARE(dlg.TextEdit()->maxLength(), 75);
        Retype(dlg.TextEdit(), QStringLiteral("Druck @ hoch"));
        dlg.accept();
        QCOMPARE(ScriptedUi().m_texts.back(), QStringLiteral("Fehler 91: Unerlaubtes Zeichen '@'"));
        QCOMPARE(dlg.LastCheck().control, textctl::StdText);
        Retype(dlg.TextEdit(), QStringLiteral("Druck zu hoch"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(entry.m_text, std::string("Druck zu hoch"));
        QCOMPARE(entry.m_length, uint16_t(13));
    }

    void textListDialogChecks()
    {
        auto* other = new CTextliste(m_group);
        other->m_identifier = "ABC";
        m_group->AddChild(other);
        CTextliste fresh(m_group);
        CTextlisteDlg dlg(fresh, m_group, true);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Neue Textliste"));
        QCOMPARE(dlg.DbEdit()->text(), QStringLiteral("1"));
        QCOMPARE(dlg.IdEdit()->maxLength(), 3);
        struct Step {
            QString id, db;
            int control;
            QString message;
        } steps[] = {
            {"A.B", "1", textctl::ListId, QString::fromUtf8("Fehler 92: Listen-Kennung oder -Name enthalten \nein oder mehrere unzulässige Zeichen..")},
            {"AB", "1", textctl::ListId, QString::fromUtf8("Fehler 9: Die Listen-Kennung  muß 3 Zeichen lang sein.")},
            {"ABC", "1", textctl::ListId, QStringLiteral("Fehler 8: Listen-Kennung bereits vorhanden.")},
            {"abc", "0", textctl::ListDb, QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 255 ein.")},
            {"abc", "256", textctl::ListDb, QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 1 und 255 ein.")},
        };
        for (const Step& s : steps) {
            Retype(dlg.IdEdit(), s.id);
            Retype(dlg.DbEdit(), s.db);
            dlg.accept();
            QCOMPARE(dlg.LastCheck().control, s.control);
            QCOMPARE(ScriptedUi().m_texts.back(), s.message);
        }
        Retype(dlg.DbEdit(), QStringLiteral("255"));
        Retype(dlg.NameEdit(), QStringLiteral("Kesselhaus"));
        dlg.accept();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(fresh.m_identifier, std::string("abc"));
        QCOMPARE(fresh.m_db, uint8_t(255));
        QCOMPARE(fresh.m_name, PadRight("Kesselhaus", 32));
    }

    // A new user builds a text group in the desktop, saves it, and finds it
    // sorted and numbered after reopening the project.
    void buildTextGroupInTheDesktop()
    {
        m_root.reset();
        auto frame = std::make_unique<CMainFrame>();
        frame->show();
        QVERIFY(frame->OpenProject(m_dir));
        CProjekt* root = App().Project();
        auto openRow = [&](CListNode* parent, CNode* child) -> CReportView* {
            CReportView* view = ViewOf(parent);
            frame->MdiArea()->setActiveSubWindow(view->Doc()->Frame());
            view->SelectRow(parent->IndexOf(child));
            frame->OnCommand(cmd::OPEN);
            return ViewOf(child);
        };
        CCategory* cat = root->GetCategory(NT_CAT_TEXTGRUPPEN);
        QVERIFY(openRow(root, cat));

        WhenDialogOpens<CTextgruppeDlg>([](CTextgruppeDlg* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Neue Textgruppe"));
            QTest::keyClicks(dlg->IdEdit(), QStringLiteral("kes"));
            QTest::keyClicks(dlg->NameEdit(), QStringLiteral("Kesselhaus"));
            QTest::keyClick(dlg->NameEdit(), Qt::Key_Return);
        });
        frame->OnCommand(cmd::NEW);
        auto* group = static_cast<CTextgruppe*>(cat->FindByBaseName("TKES"));
        QVERIFY(group);
        QVERIFY(fsx::IsRegularFile(m_dir + "TKES.920"));
        CReportView* groupView = openRow(cat, group);
        QVERIFY(groupView);

        WhenDialogOpens<CTextlisteDlg>([](CTextlisteDlg* dlg) {
            QTest::keyClicks(dlg->IdEdit(), QStringLiteral("L01"));
            dlg->DbEdit()->selectAll();
            QTest::keyClicks(dlg->DbEdit(), QStringLiteral("20"));
            QTest::keyClicks(dlg->NameEdit(), QStringLiteral("Brenner"));
            QTest::keyClick(dlg->NameEdit(), Qt::Key_Return);
        });
        frame->OnCommand(cmd::NEW);
        QCOMPARE(group->GetChildCount(), 1);
        auto* list = static_cast<CTextliste*>(group->GetChild(0));
        CReportView* listView = openRow(group, list);
        QVERIFY(listView);

        struct Typed {
            QString dw, bit, text;
        } typed[] = {{"9", "0", "Brenner @005 aus"}, {"2", "4", "Flamme  erloschen "}, {"2", "1", "Gas"}};
        for (const Typed& t : typed) {
            WhenDialogOpens<CMeldetextDlg>([t](CMeldetextDlg* dlg) {
                Retype(dlg->DwEdit()->Edit(), t.dw);
                Retype(dlg->BitEdit()->Edit(), t.bit);
                dlg->TextEdit()->setFocus();
                QTest::keyClicks(dlg->TextEdit(), t.text);
                QTest::keyClick(dlg->TextEdit(), Qt::Key_Return);
            });
            frame->OnCommand(cmd::NEW);
        }
        QCOMPARE(list->GetChildCount(), 3);
        QVERIFY(group->m_modified);
        QCOMPARE(RowTexts(listView, 5), QStringList({"Gas", "Flamme  erloschen ", "Brenner @005 aus"}));

        frame->MdiArea()->setActiveSubWindow(groupView->Doc()->Frame());
        frame->OnCommand(cmd::SAVE);
        QVERIFY(!group->m_modified);
        frame->CloseProject();
        frame.reset();

        CProjekt again(m_dir);
        again.Load();
        auto* g = static_cast<CTextgruppe*>(again.GetCategory(NT_CAT_TEXTGRUPPEN)->FindByBaseName("TKES"));
        QVERIFY(g && g->Load());
        QCOMPARE(g->GetIdentifier(), std::string("kes"));
        auto* l = static_cast<CTextliste*>(g->GetChild(0));
        QCOMPARE(l->m_db, uint8_t(20));
        QStringList rows;
        for (CNode* c : l->m_children)
            rows << QString::fromStdString(c->GetColumnText(0) + " " + c->GetColumnText(1) + "." + c->GetColumnText(2) + " " +
                                           c->GetColumnText(5));
        QCOMPARE(rows, QStringList({"1 2.1 Gas", "2 2.4 Flamme  erloschen ", "3 9.0 Brenner @005 aus"}));
    }
};

PX920_UI_TEST(TextDialogsTest);
#include "TextDialogsTest.moc"
