#pragma once
// The About window and the citation window it opens.

#include <QDialog>
#include <QPointer>

#include "ui/app_context.h"

namespace qarv::ui {

class CitationWindow;

inline const QString kAuthorAddress = QStringLiteral("qarvelion@example.org");

// The "mailto:" address of the About window's E-mail button for a date text.
QString aboutMailAddress(const QString& date);

class AboutWindow : public QDialog {
    Q_OBJECT
  public:
    explicit AboutWindow(AppContext& context, QWidget* parent = nullptr);
    ~AboutWindow() override;

    CitationWindow* citationWindow() const { return citation_; }

  public slots:
    void sendMail();
    void showCitation();

  private:
    AppContext& context_;
    QPointer<CitationWindow> citation_;
};

class CitationWindow : public QDialog {
    Q_OBJECT
  public:
    explicit CitationWindow(QWidget* parent = nullptr);
};

}  // namespace qarv::ui
