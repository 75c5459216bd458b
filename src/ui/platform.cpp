#include "ui/platform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace qarv::ui {
namespace {

class QtFileDialogs : public FileDialogs {
  public:
    QString openFile(QWidget* parent, const QString& filter, const QString& proposed) override {
        return QFileDialog::getOpenFileName(parent, QString(), proposed, qtFilter(filter));
    }
    QString saveFile(QWidget* parent, const QString& filter, const QString& proposed) override {
        // The name is taken as typed: no extension is appended.
        QFileDialog dialog(parent, QString(), proposed, qtFilter(filter));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().front();
    }
};

class QtClipboard : public Clipboard {
  public:
    bool clear() override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) return false;
        clipboard->clear();
        return true;
    }
    bool setText(const QString& text) override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) return false;
        clipboard->setText(text);
        return true;
    }
    std::optional<QString> text() override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) return std::nullopt;
        return clipboard->text();
    }
};

class QtShell : public Shell {
  public:
    void open(const QString& target, const QString&) override {
        // Nothing to open: the request fails, as it does for a missing file.
        if (target.isEmpty()) return;
        // A file name goes as a file URL, never through a command line.
        const QUrl url = target.startsWith(QLatin1String("mailto:"))
                             ? QUrl(target)
                             : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
        QDesktopServices::openUrl(url);
    }
};

class QtMessageBoxes : public MessageBoxes {
  public:
    void show(QWidget* parent, const QString& title, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
        box.exec();
    }
};

}  // namespace

Platform systemPlatform() {
    static QtFileDialogs dialogs;
    static QtClipboard clipboard;
    static QtShell shell;
    static QtMessageBoxes messages;
    return {&dialogs, &clipboard, &shell, &messages};
}

QString qtFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0) return filter;
    const QString description = filter.left(bar).trimmed();
    const QString pattern = filter.mid(bar + 1).trimmed();
    return description + QLatin1String(" (") + pattern + QLatin1Char(')');
}

}  // namespace qarv::ui
