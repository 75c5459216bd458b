// The run-time error messages of the two windows: the message each window
// shows for the error a toolbar command leaves pending, nothing for a
// command without error or a separator, the results window's menu commands,
// and the shell requests of Help and of the About window's E-mail button.

#include <QDate>
#include <QLocale>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

#include "ui/about_window.h"
#include "ui/data_entry_window.h"
#include "ui/results_window.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InTempFolder;

class ErrorMessagesTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
        window_->newFile();
        results_ = window_->ensureResultsWindow();
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void messageForThePendingError_data();
    void messageForThePendingError();
    void clipboardHeldByAnotherProgramShowsItsMessageOnce_data();
    void clipboardHeldByAnotherProgramShowsItsMessageOnce();
    void aCommandWithoutErrorShowsNothing_data();
    void aCommandWithoutErrorShowsNothing();
    void resultsMenuCommandsReportTheirErrors_data();
    void resultsMenuCommandsReportTheirErrors();
    void helpOpensTheHelpFile_data();
    void helpOpensTheHelpFile();
    void aboutWindowEmailAndCitation();

private:
    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
    ResultsWindow* results_ = nullptr;
};

// ---------------------------------------------------------------------------

void ErrorMessagesTest::messageForThePendingError_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("dataEntry");  // null: no message
    QTest::addColumn<QString>("results");

    const QString none;
    QTest::newRow("6 is known to the results window only") << 6 << none << "Overflow";
    QTest::newRow("13 is known to the data-entry window only") << 13 << "Type mismatch" << none;
    QTest::newRow("424 names each window's workbook")
        << 424 << "Object required. Possibly [Output.Xls]" << "Object required. Possibly [Output.Xlsx]";
    QTest::newRow("7") << 7 << "Out of memory" << "Out of memory";
    QTest::newRow("31001 shares the text of 7") << 31001 << "Out of memory" << "Out of memory";
    QTest::newRow("9") << 9 << "Subscript out of range" << "Subscript out of range";
    QTest::newRow("18, spelled as the program spells it")
        << 18 << "User interrupt occured" << "User interrupt occured";
    QTest::newRow("53") << 53 << "File not found" << "File not found";
    QTest::newRow("75") << 75 << "Path/File access error" << "Path/File access error";
    QTest::newRow("76") << 76 << "Path not found" << "Path not found";
    QTest::newRow("321") << 321 << "Invalid file format" << "Invalid file format";
    QTest::newRow("438") << 438 << "Object doesn't support this property or method"
                         << "Object doesn't support this property or method";
    QTest::newRow("521") << 521 << "Can't open clipboard" << "Can't open clipboard";
    QTest::newRow("735") << 735 << "Can't save file to TEMP directory" << "Can't save file to TEMP directory";
    QTest::newRow("62 has no text") << 62 << none << none;
    QTest::newRow("5 has no text") << 5 << none << none;
    QTest::newRow("32755 has no text") << 32755 << none << none;
}

void ErrorMessagesTest::messageForThePendingError() {
    QFETCH(int, number);
    QFETCH(QString, dataEntry);
    QFETCH(QString, results);

    // The clipboard read fails with the number and hands back nothing, so
    // Paste leaves exactly that error pending.
    desk_->clipboard.onRead = [this, number]() -> std::optional<QString> {
        desk_->context.pending.set(number);
        return QString();
    };

    window_->pressToolbarButton(9);
    const QStringList wantDataEntry = dataEntry.isNull() ? QStringList() : QStringList{dataEntry};
    QCOMPARE(desk_->messages.texts(), wantDataEntry);

    desk_->messages.shown.clear();
    results_->pressToolbarButton(3);
    const QStringList wantResults = results.isNull() ? QStringList() : QStringList{results};
    QCOMPARE(desk_->messages.texts(), wantResults);
    for (const auto& message : desk_->messages.shown) QCOMPARE(message.title, QStringLiteral("Qarvelion"));
}

void ErrorMessagesTest::clipboardHeldByAnotherProgramShowsItsMessageOnce_data() {
    QTest::addColumn<QString>("window");
    QTest::newRow("data-entry Paste") << "kkj";
    QTest::newRow("results Paste") << "Form10";
}

void ErrorMessagesTest::clipboardHeldByAnotherProgramShowsItsMessageOnce() {
    QFETCH(QString, window);
    desk_->clipboard.heldByOtherProgram = true;
    if (window == QLatin1String("kkj")) {
        window_->pressToolbarButton(9);
    } else {
        results_->pressToolbarButton(3);
    }
    QCOMPARE(desk_->messages.shown.size(), std::size_t{1});
    QCOMPARE(desk_->messages.shown[0].title, QStringLiteral("Qarvelion"));
    QCOMPARE(desk_->messages.shown[0].text, QStringLiteral("Can't open clipboard"));
}

void ErrorMessagesTest::aCommandWithoutErrorShowsNothing_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("button");

    // Each right after a Paste that failed: the next command starts with no
    // error pending.
    QTest::newRow("data-entry Copy") << "kkj" << 8;
    QTest::newRow("data-entry Select All") << "kkj" << 11;
    QTest::newRow("data-entry Help") << "kkj" << 21;
    for (int separator : {6, 12, 14, 19}) QTest::addRow("data-entry separator %d", separator) << "kkj" << separator;
    QTest::newRow("results Copy") << "Form10" << 2;
    QTest::newRow("results Delete") << "Form10" << 4;
    QTest::newRow("results Help") << "Form10" << 14;
    for (int separator : {6, 8, 11, 15}) QTest::addRow("results separator %d", separator) << "Form10" << separator;
}

void ErrorMessagesTest::aCommandWithoutErrorShowsNothing() {
    QFETCH(QString, window);
    QFETCH(int, button);
    const bool dataEntry = window == QLatin1String("kkj");

    desk_->clipboard.heldByOtherProgram = true;
    if (dataEntry) {
        window_->pressToolbarButton(9);
    } else {
        results_->pressToolbarButton(3);
    }
    QCOMPARE(desk_->messages.shown.size(), std::size_t{1});
    desk_->clipboard.heldByOtherProgram = false;
    desk_->messages.shown.clear();

    if (dataEntry) {
        window_->pressToolbarButton(button);
    } else {
        results_->pressToolbarButton(button);
    }
    QCOMPARE(desk_->messages.texts(), QStringList());
}

void ErrorMessagesTest::resultsMenuCommandsReportTheirErrors_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("Cut") << "mnuEditCut";
    QTest::newRow("Copy") << "mnuEditCopy";
    QTest::newRow("Paste") << "mnuEditPaste";
}

void ErrorMessagesTest::resultsMenuCommandsReportTheirErrors() {
    // The results window's menu commands have no suppression of their own:
    // an error raised in one is reported like a toolbar command's.
    QFETCH(QString, item);
    desk_->clipboard.heldByOtherProgram = true;
    results_->menuAction(item)->trigger();
    QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Can't open clipboard")});
}

// ---------------------------------------------------------------------------

void ErrorMessagesTest::helpOpensTheHelpFile_data() {
    QTest::addColumn<QString>("from");
    QTest::newRow("data-entry toolbar 21") << "kkj 21";
    QTest::newRow("data-entry Help item") << "kkj item";
    QTest::newRow("results toolbar 14") << "Form10 14";
    QTest::newRow("results Help item") << "Form10 item";
}

void ErrorMessagesTest::helpOpensTheHelpFile() {
    QFETCH(QString, from);
    if (from == QLatin1String("kkj 21")) {
        window_->pressToolbarButton(21);
    } else if (from == QLatin1String("kkj item")) {
        window_->menuAction(QStringLiteral("mnuHelpContents"))->trigger();
    } else if (from == QLatin1String("Form10 14")) {
        results_->pressToolbarButton(14);
    } else {
        results_->menuAction(QStringLiteral("mnuHelpContents"))->trigger();
    }
    QCOMPARE(desk_->shell.requests.size(), std::size_t{1});
    QCOMPARE(desk_->shell.requests[0].target, qarv::test::kTestApplicationFolder + QStringLiteral("/qarvelion.chm"));
    QCOMPARE(desk_->shell.requests[0].verb, QStringLiteral("open"));
    QVERIFY(desk_->messages.shown.empty());
}

void ErrorMessagesTest::aboutWindowEmailAndCitation() {
    window_->pressToolbarButton(20);
    QWidget* about = qarv::test::topLevelNamed(QStringLiteral("Form8"));
    QVERIFY(about && about->isVisible());
    QVERIFY(!static_cast<QDialog*>(about)->isModal());

    auto* mail = about->findChild<QPushButton*>(QStringLiteral("Command2"));
    QVERIFY(mail);
    QCOMPARE(mail->text(), QStringLiteral("E-mail"));
    QCOMPARE(mail->toolTip(), QStringLiteral("Send e-mail to author"));
    const QString today = QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    QTest::mouseClick(mail, Qt::LeftButton);
    QCOMPARE(desk_->shell.requests.size(), std::size_t{1});
    QCOMPARE(desk_->shell.requests[0].verb, QStringLiteral("Open"));
    const QString target = desk_->shell.requests[0].target;
    QVERIFY2(target.startsWith(QStringLiteral("mailto:") + kAuthorAddress + QStringLiteral("?subject=")),
             qPrintable(target));
    // Subject "About" and the program title; body the title, "; " and today.
    const QUrlQuery query(QUrl(target).query(QUrl::FullyEncoded));
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), QStringLiteral("About Qarvelion"));
    QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), QStringLiteral("Qarvelion; ") + today);
    // A date with characters of its own stays whole.
    const QUrlQuery other(QUrl(aboutMailAddress(QStringLiteral("10.12.2026 & later"))).query(QUrl::FullyEncoded));
    QCOMPARE(other.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
             QStringLiteral("Qarvelion; 10.12.2026 & later"));

    auto* published = about->findChild<QPushButton*>(QStringLiteral("Command3"));
    QVERIFY(published);
    QCOMPARE(published->text(), QStringLiteral("Published in"));
    QTest::mouseClick(published, Qt::LeftButton);
    QWidget* citation = qarv::test::topLevelNamed(QStringLiteral("Form4"));
    QVERIFY(citation && citation->isVisible());
    auto* close = citation->findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(close);
    QCOMPARE(close->text(), QStringLiteral("Close"));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!citation->isVisible());

    auto* ok = about->findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(ok);
    QCOMPARE(ok->toolTip(), QStringLiteral("Close"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!about->isVisible());
    QVERIFY(desk_->messages.shown.empty());
}

QTEST_MAIN(ErrorMessagesTest)
#include "error_messages_test.moc"
