#pragma once
// Parts that both main windows build the same way from their own tables:
// the numbered toolbar and the Help menu whose title runs Help itself.

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <array>
#include <functional>
#include <map>

#include "ui/artwork.h"

namespace qarv::ui {

// A toolbar of buttons numbered from 1 in display order; numbers that no row
// names are separators. Each row gives `number`, `tip` and `icon`; pressing
// a button calls press(number).
template <typename Rows, std::size_t N>
QToolBar* addNumberedToolbar(QMainWindow& window, const Rows& rows,
                             std::array<QAction*, N>& buttons,
                             const std::function<void(int)>& press) {
    QToolBar* toolbar = window.addToolBar(QStringLiteral("Toolbar1"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    int next = 1;
    for (const auto& row : rows) {
        for (; next < row.number; ++next) toolbar->addSeparator();
        QAction* button = toolbar->addAction(toolbarIcon(QString::fromLatin1(row.icon)),
                                             QString::fromUtf8(row.tip));
        button->setToolTip(QString::fromUtf8(row.tip));
        button->setObjectName(QStringLiteral("Toolbar1_%1").arg(row.number));
        const int number = row.number;
        QObject::connect(button, &QAction::triggered, &window, [press, number] { press(number); });
        buttons[row.number] = button;
        next = row.number + 1;
    }
    return toolbar;
}

// The "Help" menu: opening it runs Help, and so does its one item.
inline void addHelpMenu(QMainWindow& window, const QString& title,
                        const std::function<void()>& help, std::map<QString, QAction*>& actions) {
    QMenu* menu = window.menuBar()->addMenu(title);
    menu->setObjectName(QStringLiteral("mnuHelp"));
    actions[menu->objectName()] = menu->menuAction();
    QObject::connect(menu, &QMenu::aboutToShow, &window, help);
    QAction* item = menu->addAction(QStringLiteral("Click Here for Help Index           F1"));
    item->setObjectName(QStringLiteral("mnuHelpContents"));
    QObject::connect(item, &QAction::triggered, &window, help);
    actions[item->objectName()] = item;
}

}  // namespace qarv::ui
