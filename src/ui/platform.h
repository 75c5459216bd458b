#pragma once
// The platform services the windows use, behind small interfaces so that
// tests see every dialog, clipboard use, shell request and message.

#include <QString>
#include <optional>

class QWidget;

namespace qarv::ui {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen full path, or an empty text when the user cancelled. The
    // filter is in the program's form "Description |*.ext".
    virtual QString openFile(QWidget* parent, const QString& filter, const QString& proposed) = 0;
    virtual QString saveFile(QWidget* parent, const QString& filter, const QString& proposed) = 0;
};

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Each returns false (or nothing) when the clipboard cannot be opened.
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
    virtual std::optional<QString> text() = 0;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a document (a file path, or a "mailto:" address) with the program
    // the desktop associates with it. Returns at once; the answer is not
    // examined by any caller.
    virtual void open(const QString& target, const QString& verb) = 0;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A modal message with an OK button and no icon.
    virtual void show(QWidget* parent, const QString& title, const QString& text) = 0;
};

struct Platform {
    FileDialogs* dialogs;
    Clipboard* clipboard;
    Shell* shell;
    MessageBoxes* messages;
};

// The real services: Qt's dialogs, the system clipboard, the desktop's
// "open" (xdg-open on Linux), Qt message boxes.
Platform systemPlatform();

// "Spinel(*.dor) |*.dor" as a Qt file dialog filter.
QString qtFilter(const QString& filter);

}  // namespace qarv::ui
