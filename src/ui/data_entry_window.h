#pragma once
// The data-entry window: the program's main window. Its start-up screen and
// its data-entry screen with the analysis sheet, the file, edit, Excel and
// calculate commands, the toolbar and the status bar.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <map>
#include <system_error>

#include "sheet/analysis_sheet.h"
#include "spreadsheet/spreadsheet_app.h"
#include "ui/app_context.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QToolBar;

namespace qarv::ui {

class GridView;
class TextGridModel;
class ResultsWindow;
class AboutWindow;

// The one file dialog of the window: its filter and file name stay from one
// use to the next.
struct SharedFileDialog {
    QString filter;
    QString fileName;  // the full path chosen last, or empty after a cancel
};

inline constexpr int kDataEntryToolbarButtons = 22;

class DataEntryWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit DataEntryWindow(AppContext& context, QWidget* parent = nullptr);
    ~DataEntryWindow() override;

    // The menu item or toolbar button actions by name ("mnuNewFile") and
    // number (1 to 22; separators have none).
    QAction* menuAction(const QString& name) const;
    QAction* toolbarButton(int number) const;

    AnalysisSheet& sheet() { return sheet_; }
    GridView* sheetView() const { return sheetView_; }
    TextGridModel* sheetModel() const { return sheetModel_; }
    QString screenTitle() const;
    QString filePanelText() const;
    bool filePanelEnabled() const;
    bool startupFrameShown() const;
    bool sheetShown() const;
    const SharedFileDialog& fileDialog() const { return dialog_; }
    ResultsWindow* resultsWindow() const;
    QMenu* editMenu() const { return editMenu_; }

    // Creates the results window if it does not exist (which lays out its
    // table) and returns it.
    ResultsWindow* ensureResultsWindow();

  public slots:
    // Presses toolbar button n: its command, then the pending error's message.
    void pressToolbarButton(int number);

    void newFile();
    void openFile();
    void saveAs();
    // Save As from the menu: the command, then the message of its failure.
    void saveAsFromMenu();
    void closeFile();
    void loadExcelIntoGrid();
    void importXls();
    void importXlsx();
    void editXls();
    void editXlsx();
    void exitProgram();
    void clearAllCells();
    void removeRow();
    void insertRow();
    void cut();
    void copy();
    void paste();
    void deleteCells();
    void selectAllCells();
    void calculate();
    void about();
    void help();
    void displayNextScreen();

  private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void setScreenTitle(const QString& title);
    void setFilePanel(const QString& text, bool enabled);
    void showSheet(bool shown);
    void setEditingCommandsEnabled(bool enabled);
    void setExcelImportEnabled(bool menuItems, bool buttons);
    void sheetChanged();
    void showRunError();
    void importWorkbook(const QString& filter, bool stopWithoutFile);
    void editDefaultWorkbook(const QString& name);
    QString showFileDialog(bool save, const QString& filter);
    void reportFileError(const std::error_code& error, const std::filesystem::path& path);

    AppContext& context_;
    AnalysisSheet sheet_;
    TextGridModel* sheetModel_ = nullptr;
    GridView* sheetView_ = nullptr;
    QLabel* screenTitle_ = nullptr;
    QFrame* startupFrame_ = nullptr;
    QLabel* filePanel_ = nullptr;
    QLabel* clockPanel_ = nullptr;
    QLabel* datePanel_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::map<QString, QAction*> menuActions_;
    std::array<QAction*, kDataEntryToolbarButtons + 1> buttons_{};
    SharedFileDialog dialog_;
    AppHandle spreadsheetApp_;  // the instance the last Load used, left open
    QPointer<ResultsWindow> results_;
    QPointer<AboutWindow> about_;
};

}  // namespace qarv::ui
