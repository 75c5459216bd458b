#pragma once
// The results window ("Calculation Screen"): the results table, its editing
// and clipboard commands, the Excel commands, the diagram menu, About, Help,
// the way back to the data-entry window and Exit.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>

#include "diagrams/diagram_catalogue.h"
#include "results/results_table.h"
#include "spreadsheet/spreadsheet_app.h"
#include "ui/app_context.h"

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;

namespace qarv::ui {

class AboutWindow;
class GridView;
class TextGridModel;

inline constexpr int kResultsToolbarButtons = 16;

class ResultsWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit ResultsWindow(AppContext& context, QWidget* parent = nullptr);
    ~ResultsWindow() override;

    ResultsTable& table() { return table_; }
    GridView* tableView() const { return tableView_; }
    TextGridModel* tableModel() const { return tableModel_; }
    QAction* menuAction(const QString& name) const;
    QAction* toolbarButton(int number) const;
    QMenu* editMenu() const { return editMenu_; }
    // Status panel 1 to 6.
    QString statusPanelText(int panel) const;
    QString statusPanelTip(int panel) const;
    QString headingCaption() const;
    QString titleCaption() const;
    QProgressBar* progressBar() const { return progress_; }

    // Panels 2 to 4: the run's formula basis and ferric iron method.
    void setRunConstants(const QString& cations, const QString& oxygens, const QString& method);
    // Panel 1: the file being calculated.
    void setSourceFile(const QString& path);
    // The table's rows changed (a run appended rows).
    void tableChanged();

  signals:
    void previousScreenWanted();
    void exitWanted();

  public slots:
    void pressToolbarButton(int number);
    void cut();
    void copy();
    void paste();
    void deleteCells();
    void selectAllCells();
    void exitFromMenu();
    void exitFromResults();
    void sendResultsToExcel();
    void sendResultsToExcelFromToolbar();
    void showOutputWorkbook();
    void quitOutputExcel();
    void about();
    void help();
    void showPreviousScreen();
    void openDiagram(const DiagramEntry& entry);
    void chooseAndOpenTemplate();

  private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void sendResults(bool fromToolbar);
    void openOutputWorkbook();
    void showRunError();

    AppContext& context_;
    ResultsTable table_;
    TextGridModel* tableModel_ = nullptr;
    GridView* tableView_ = nullptr;
    QLabel* title_ = nullptr;    // Label2
    QLabel* heading_ = nullptr;  // Label3
    QProgressBar* progress_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    std::map<QString, QAction*> menuActions_;
    std::array<QAction*, kResultsToolbarButtons + 1> buttons_{};
    std::array<QLabel*, 7> panels_{};
    QString dialogFileName_;
    // The link to the results workbook, opened with the window; each handle
    // is empty when its step failed.
    AppHandle excelApp_;
    WorkbookHandle outputBook_;
    SheetHandle outputSheet_;
    QPointer<AboutWindow> about_;
};

}  // namespace qarv::ui
