#include "ui/data_entry_window.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <filesystem>

#include "calc/calculation_run.h"
#include "sheet/analysis_file.h"
#include "sheet/grid_editing.h"
#include "spreadsheet/workbook_import.h"
#include "ui/about_window.h"
#include "ui/artwork.h"
#include "ui/grid_commands.h"
#include "ui/grid_view.h"
#include "ui/results_window.h"
#include "ui/sheet_style.h"
#include "ui/text_grid_model.h"
#include "ui/window_parts.h"

namespace qarv::ui {
namespace {

// "Q a r v e l i o n" and 236 blanks.
const QString kWindowCaption = QStringLiteral("Q a r v e l i o n") + QString(236, QLatin1Char(' '));
const QString kFeatureLine =
    QStringLiteral("     *Calculation    * Classification") + QString(46, QLatin1Char(' '));
const QString kOpenFilter = QStringLiteral("Spinel(*.dor) |*.dor");
const QString kSaveFilter = QStringLiteral("Spinel files(*.dor) |*.dor");
const QString kNoSelectedFile = QStringLiteral("No Selected File");
const QString kCreditLine = QStringLiteral("Qarvelion " QARVELION_VERSION " - free software for mineralogists");

const QString kStartupTitle = QStringLiteral("Start-up Screen");
const QString kNewFileTitle = QStringLiteral("New  File");
const QString kOpenFileTitle = QStringLiteral("Open  File");
const QString kSaveAsTitle = QStringLiteral("Save As");

// The toolbar: button number, tip text, icon, command. Numbers without an
// entry are separators.
struct ButtonSpec {
    int number;
    const char* tip;
    const char* icon;
    void (DataEntryWindow::*command)();
};

const ButtonSpec kButtons[] = {
    {1, "New", "new", &DataEntryWindow::newFile},
    {2, "Open", "open", &DataEntryWindow::openFile},
    {3, "Save", "save", &DataEntryWindow::saveAs},
    {4, "Close", "close", &DataEntryWindow::closeFile},
    {5, "Exit", "exit", &DataEntryWindow::exitProgram},
    {7, "Cut", "cut", &DataEntryWindow::cut},
    {8, "Copy", "copy", &DataEntryWindow::copy},
    {9, "Paste", "paste", &DataEntryWindow::paste},
    {10, "Delete", "delete", &DataEntryWindow::deleteCells},
    {11, "Select All", "selectAll", &DataEntryWindow::selectAllCells},
    {13, "Calculate", "calculate", &DataEntryWindow::calculate},
    {15, "Load Excel (.xls)  into Grid", "loadXls", &DataEntryWindow::loadExcelIntoGrid},
    {16, "Load Excel (.xlsx)  into Grid", "loadXlsx", &DataEntryWindow::importXlsx},
    {17, "Edit Excel (.xls) File", "editXls", &DataEntryWindow::editXls},
    {18, "Edit Excel (.xlsx) File", "editXlsx", &DataEntryWindow::editXlsx},
    {20, "About", "about", &DataEntryWindow::about},
    {21, "Help", "help", &DataEntryWindow::help},
    {22, "Display Next Screen", "next", &DataEntryWindow::displayNextScreen},
};

// The menu tree: menus hold items, separators (empty name) and sub-menus.
struct ItemSpec {
    const char* name;  // "" for a separator
    const char* caption;
    const char* shortcut;
    void (DataEntryWindow::*command)();
    std::vector<ItemSpec> submenu{};
};

struct MenuSpec {
    const char* name;
    QString caption;
    std::vector<ItemSpec> items;
};

const ItemSpec kSeparator{"", "", "", nullptr};

std::vector<MenuSpec> menuTree() {
    return {
        {"mnuFile",
         QStringLiteral("File"),
         {
             {"mnuNewFile", "New File", "Ctrl+N", &DataEntryWindow::newFile},
             {"mnuOpenFile", "Open File", "Ctrl+O", &DataEntryWindow::openFile},
             {"mnuSaveAs", "Save As", "Ctrl+S", &DataEntryWindow::saveAsFromMenu},
             {"mnuClose", "Close", "Ctrl+C", &DataEntryWindow::closeFile},
             kSeparator,
             {"mnuOEF",
              "Open Excel File",
              "",
              nullptr,
              {kSeparator,
               {"mnu9703", "1997 - 2003 Files (.xls)", "Ctrl+G", &DataEntryWindow::importXls},
               {"mnu07Later", "2007 - Later (.xlsx)", "Ctrl+H", &DataEntryWindow::importXlsx},
               kSeparator}},
             {"mnuEEF",
              "Edit Excel File",
              "",
              nullptr,
              {kSeparator,
               {"mnu9703e", "1997 - 2003 Files (.xls)", "Ctrl+F1", &DataEntryWindow::editXls},
               {"mnu07Latere", "2007 - Later (.xlsx)", "Ctrl+F2", &DataEntryWindow::editXlsx},
               kSeparator}},
             kSeparator,
             {"mnuExit", "Exit", "Ctrl+X", &DataEntryWindow::exitProgram},
         }},
        {"mnuEdit",
         QStringLiteral("Edit"),
         {
             {"mnuClear", "Clear All", "Ctrl+A", &DataEntryWindow::clearAllCells},
             {"mnuDelete", "Remove Row", "Ctrl+D", &DataEntryWindow::removeRow},
             {"mnuEditInsertRow", "Insert Row", "Ctrl+I", &DataEntryWindow::insertRow},
             kSeparator,
             {"mnuEditCut", "Cut", "Ctrl+T", &DataEntryWindow::cut},
             {"mnuEditCopy", "Copy", "Ctrl+Y", &DataEntryWindow::copy},
             {"mnuEditPaste", "Paste", "Ctrl+P", &DataEntryWindow::paste},
             {"mnuEditDelete", "Delete", "Ctrl+L", &DataEntryWindow::deleteCells},
             {"mnuEditSelectAll", "Select All", "Ctrl+E", &DataEntryWindow::selectAllCells},
         }},
        {"mnuCalculate",
         QStringLiteral("Calculate"),
         {{"mnuOpen", "Open File to Calculate", "Ctrl+F", &DataEntryWindow::calculate}}},
    };
}

// The menu items and buttons that editing a sheet enables and the start-up
// screen disables.
const char* const kEditingItems[] = {
    "mnuSaveAs",  "mnuClose",    "mnuClear",     "mnuDelete",     "mnuEditInsertRow",
    "mnuEditCut", "mnuEditCopy", "mnuEditPaste", "mnuEditDelete", "mnuEditSelectAll"};
constexpr int kEditingButtons[] = {3, 4, 7, 8, 9, 10, 11};

}  // namespace

// ---------------------------------------------------------------------------
// The calculation run's view of this window.

class DataEntryRunHost : public RunHost {
  public:
    explicit DataEntryRunHost(DataEntryWindow& window, AppContext& context,
                              SharedFileDialog& dialog)
        : w_(window), context_(context), dialog_(dialog) {}

    void setScreenTitle(std::string_view title) override {
        emitTitle(QString::fromUtf8(title.data(), static_cast<int>(title.size())));
    }
    ResultsTable& resultsTable() override { return w_.ensureResultsWindow()->table(); }
    void setRunConstants(std::string_view cations, std::string_view oxygens,
                         std::string_view method) override {
        w_.ensureResultsWindow()->setRunConstants(QString::fromUtf8(cations.data(), cations.size()),
                                                  QString::fromUtf8(oxygens.data(), oxygens.size()),
                                                  QString::fromUtf8(method.data(), method.size()));
    }
    bool analysisFileOpened() const override { return w_.menuAction("mnuOpen")->isChecked(); }
    void showOpenDialog(std::string_view filter) override {
        dialog_.filter = QString::fromUtf8(filter.data(), static_cast<int>(filter.size()));
        dialog_.fileName =
            context_.platform.dialogs->openFile(&w_, dialog_.filter, dialog_.fileName);
    }
    std::string fileDialogName() const override { return dialog_.fileName.toStdString(); }
    void setFilePanel(std::string_view text) override {
        filePanel(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
    }
    void showResultsWindow() override {
        ResultsWindow* results = w_.ensureResultsWindow();
        results->show();
        results->raise();
    }
    void showSourceFile(std::string_view path) override {
        w_.ensureResultsWindow()->setSourceFile(
            QString::fromUtf8(path.data(), static_cast<int>(path.size())));
    }
    void reportPendingError() override { showError(); }
    std::filesystem::path diagramFolder() const override { return std::filesystem::current_path(); }
    NumberFormatSettings numberSettings() const override { return regionalNumberSettings(); }

    std::function<void(const QString&)> emitTitle;
    std::function<void(const QString&)> filePanel;
    std::function<void()> showError;

  private:
    DataEntryWindow& w_;
    AppContext& context_;
    SharedFileDialog& dialog_;
};

// ---------------------------------------------------------------------------

DataEntryWindow::DataEntryWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setWindowTitle(kWindowCaption);
    setObjectName(QStringLiteral("kkj"));
    setWindowIcon(QIcon(spinelPicture(64)));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);

    // Title band: the screen title and the banner.
    auto* band = new QFrame(central);
    band->setObjectName(QStringLiteral("Frame2"));
    band->setFrameShape(QFrame::StyledPanel);
    auto* bandLayout = new QHBoxLayout(band);
    screenTitle_ = new QLabel(kStartupTitle, band);
    screenTitle_->setObjectName(QStringLiteral("screenTitle"));
    QFont titleFont = screenTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setItalic(true);
    titleFont.setBold(true);
    screenTitle_->setFont(titleFont);
    auto* banner = new QLabel(kBanner, band);
    banner->setObjectName(QStringLiteral("banner"));
    QFont bannerFont = banner->font();
    bannerFont.setItalic(true);
    banner->setFont(bannerFont);
    bandLayout->addWidget(screenTitle_);
    bandLayout->addStretch();
    bandLayout->addWidget(banner);
    layout->addWidget(band);

    // Start-up frame: the program title, the feature line, two crystals.
    startupFrame_ = new QFrame(central);
    startupFrame_->setObjectName(QStringLiteral("Frame1"));
    startupFrame_->setFrameShape(QFrame::StyledPanel);
    auto* startupLayout = new QHBoxLayout(startupFrame_);
    auto* leftPicture = new QLabel(startupFrame_);
    leftPicture->setPixmap(spinelPicture(160));
    auto* rightPicture = new QLabel(startupFrame_);
    rightPicture->setPixmap(spinelPicture(110));
    auto* titles = new QVBoxLayout;
    auto* programTitle = new QLabel(QStringLiteral("Q a r v e l i o n"), startupFrame_);
    programTitle->setObjectName(QStringLiteral("programTitle"));
    QFont programFont = programTitle->font();
    programFont.setPointSizeF(programFont.pointSizeF() * 3.2);
    programFont.setBold(true);
    programTitle->setFont(programFont);
    programTitle->setAlignment(Qt::AlignCenter);
    auto* features = new QLabel(kFeatureLine, startupFrame_);
    features->setObjectName(QStringLiteral("lblLabel1Form1"));
    QFont featureFont = features->font();
    featureFont.setPointSizeF(featureFont.pointSizeF() * 1.3);
    features->setFont(featureFont);
    features->setAlignment(Qt::AlignCenter);
    titles->addStretch();
    titles->addWidget(programTitle);
    titles->addWidget(features);
    titles->addStretch();
    startupLayout->addStretch();
    startupLayout->addWidget(leftPicture);
    startupLayout->addLayout(titles);
    startupLayout->addWidget(rightPicture);
    startupLayout->addStretch();
    layout->addWidget(startupFrame_, 1);

    // The sheet.
    sheetModel_ = new TextGridModel(sheet_, analysisSheetStyle(), this);
    sheetView_ = new GridView(sheetModel_, EnterMove::NextColumn, central);
    sheetView_->setObjectName(QStringLiteral("MSFlexGrid1"));
    sheetView_->editBuffer()->setObjectName(QStringLiteral("Text1"));
    sheetView_->setFont(gridFont());
    layout->addWidget(sheetView_, 1);
    connect(sheetView_, &GridView::contextMenuWanted, this, [this](const QPoint& pos) {
        // Horizontally centred on the mouse pointer.
        const QSize size = editMenu_->sizeHint();
        editMenu_->popup(QPoint(pos.x() - size.width() / 2, pos.y()));
    });
    setCentralWidget(central);

    buildMenus();
    buildToolbar();
    buildStatusBar();
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, &DataEntryWindow::help);

    // Start-up: the editing commands are disabled, the sheet is hidden, and
    // the sheet is laid out.
    setEditingCommandsEnabled(false);
    buttons_[13]->setEnabled(true);
    showSheet(false);
    setFilePanel(kNoSelectedFile, false);
    sheet_.capCell();
    sheetChanged();
    resize(1100, 700);
}

DataEntryWindow::~DataEntryWindow() {
    // The view and model refer to the sheet, a member that goes before the
    // window's child widgets would.
    delete sheetView_;
    delete sheetModel_;
    if (results_) delete results_.data();
    if (about_) delete about_.data();
}

QAction* DataEntryWindow::menuAction(const QString& name) const {
    const auto it = menuActions_.find(name);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* DataEntryWindow::toolbarButton(int number) const {
    return number >= 1 && number <= kDataEntryToolbarButtons ? buttons_[number] : nullptr;
}

ResultsWindow* DataEntryWindow::resultsWindow() const {
    return results_.data();
}

QString DataEntryWindow::screenTitle() const {
    return screenTitle_->text();
}
QString DataEntryWindow::filePanelText() const {
    return filePanel_->text();
}
bool DataEntryWindow::filePanelEnabled() const {
    return filePanel_->isEnabled();
}
bool DataEntryWindow::startupFrameShown() const {
    return !startupFrame_->isHidden();
}
bool DataEntryWindow::sheetShown() const {
    return !sheetView_->isHidden();
}

void DataEntryWindow::buildMenus() {
    for (const MenuSpec& row : menuTree()) {
        QMenu* menu = menuBar()->addMenu(row.caption);
        menu->setObjectName(QString::fromLatin1(row.name));
        // The separators that open and close a menu are part of its look.
        menu->setSeparatorsCollapsible(false);
        menuActions_[menu->objectName()] = menu->menuAction();
        if (menu->objectName() == QLatin1String("mnuEdit")) editMenu_ = menu;
        std::function<void(QMenu*, const std::vector<ItemSpec>&)> fill =
            [&](QMenu* target, const std::vector<ItemSpec>& items) {
                for (const ItemSpec& item : items) {
                    if (item.name[0] == '\0') {
                        target->addSeparator();
                    } else if (!item.submenu.empty()) {
                        QMenu* sub = target->addMenu(QString::fromUtf8(item.caption));
                        sub->setObjectName(QString::fromLatin1(item.name));
                        sub->setSeparatorsCollapsible(false);
                        menuActions_[sub->objectName()] = sub->menuAction();
                        fill(sub, item.submenu);
                    } else {
                        QAction* action = target->addAction(QString::fromUtf8(item.caption));
                        action->setObjectName(QString::fromLatin1(item.name));
                        action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
                        action->setShortcutContext(Qt::WindowShortcut);
                        const auto command = item.command;
                        connect(action, &QAction::triggered, this,
                                [this, action, command](bool checked) {
                                    // A check mark is the command's state, set by the
                                    // commands themselves; choosing the item leaves it.
                                    if (action->isCheckable()) action->setChecked(!checked);
                                    context_.pending.clear();
                                    (this->*command)();
                                });
                        menuActions_[action->objectName()] = action;
                    }
                }
            };
        fill(menu, row.items);
    }
    menuAction(QStringLiteral("mnuOpen"))->setCheckable(true);

    // "About" is a menu title that runs its command at once.
    QAction* aboutAction = menuBar()->addAction(QStringLiteral("About"));
    aboutAction->setObjectName(QStringLiteral("mnuAbout"));
    connect(aboutAction, &QAction::triggered, this, &DataEntryWindow::about);
    menuActions_[aboutAction->objectName()] = aboutAction;

    // "Help" and 53 blanks: opening the menu runs Help, and so does its item.
    addHelpMenu(
        *this, QStringLiteral("Help") + QString(53, QLatin1Char(' ')), [this] { help(); },
        menuActions_);
}

void DataEntryWindow::buildToolbar() {
    toolbar_ = addNumberedToolbar(*this, kButtons, buttons_,
                                  [this](int number) { pressToolbarButton(number); });
}

void DataEntryWindow::buildStatusBar() {
    filePanel_ = new QLabel(this);
    filePanel_->setObjectName(QStringLiteral("StatusBar1_1"));
    clockPanel_ = new QLabel(this);
    clockPanel_->setObjectName(QStringLiteral("StatusBar1_2"));
    datePanel_ = new QLabel(this);
    datePanel_->setObjectName(QStringLiteral("StatusBar1_3"));
    auto* credit = new QLabel(kCreditLine, this);
    credit->setObjectName(QStringLiteral("StatusBar1_4"));
    statusBar()->addWidget(filePanel_, 1);
    statusBar()->addPermanentWidget(clockPanel_);
    statusBar()->addPermanentWidget(datePanel_);
    statusBar()->addPermanentWidget(credit);
    auto tick = [this] {
        const QLocale locale;
        clockPanel_->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
        datePanel_->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    };
    tick();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, tick);
    timer->start(1000);
}

void DataEntryWindow::pressToolbarButton(int number) {
    context_.pending.clear();
    for (const ButtonSpec& row : kButtons) {
        if (row.number == number) {
            if (buttons_[number] != nullptr && !buttons_[number]->isEnabled()) return;
            (this->*row.command)();
            break;
        }
    }
    showRunError();
}

void DataEntryWindow::showRunError() {
    const auto message = runErrorMessage(context_.pending.number, RunErrorWindow::DataEntry);
    if (!message) return;
    context_.platform.messages->show(
        this, kProgramTitle, QString::fromUtf8(message->data(), static_cast<int>(message->size())));
}

void DataEntryWindow::setScreenTitle(const QString& title) {
    screenTitle_->setText(title);
}

void DataEntryWindow::setFilePanel(const QString& text, bool enabled) {
    filePanel_->setText(text);
    filePanel_->setEnabled(enabled);
}

void DataEntryWindow::showSheet(bool shown) {
    sheetView_->setVisible(shown);
    sheetView_->editBuffer()->setVisible(shown);
    startupFrame_->setVisible(!shown);
}

void DataEntryWindow::setEditingCommandsEnabled(bool enabled) {
    for (const char* name : kEditingItems)
        menuAction(QString::fromLatin1(name))->setEnabled(enabled);
    for (int number : kEditingButtons) buttons_[number]->setEnabled(enabled);
}

void DataEntryWindow::setExcelImportEnabled(bool menuItems, bool buttons) {
    menuAction(QStringLiteral("mnu9703"))->setEnabled(menuItems);
    menuAction(QStringLiteral("mnu07Later"))->setEnabled(menuItems);
    buttons_[15]->setEnabled(buttons);
    buttons_[16]->setEnabled(buttons);
}

void DataEntryWindow::sheetChanged() {
    sheetModel_->gridReset();
    applyColumnLayout(*sheetView_, sheet_);
    sheetView_->showGridSelection();
}

QString DataEntryWindow::showFileDialog(bool save, const QString& filter) {
    dialog_.filter = filter;
    dialog_.fileName = save ? context_.platform.dialogs->saveFile(this, filter, dialog_.fileName)
                            : context_.platform.dialogs->openFile(this, filter, dialog_.fileName);
    return dialog_.fileName;
}

void DataEntryWindow::reportFileError(const std::error_code& error,
                                      const std::filesystem::path& path) {
    context_.pending.set(runErrorNumber(error, path));
}

// ---------------------------------------------------------------------------
// File commands

void DataEntryWindow::newFile() {
    setScreenTitle(kNewFileTitle);
    clearAll(sheet_);
    startupFrame_->hide();
    setFilePanel(QStringLiteral("New File"), true);
    showSheet(true);
    setEditingCommandsEnabled(true);
    sheet_.capCell();
    std::error_code error;
    if (!writeAnalysisFile(std::string(kGridTemplateFileName), sheet_, nullptr, &error)) {
        reportFileError(error, std::string(kGridTemplateFileName));
    }
    sheetChanged();
}

void DataEntryWindow::openFile() {
    setScreenTitle(kOpenFileTitle);
    setEditingCommandsEnabled(true);
    startupFrame_->hide();
    const QString path = showFileDialog(false, kOpenFilter);
    showSheet(true);
    context_.currentFileName = path.toStdString();
    filePanel_->setEnabled(true);
    menuAction(QStringLiteral("mnuOpen"))->setChecked(true);
    filePanel_->setText(path);
    sheet_.capCell();
    if (path.isEmpty()) {
        sheetChanged();
        closeFile();
        return;
    }
    if (QFileInfo::exists(path)) {
        setExcelImportEnabled(false, buttons_[15]->isEnabled());
        const AnalysisFileText file = readAnalysisFile(path.toStdString());
        if (file.ok) {
            layBlockText(sheet_, file.blockText);
        } else {
            // Reading an empty file runs past its end, which has no message;
            // any other file without the quoted block is of the wrong format.
            context_.pending.set(QFileInfo(path).size() == 0 ? err::kInputPastEndOfFile
                                                             : err::kInvalidFileFormat);
        }
    }
    setScreenTitle(
        QString::fromUtf8(kDataEntryTitle.data(), static_cast<int>(kDataEntryTitle.size())));
    buttons_[15]->setEnabled(false);
    buttons_[16]->setEnabled(false);
    sheetChanged();
}

void DataEntryWindow::saveAs() {
    setScreenTitle(kSaveAsTitle);
    const QString path = showFileDialog(true, kSaveFilter);
    showSheet(true);
    filePanel_->setText(path);
    if (path.isEmpty()) return;
    std::error_code error;
    if (!writeAnalysisFile(path.toStdString(), sheet_, nullptr, &error)) {
        reportFileError(error, path.toStdString());
    }
    sheetChanged();
}

void DataEntryWindow::saveAsFromMenu() {
    saveAs();
    // A file that could not be saved must not pass for saved: the menu shows
    // the failure as the toolbar does. The old file, if any, is unchanged.
    showRunError();
}

void DataEntryWindow::closeFile() {
    setScreenTitle(kStartupTitle);
    showSheet(false);
    setEditingCommandsEnabled(false);
    setExcelImportEnabled(true, true);
}

// ---------------------------------------------------------------------------
// Excel commands, over the program's own workbook layer.

namespace {
const QString kOldFormatFilter = QStringLiteral("Excel files (*.xls)|*.xls");
const QString kNewFormatFilter = QStringLiteral("Excel files (*.xlsx)|*.xlsx");
}  // namespace

void DataEntryWindow::importWorkbook(const QString& filter, bool stopWithoutFile) {
    newFile();
    setScreenTitle(QStringLiteral("Open Excel File"));
    const QString path = showFileDialog(false, filter);
    context_.currentFileName = path.toStdString();
    if (path.isEmpty()) closeFile();
    AppHandle app = attachExcel();
    if (!app) app = createExcel();
    if (!app)
        context_.platform.messages->show(this, kProgramTitle, QStringLiteral("Can't open Excel."));
    spreadsheetApp_ = app;
    setScreenTitle(QStringLiteral("Wait  Please"));
    const auto book = openWorkbook(app, path.toStdString());
    const auto sheet = activeSheet(book.value);
    if (stopWithoutFile && path.isEmpty()) return;
    if (sheet.ok()) {
        importWorksheetBlock(sheet.value.workbook->book.sheets[sheet.value.index], sheet_);
    } else {
        // No workbook to copy from: the grid takes the block's shape only.
        sheet_.setColumnCount(kImportColumns);
        sheet_.setRowCount(kImportRows);
    }
    setScreenTitle(
        QString::fromUtf8(kDataEntryTitle.data(), static_cast<int>(kDataEntryTitle.size())));
    sheetChanged();
}

void DataEntryWindow::loadExcelIntoGrid() {
    importWorkbook(kOldFormatFilter, false);
}
void DataEntryWindow::importXls() {
    importWorkbook(kOldFormatFilter, true);
}
void DataEntryWindow::importXlsx() {
    importWorkbook(kNewFormatFilter, true);
}

void DataEntryWindow::editDefaultWorkbook(const QString& name) {
    // The installed workbook opens in the user's spreadsheet program for
    // editing; nothing is written into it and it is not closed again.
    setScreenTitle(QStringLiteral("Edit Excel File"));
    context_.platform.shell->open(context_.applicationFile(name), QStringLiteral("open"));
    setScreenTitle(
        QString::fromUtf8(kDataEntryTitle.data(), static_cast<int>(kDataEntryTitle.size())));
}

void DataEntryWindow::editXls() {
    editDefaultWorkbook(QStringLiteral("DuVaruri.xls"));
}
void DataEntryWindow::editXlsx() {
    editDefaultWorkbook(QStringLiteral("DuVaruri.xlsx"));
}

// ---------------------------------------------------------------------------
// Edit commands

void DataEntryWindow::clearAllCells() {
    clearAll(sheet_);
    sheetChanged();
}

void DataEntryWindow::removeRow() {
    removeCurrentRow(sheet_);
    sheetChanged();
}

void DataEntryWindow::insertRow() {
    insertRowAtCurrent(sheet_);
    sheetChanged();
}

void DataEntryWindow::copy() {
    copySelection(*sheetView_, context_);
}
void DataEntryWindow::cut() {
    cutSelection(*sheetView_, context_);
}
void DataEntryWindow::deleteCells() {
    deleteSelection(*sheetView_);
}
void DataEntryWindow::paste() {
    pasteClipboard(*sheetView_, context_);
}
void DataEntryWindow::selectAllCells() {
    selectAllFrom(*sheetView_, 1, 1);
}

// ---------------------------------------------------------------------------
// Calculate, windows, help, exit

void DataEntryWindow::calculate() {
    DataEntryRunHost host(*this, context_, dialog_);
    host.emitTitle = [this](const QString& title) {
        setScreenTitle(title);
        screenTitle_->repaint();
    };
    host.filePanel = [this](const QString& text) { filePanel_->setText(text); };
    host.showError = [this] { showRunError(); };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runCalculation(sheet_, host);
    QApplication::restoreOverrideCursor();
    sheetChanged();
    if (results_) results_->tableChanged();
}

ResultsWindow* DataEntryWindow::ensureResultsWindow() {
    if (!results_) {
        results_ = new ResultsWindow(context_);
        connect(results_, &ResultsWindow::previousScreenWanted, this, [this] {
            show();
            raise();
        });
        connect(results_, &ResultsWindow::exitWanted, this, &DataEntryWindow::exitProgram);
    }
    return results_;
}

void DataEntryWindow::displayNextScreen() {
    ResultsWindow* results = ensureResultsWindow();
    results->show();
    results->raise();
}

void DataEntryWindow::about() {
    if (!about_) about_ = new AboutWindow(context_);
    about_->show();
    about_->raise();
}

void DataEntryWindow::help() {
    context_.platform.shell->open(context_.applicationFile(kHelpFileName), QStringLiteral("open"));
}

void DataEntryWindow::exitProgram() {
    close();
    if (results_) results_->close();
    if (about_) about_->close();
    QApplication::quit();
}

}  // namespace qarv::ui
