#include "ui/results_window.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "results/results_workbook.h"
#include "sheet/grid_editing.h"
#include "spreadsheet/workbook_file.h"
#include "ui/about_window.h"
#include "ui/artwork.h"
#include "ui/grid_commands.h"
#include "ui/grid_view.h"
#include "ui/sheet_style.h"
#include "ui/text_grid_model.h"
#include "ui/window_parts.h"

namespace qarv::ui {
namespace {

const QString kCaption = QStringLiteral("Q a r v e l i o n");
const QString kHeading = QStringLiteral("Calculation Screen");
const QString kSendHeading = QStringLiteral("Wait Please");
const QString kSendTitle = QStringLiteral(
    "The program sends all calculated results to the Excel file named as Output.xlsx.");

struct ButtonSpec {
    int number;
    const char* tip;
    const char* icon;
    void (ResultsWindow::*command)();
};

const ButtonSpec kButtons[] = {
    {1, "Cut", "cut", &ResultsWindow::cut},
    {2, "Copy", "copy", &ResultsWindow::copy},
    {3, "Paste", "paste", &ResultsWindow::paste},
    {4, "Delete", "delete", &ResultsWindow::deleteCells},
    {5, "Select All", "selectAll", &ResultsWindow::selectAllCells},
    {7, "Exit program", "exit", &ResultsWindow::exitFromResults},
    {9, "Send results to Excel File (Output.xlsx)", "sendExcel",
     &ResultsWindow::sendResultsToExcelFromToolbar},
    {10, "Open and Edit Excel file (Output.xlsx)", "openExcel", &ResultsWindow::showOutputWorkbook},
    {12, "About", "about", &ResultsWindow::about},
    {13, "Plot graph by using Grapher", "graph", &ResultsWindow::chooseAndOpenTemplate},
    {14, "Help", "help", &ResultsWindow::help},
    {16, "Display Previous Screen", "previous", &ResultsWindow::showPreviousScreen},
};

struct ItemSpec {
    const char* name;  // "" for a separator
    const char* caption;
    const char* shortcut;
    void (ResultsWindow::*command)();
};

const ItemSpec kEditItems[] = {
    {"", "", "", nullptr},
    {"mnuEditCut", "Cut", "Ctrl+C", &ResultsWindow::cut},
    {"mnuEditCopy", "Copy", "Ctrl+Y", &ResultsWindow::copy},
    {"mnuEditPaste", "Paste", "Ctrl+P", &ResultsWindow::paste},
    {"mnuEditDelete", "Delete", "Ctrl+D", &ResultsWindow::deleteCells},
    {"mnuEditSelectAll", "Select All", "Ctrl+S", &ResultsWindow::selectAllCells},
    {"", "", "", nullptr},
    {"mnuExit", "Exit", "Ctrl+E", &ResultsWindow::exitFromMenu},
};

const ItemSpec kExcelItems[] = {
    {"", "", "", nullptr},
    {"mnuSEF", "Send Results to Excel (Output.xlsx)", "Ctrl+G", &ResultsWindow::sendResultsToExcel},
    {"mnuOEF", "Open Excel File (Output.xlsx)", "Ctrl+H", &ResultsWindow::showOutputWorkbook},
    {"", "", "", nullptr},
    {"mnuEOX", "Exit Excel File (i.e., Output.xlsx)", "", &ResultsWindow::quitOutputExcel},
    {"", "", "", nullptr},
};

struct PanelSpec {
    const char* tip;
};
const PanelSpec kPanels[] = {{"File"},
                             {"Formula based on cations"},
                             {"Formula based on oxygens"},
                             {"Ferric iron estimation method"},
                             {"Clock"},
                             {"Date"}};

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// A new folder only this user can read, kept after the program ends so the
// spreadsheet program can still open the file in it.
QString privateTemporaryFolder() {
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/qarvelion-XXXXXX"));
    if (!folder.isValid()) return {};
    folder.setAutoRemove(false);
    return folder.path();
}

}  // namespace

ResultsWindow::ResultsWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(spinelPicture(64)));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* heading = new QFrame(central);
    heading->setFrameShape(QFrame::StyledPanel);
    auto* headingLayout = new QHBoxLayout(heading);
    auto* picture = new QLabel(heading);
    picture->setPixmap(spinelPicture(40));
    heading_ = new QLabel(kHeading, heading);
    heading_->setObjectName(QStringLiteral("Label3"));
    QFont headingFont = heading_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    headingFont.setBold(true);
    headingFont.setItalic(true);
    heading_->setFont(headingFont);
    title_ = new QLabel(kBanner, heading);
    title_->setObjectName(QStringLiteral("Label2"));
    QFont titleFont = title_->font();
    titleFont.setItalic(true);
    title_->setFont(titleFont);
    headingLayout->addWidget(picture);
    headingLayout->addWidget(heading_);
    headingLayout->addStretch();
    headingLayout->addWidget(title_);
    layout->addWidget(heading);

    tableModel_ = new TextGridModel(table_, resultsTableStyle(), this);
    tableView_ = new GridView(tableModel_, EnterMove::NextRow, central);
    tableView_->setObjectName(QStringLiteral("MSFlexGrid1"));
    tableView_->editBuffer()->setObjectName(QStringLiteral("Text1"));
    tableView_->setFont(gridFont());
    layout->addWidget(tableView_, 1);
    applyResultsColumnLayout(*tableView_);

    progress_ = new QProgressBar(central);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 50);
    progress_->hide();
    layout->addWidget(progress_);
    setCentralWidget(central);

    buildMenus();
    buildToolbar();
    buildStatusBar();
    openOutputWorkbook();
    connect(tableView_, &GridView::contextMenuWanted, this, [this](const QPoint& pos) {
        const QSize size = editMenu_->sizeHint();
        editMenu_->popup(QPoint(pos.x() - size.width() / 2, pos.y()));
    });
    resize(1100, 600);
}

ResultsWindow::~ResultsWindow() {
    // The view and model refer to the table, a member that goes before the
    // window's child widgets would.
    delete tableView_;
    delete tableModel_;
    if (about_) delete about_.data();
}

QAction* ResultsWindow::menuAction(const QString& name) const {
    const auto it = menuActions_.find(name);
    return it == menuActions_.end() ? nullptr : it->second;
}

QAction* ResultsWindow::toolbarButton(int number) const {
    return number >= 1 && number <= kResultsToolbarButtons ? buttons_[number] : nullptr;
}

QString ResultsWindow::statusPanelText(int panel) const {
    return panel >= 1 && panel <= 6 ? panels_[panel]->text() : QString();
}

QString ResultsWindow::statusPanelTip(int panel) const {
    return panel >= 1 && panel <= 6 ? panels_[panel]->toolTip() : QString();
}

QString ResultsWindow::headingCaption() const {
    return heading_->text();
}
QString ResultsWindow::titleCaption() const {
    return title_->text();
}

void ResultsWindow::buildMenus() {
    const auto addItems = [this](QMenu* menu, const auto& items) {
        for (const ItemSpec& item : items) {
            if (item.name[0] == '\0') {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(QString::fromUtf8(item.caption));
            action->setObjectName(QString::fromLatin1(item.name));
            if (item.shortcut[0] != '\0')
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
            // Menu commands report the error they leave, as the toolbar does.
            const auto command = item.command;
            connect(action, &QAction::triggered, this, [this, command] {
                context_.pending.clear();
                (this->*command)();
                showRunError();
            });
            menuActions_[action->objectName()] = action;
        }
    };
    editMenu_ = menuBar()->addMenu(QStringLiteral("Edit"));
    editMenu_->setSeparatorsCollapsible(false);
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    menuActions_[editMenu_->objectName()] = editMenu_->menuAction();
    addItems(editMenu_, kEditItems);

    QMenu* excel = menuBar()->addMenu(QStringLiteral("Excel"));
    excel->setSeparatorsCollapsible(false);
    excel->setObjectName(QStringLiteral("mnuOEF1"));
    menuActions_[excel->objectName()] = excel->menuAction();
    addItems(excel, kExcelItems);

    QMenu* graph = menuBar()->addMenu(qs(kGraphMenuCaption));
    graph->setObjectName(qs(kGraphMenuItem));
    menuActions_[graph->objectName()] = graph->menuAction();
    for (int s = 0; s < kDiagramSubmenuCount; ++s) {
        const DiagramSubmenu& row = diagramSubmenus()[s];
        QMenu* sub = graph->addMenu(qs(row.caption));
        sub->setSeparatorsCollapsible(false);
        sub->setObjectName(qs(row.item));
        menuActions_[sub->objectName()] = sub->menuAction();
        for (const DiagramMenuLine& line : diagramSubmenuLines(s)) {
            if (line.isSeparator()) {
                sub->addSeparator();
                continue;
            }
            const DiagramEntry* entry = line.entry;
            QAction* action = sub->addAction(qs(entry->caption));
            action->setObjectName(qs(entry->item));
            connect(action, &QAction::triggered, this, [this, entry] { openDiagram(*entry); });
            menuActions_[action->objectName()] = action;
        }
    }

    QAction* aboutAction = menuBar()->addAction(QStringLiteral("About"));
    aboutAction->setObjectName(QStringLiteral("mnuAbaout"));
    connect(aboutAction, &QAction::triggered, this, &ResultsWindow::about);
    menuActions_[aboutAction->objectName()] = aboutAction;

    addHelpMenu(
        *this, QStringLiteral("Help"), [this] { help(); }, menuActions_);
}

void ResultsWindow::buildToolbar() {
    toolbar_ = addNumberedToolbar(*this, kButtons, buttons_,
                                  [this](int number) { pressToolbarButton(number); });
}

void ResultsWindow::buildStatusBar() {
    for (int p = 1; p <= 6; ++p) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusBar1_%1").arg(p));
        panel->setToolTip(QString::fromLatin1(kPanels[p - 1].tip));
        panels_[p] = panel;
        if (p == 1) {
            statusBar()->addWidget(panel, 1);
        } else {
            statusBar()->addPermanentWidget(panel);
        }
    }
    auto tick = [this] {
        const QLocale locale;
        panels_[5]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
        panels_[6]->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    };
    tick();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, tick);
    timer->start(1000);
}

void ResultsWindow::setRunConstants(const QString& cations, const QString& oxygens,
                                    const QString& method) {
    panels_[2]->setText(cations);
    panels_[3]->setText(oxygens);
    panels_[4]->setText(method);
}

void ResultsWindow::setSourceFile(const QString& path) {
    panels_[1]->setText(path);
}

void ResultsWindow::tableChanged() {
    tableModel_->gridReset();
    tableView_->showGridSelection();
}

void ResultsWindow::pressToolbarButton(int number) {
    context_.pending.clear();
    for (const ButtonSpec& row : kButtons) {
        if (row.number == number) {
            (this->*row.command)();
            break;
        }
    }
    showRunError();
}

void ResultsWindow::showRunError() {
    const auto message = runErrorMessage(context_.pending.number, RunErrorWindow::Results);
    if (!message) return;
    context_.platform.messages->show(this, kProgramTitle, qs(*message));
}

// ---------------------------------------------------------------------------
// Editing: the data-entry grid's commands, applied to the results table.

void ResultsWindow::copy() {
    copySelection(*tableView_, context_);
}
void ResultsWindow::cut() {
    cutSelection(*tableView_, context_);
}
void ResultsWindow::deleteCells() {
    deleteSelection(*tableView_);
}
void ResultsWindow::paste() {
    pasteClipboard(*tableView_, context_);
}
// The results table's Select All takes in the heading row and column.
void ResultsWindow::selectAllCells() {
    selectAllFrom(*tableView_, 0, 0);
}

// ---------------------------------------------------------------------------
// Excel: the link to the results workbook Output.xlsx of the application
// folder. The program's own spreadsheet layer holds the workbook; showing it
// writes a copy to a private temporary folder and opens that in the user's
// spreadsheet program, so the installed Output.xlsx is never overwritten.

void ResultsWindow::openOutputWorkbook() {
    progress_->hide();
    excelApp_ = createExcel();
    const auto book = openWorkbook(
        excelApp_, context_.applicationFile(QStringLiteral("Output.xlsx")).toStdString());
    if (book.ok()) outputBook_ = book.value;
    const auto sheet = firstSheet(outputBook_);
    if (sheet.ok()) outputSheet_ = sheet.value;
}

void ResultsWindow::sendResults(bool fromToolbar) {
    if (fromToolbar) {
        heading_->setText(kSendHeading);
        title_->setText(kSendTitle);
    }
    progress_->setRange(0, 50);
    progress_->setValue(1);
    progress_->show();
    const NumberFormatSettings settings = regionalNumberSettings();
    for (int r = 0; r < table_.rowCount(); ++r) {
        if (r + 2 <= progress_->maximum()) progress_->setValue(r + 2);
        for (int c = 0; c < table_.columnCount(); ++c) {
            table_.setCurrentCell({r, c});
            // A failing cell is skipped; the copy goes on. Without a sheet
            // to write to there is no object to act on, which has no message.
            if (const int error = sendResultsCell(outputSheet_, table_, r, c, settings)) {
                context_.pending.set(outputSheet_ ? error : err::kObjectVariableNotSet);
            }
        }
        progress_->setValue(fromToolbar ? 12 : 2);
    }
    progress_->setEnabled(false);
    progress_->hide();
    tableView_->showGridSelection();
    if (fromToolbar) {
        title_->setText(kBanner);
        heading_->setText(kHeading);
    }
}

void ResultsWindow::sendResultsToExcel() {
    sendResults(false);
}

void ResultsWindow::sendResultsToExcelFromToolbar() {
    sendResults(true);
}

void ResultsWindow::showOutputWorkbook() {
    if (!excelApp_) {
        context_.pending.set(err::kObjectRequired);
        return;
    }
    if (!outputBook_) return;  // the application shows no workbook
    const QString folder = privateTemporaryFolder();
    if (folder.isEmpty()) {
        context_.pending.set(err::kCantSaveToTemp);
        return;
    }
    const QString copy = folder + QStringLiteral("/Output.xlsx");
    std::string message;
    if (const int error = writeXlsxFile(outputBook_->book, copy.toStdString(), &message)) {
        context_.pending.set(error);
        QDir(folder).removeRecursively();  // nothing is left of a copy never shown
        return;
    }
    context_.platform.shell->open(copy, QStringLiteral("open"));
}

void ResultsWindow::quitOutputExcel() {
    if (!excelApp_) {
        // The quit request finds no application: the failure is reported and
        // the window stays open.
        context_.pending.set(err::kObjectRequired);
        return;
    }
    outputSheet_ = {};
    outputBook_.reset();
    excelApp_.reset();
    close();
}

// ---------------------------------------------------------------------------
// Diagrams, windows, help, exit

void ResultsWindow::openDiagram(const DiagramEntry& entry) {
    context_.currentFileName = std::string(entry.templateFile);
    context_.platform.shell->open(QString::fromStdString(context_.currentFileName),
                                  QStringLiteral("open"));
}

void ResultsWindow::chooseAndOpenTemplate() {
    dialogFileName_ =
        context_.platform.dialogs->openFile(this, qs(kGrapherFileFilter), dialogFileName_);
    context_.currentFileName = dialogFileName_.toStdString();
    context_.platform.shell->open(dialogFileName_, QStringLiteral("open"));
}

void ResultsWindow::about() {
    if (!about_) about_ = new AboutWindow(context_);
    about_->show();
    about_->raise();
}

void ResultsWindow::help() {
    context_.platform.shell->open(context_.applicationFile(kHelpFileName), QStringLiteral("open"));
}

void ResultsWindow::showPreviousScreen() {
    emit previousScreenWanted();
}

void ResultsWindow::exitFromMenu() {
    emit exitWanted();
}

void ResultsWindow::exitFromResults() {
    close();
    emit exitWanted();
}

}  // namespace qarv::ui
