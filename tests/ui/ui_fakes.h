#pragma once
// Stand-ins for the platform services of the windows: file dialogs answered
// from a script, a clipboard that another program can hold, a shell and
// message boxes that only record what they were asked. Plus a folder to work
// in, since New File and the calculation run write into the working folder.

#include <QAction>
#include <QByteArray>
#include <QMetaType>
#include <QApplication>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QToolBar>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sheet/text_grid.h"
#include "test_support.h"
#include "ui/app_context.h"
#include "ui/platform.h"

namespace qarv::test {

struct DialogCall {
    bool save = false;
    QString filter;
    QString proposed;
};

// Answers each dialog with the next scripted path; with the script used up
// it answers as a cancelled dialog does (an empty path).
class FakeDialogs : public ui::FileDialogs {
public:
    std::deque<QString> answers;
    std::vector<DialogCall> calls;
    // Runs while the dialog is "open", e.g. to look at the window behind it.
    std::function<void()> whileShown;

    QString openFile(QWidget*, const QString& filter, const QString& proposed) override {
        return answer(false, filter, proposed);
    }
    QString saveFile(QWidget*, const QString& filter, const QString& proposed) override {
        return answer(true, filter, proposed);
    }

private:
    QString answer(bool save, const QString& filter, const QString& proposed) {
        calls.push_back({save, filter, proposed});
        if (whileShown) whileShown();
        if (answers.empty()) return {};
        QString path = answers.front();
        answers.pop_front();
        return path;
    }
};

// The system clipboard as plain text. `heldByOtherProgram` makes every
// operation fail, as when another program keeps the clipboard open.
class FakeClipboard : public ui::Clipboard {
public:
    QString content;
    bool heldByOtherProgram = false;
    QStringList log;  // "clear", "set", "get" in call order
    // Replaces the answer of text() when set.
    std::function<std::optional<QString>()> onRead;

    bool clear() override {
        log << QStringLiteral("clear");
        if (heldByOtherProgram) return false;
        content.clear();
        return true;
    }
    bool setText(const QString& text) override {
        log << QStringLiteral("set");
        if (heldByOtherProgram) return false;
        content = text;
        return true;
    }
    std::optional<QString> text() override {
        log << QStringLiteral("get");
        if (onRead) return onRead();
        if (heldByOtherProgram) return std::nullopt;
        return content;
    }
};

struct ShellRequest {
    QString target;
    QString verb;
};

class FakeShell : public ui::Shell {
public:
    std::vector<ShellRequest> requests;
    void open(const QString& target, const QString& verb) override { requests.push_back({target, verb}); }
};

struct Message {
    QString title;
    QString text;
};

class FakeMessages : public ui::MessageBoxes {
public:
    std::vector<Message> shown;
    void show(QWidget*, const QString& title, const QString& text) override { shown.push_back({title, text}); }
    QStringList texts() const {
        QStringList out;
        for (const Message& m : shown) out << m.text;
        return out;
    }
};

inline const QString kTestApplicationFolder = QStringLiteral("/opt/qarvelion-test/bin");

// Everything a window needs to be built, with every service faked.
struct FakeDesktop {
    FakeDialogs dialogs;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeMessages messages;
    ui::AppContext context{ui::Platform{&dialogs, &clipboard, &shell, &messages},
                           kTestApplicationFolder, {}, {}};
};

// Makes a fresh temporary folder the working folder while it lives.
class InTempFolder {
public:
    InTempFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.path()); }
    ~InTempFolder() { std::filesystem::current_path(previous_); }
    InTempFolder(const InTempFolder&) = delete;
    InTempFolder& operator=(const InTempFolder&) = delete;
    const std::filesystem::path& path() const { return dir_.path(); }
    QString file(const QString& name) const {
        return QString::fromStdString((dir_.path() / name.toStdString()).string());
    }

private:
    TempDir dir_;
    std::filesystem::path previous_;
};

// The bytes of an analysis file holding `rows` (cells joined by tabs, rows
// by carriage returns), as the format lays them down: a quote, the block, a
// quote, CR LF. Written out by hand so that the tests do not borrow the
// program's own writer.
inline std::string dorBytes(const std::vector<std::vector<std::string>>& rows, int rowCount = 200,
                            int columnCount = 60) {
    std::string out = "\"";
    for (int r = 0; r < rowCount; ++r) {
        if (r > 0) out += '\r';
        for (int c = 0; c < columnCount; ++c) {
            if (c > 0) out += '\t';
            if (r < static_cast<int>(rows.size()) && c < static_cast<int>(rows[r].size())) out += rows[r][c];
        }
    }
    out += "\"\r\n";
    return out;
}

// The lines of a menu as the user sees them, one per action in display
// order: "-" for a separator, "name|caption|shortcut" for an item, and
// "name|caption >" for a sub-menu, followed by its own lines indented (down
// to `depth` levels). A separator that the menu keeps but does not draw
// shows as "(hidden -)".
inline void describeMenu(QMenu* menu, QStringList& out, int depth = 8, const QString& indent = {}) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            const bool drawn = !menu->actionGeometry(action).isEmpty();
            out << indent + (drawn ? QStringLiteral("-") : QStringLiteral("(hidden -)"));
        } else if (QMenu* sub = action->menu()) {
            out << indent + sub->objectName() + QLatin1Char('|') + action->text() + QStringLiteral(" >");
            if (depth > 0) describeMenu(sub, out, depth - 1, indent + QStringLiteral("  "));
        } else {
            out << indent + action->objectName() + QLatin1Char('|') + action->text() + QLatin1Char('|') +
                       action->shortcut().toString(QKeySequence::PortableText);
        }
    }
}

// The same for a window's menu bar.
inline QStringList describeMenuBar(const QList<QAction*>& actions, int depth = 8) {
    QStringList out;
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu()) {
            out << menu->objectName() + QLatin1Char('|') + action->text() + QStringLiteral(" >");
            if (depth > 0) describeMenu(menu, out, depth - 1, QStringLiteral("  "));
        } else {
            out << action->objectName() + QLatin1Char('|') + action->text() + QLatin1Char('|') +
                       action->shortcut().toString(QKeySequence::PortableText);
        }
    }
    return out;
}

// Empty when the two line lists agree, otherwise every line where they part.
inline QString lineDifferences(const QStringList& got, const QStringList& want) {
    QString out;
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i) {
        const QString g = i < got.size() ? got[i] : QStringLiteral("(nothing)");
        const QString w = i < want.size() ? want[i] : QStringLiteral("(nothing)");
        if (g != w) out += QStringLiteral("\n  line %1: want \"%2\", got \"%3\"").arg(i + 1).arg(w, g);
    }
    return out;
}

// A top-level window of the program by its name ("Form8"), if one exists.
inline QWidget* topLevelNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name) return w;
    }
    return nullptr;
}

}  // namespace qarv::test

namespace qarv {
// How Qt Test prints a cell position when a comparison fails.
inline char* toString(const CellPos& cell) {
    return qstrdup(QByteArray("(" + QByteArray::number(cell.row) + ", " + QByteArray::number(cell.column) + ")")
                       .constData());
}
}  // namespace qarv

Q_DECLARE_METATYPE(qarv::CellPos)
