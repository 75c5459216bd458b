// Saving without loss: when a file cannot be written (a full disk, no
// rights, a missing folder, a failing rename) the file already on disk stays
// byte for byte as it was, no temporary file is left beside it, and the user
// is told, whether the command came from the menu or the toolbar.

#include <sys/mount.h>
#include <unistd.h>

#include <QtTest>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "file_write_faults.h"
#include "spreadsheet/workbook_file.h"
#include "ui/data_entry_window.h"
#include "ui/results_window.h"
#include "ui_fakes.h"

using namespace qarv;
using namespace qarv::ui;
using qarv::test::FakeDesktop;
using qarv::test::InjectedWriteFault;
using qarv::test::InTempFolder;
using qarv::test::readFile;
using qarv::test::writeFile;

namespace fs = std::filesystem;

namespace {

const std::string kOldFile = "\"old analysis\tkept\"\r\n";

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

// A tmpfs of a few pages mounted for the test's lifetime, or the reason why
// none could be (not root, no mount rights in this container).
class SmallDisk {
  public:
    explicit SmallDisk(const fs::path& where) : path_(where) {
        fs::create_directories(path_);
        if (::geteuid() != 0) {
            why_ = "mounting a small tmpfs needs root";
        } else if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, "size=64k") != 0) {
            why_ = std::string("mount -t tmpfs failed: ") + std::strerror(errno);
        } else {
            mounted_ = true;
        }
    }
    ~SmallDisk() {
        if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& why() const { return why_; }
    // Writes a filler file until the disk refuses more bytes.
    void fill() const {
        std::FILE* filler = std::fopen((path_ / "filler").c_str(), "wb");
        if (filler == nullptr) return;
        const std::string block(512, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() &&
               std::fflush(filler) == 0) {
        }
        std::fclose(filler);
    }

  private:
    fs::path path_;
    bool mounted_ = false;
    std::string why_;
};

}  // namespace

class SaveFailureTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        folder_ = std::make_unique<InTempFolder>();
        desk_ = std::make_unique<FakeDesktop>();
        window_ = std::make_unique<DataEntryWindow>(desk_->context);
        window_->newFile();
        window_->sheet().setText(1, 1, "new analysis");
    }
    void cleanup() {
        window_.reset();
        desk_.reset();
        folder_.reset();
    }

    void failedSaveAsKeepsTheOldFileAndSaysWhy_data();
    void failedSaveAsKeepsTheOldFileAndSaysWhy();
    void saveAsIntoAMissingFolder();
    void saveAsOntoAFullDisk();
    void saveAsThatWorksShowsNothing();
    void newFileWhoseTemplateCannotBeWritten();
    void workbookCopyThatCannotBeWritten();

  private:
    void press(bool fromToolbar) {
        if (fromToolbar) {
            window_->pressToolbarButton(3);
        } else {
            window_->menuAction(QStringLiteral("mnuSaveAs"))->trigger();
        }
    }

    std::unique_ptr<InTempFolder> folder_;
    std::unique_ptr<FakeDesktop> desk_;
    std::unique_ptr<DataEntryWindow> window_;
};

void SaveFailureTest::failedSaveAsKeepsTheOldFileAndSaysWhy_data() {
    QTest::addColumn<bool>("fromToolbar");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, bool toolbar, FileWriteStep step, std::errc code,
                        const char* message) {
        QTest::newRow(name) << toolbar << static_cast<int>(step) << static_cast<int>(code)
                            << QString::fromLatin1(message);
    };
    for (const bool toolbar : {false, true}) {
        const std::string from = toolbar ? "toolbar, " : "menu, ";
        row((from + "disk full while writing").c_str(), toolbar, FileWriteStep::Write,
            std::errc::no_space_on_device, "Disk full");
        row((from + "disk full at the end").c_str(), toolbar, FileWriteStep::Finish,
            std::errc::no_space_on_device, "Disk full");
        row((from + "no rights in the folder").c_str(), toolbar, FileWriteStep::Create,
            std::errc::permission_denied, "Path/File access error");
        row((from + "read-only disk").c_str(), toolbar, FileWriteStep::Create,
            std::errc::read_only_file_system, "Path/File access error");
        row((from + "rename fails").c_str(), toolbar, FileWriteStep::Replace, std::errc::io_error,
            "Device I/O error");
    }
}

void SaveFailureTest::failedSaveAsKeepsTheOldFileAndSaysWhy() {
    QFETCH(bool, fromToolbar);
    QFETCH(int, step);
    QFETCH(int, code);
    QFETCH(QString, message);
    const fs::path target = folder_->path() / "analyses.dor";
    writeFile(target, kOldFile);
    const std::size_t before = entriesIn(folder_->path());
    desk_->dialogs.answers.push_back(QString::fromStdString(target.string()));

    InjectedWriteFault fault(static_cast<FileWriteStep>(step), static_cast<std::errc>(code),
                             "analyses.dor");
    press(fromToolbar);

    QCOMPARE(fault.hits(), 1);
    QCOMPARE(readFile(target), kOldFile);
    QCOMPARE(entriesIn(folder_->path()), before);  // no temporary file left
    // Exactly one message, whichever way the command came.
    QCOMPARE(desk_->messages.texts(), QStringList{message});
    QCOMPARE(desk_->messages.shown[0].title, QStringLiteral("Qarvelion"));
    QCOMPARE(window_->screenTitle(), QStringLiteral("Save As"));
    // The sheet still holds what could not be saved.
    QCOMPARE(window_->sheet().text(1, 1), std::string("new analysis"));
}

void SaveFailureTest::saveAsIntoAMissingFolder() {
    desk_->dialogs.answers.push_back(folder_->file(QStringLiteral("gone/analyses.dor")));
    press(false);
    QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Path not found")});
    QVERIFY(!fs::exists(folder_->path() / "gone"));
}

void SaveFailureTest::saveAsOntoAFullDisk() {
    SmallDisk disk(folder_->path() / "small-disk");
    if (!disk.mounted()) {
        const QByteArray why = ("no real full disk here (" + disk.why() +
                                "); the injected full disk above covers the same path")
                                   .c_str();
        QSKIP(why.constData());
    }
    const fs::path target = folder_->path() / "small-disk" / "analyses.dor";
    writeFile(target, kOldFile);
    disk.fill();
    // A sheet whose file is far larger than what is left on the disk.
    for (int r = 1; r <= 200; ++r) window_->sheet().setText(r, 2, std::string(300, 'A'));

    for (const bool fromToolbar : {false, true}) {
        desk_->messages.shown.clear();
        desk_->dialogs.answers.push_back(QString::fromStdString(target.string()));
        press(fromToolbar);
        QCOMPARE(readFile(target), kOldFile);
        QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Disk full")});
        QCOMPARE(entriesIn(target.parent_path()), std::size_t{2});  // the file and the filler
    }
}

void SaveFailureTest::saveAsThatWorksShowsNothing() {
    const fs::path target = folder_->path() / "analyses.dor";
    writeFile(target, kOldFile);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    desk_->dialogs.answers.push_back(QString::fromStdString(target.string()));
    press(false);
    QVERIFY(desk_->messages.shown.empty());
    QVERIFY(readFile(target).rfind("\"new analysis\t", 0) == 0);
    // The replaced file keeps the permissions the user gave it.
    QCOMPARE(fs::status(target).permissions(),
             fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

void SaveFailureTest::newFileWhoseTemplateCannotBeWritten() {
    const fs::path templ = folder_->path() / "dor.tem";
    writeFile(templ, kOldFile);
    InjectedWriteFault fault(FileWriteStep::Write, std::errc::no_space_on_device, "dor.tem");
    window_->pressToolbarButton(1);
    QCOMPARE(fault.hits(), 1);
    QCOMPARE(readFile(templ), kOldFile);
    QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Disk full")});
    // The new sheet is there all the same.
    QCOMPARE(window_->sheet().text(1, 1), std::string());
    QCOMPARE(window_->screenTitle(), QStringLiteral("New  File"));
}

void SaveFailureTest::workbookCopyThatCannotBeWritten() {
    test::TempDir application;
    Workbook output;
    output.addSheet("Sheet1");
    QCOMPARE(writeXlsxFile(output, application.path() / "Output.xlsx"), 0);
    const std::string installed = readFile(application.path() / "Output.xlsx");
    desk_->context.applicationFolder = QString::fromStdString(application.path().string());
    ResultsWindow results(desk_->context);
    results.pressToolbarButton(9);

    InjectedWriteFault fault(FileWriteStep::Finish, std::errc::no_space_on_device, "Output.xlsx");
    results.pressToolbarButton(10);
    QCOMPARE(fault.hits(), 1);
    QCOMPARE(desk_->messages.texts(), QStringList{QStringLiteral("Disk full")});
    QVERIFY(desk_->shell.requests.empty());  // nothing half-written is shown
    QCOMPARE(readFile(application.path() / "Output.xlsx"), installed);
}

QTEST_MAIN(SaveFailureTest)
#include "save_failure_test.moc"
