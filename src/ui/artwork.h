#pragma once
// Pictures and toolbar icons, drawn by the program itself.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace qarv::ui {

// A spinel crystal (an octahedron), for the windows' decorative pictures.
// `size` is in device-independent pixels; the picture is drawn for the
// highest device pixel ratio among the screens.
QPixmap spinelPicture(int size);

// The same picture for an explicit device pixel ratio: the pixmap holds
// size*dpr pixels and reports `dpr` as its device pixel ratio.
QPixmap spinelPicture(int size, qreal dpr);

// The icon for a toolbar command, by its tip text's meaning: "new", "open",
// "save", "close", "exit", "cut", "copy", "paste", "delete", "selectAll",
// "calculate", "loadXls", "loadXlsx", "editXls", "editXlsx", "about", "help",
// "next", "previous", "sendExcel", "openExcel", "graph". An unknown name gives
// a plain square.
QIcon toolbarIcon(const QString& name);

// One rendering of a toolbar icon: `size` device-independent pixels square,
// size*dpr pixels in the pixmap. toolbarIcon() is built from these.
QPixmap toolbarPixmap(const QString& name, int size, qreal dpr = 1.0);

// The names toolbarIcon() draws a picture for, in toolbar order.
QStringList toolbarIconNames();

}  // namespace qarv::ui
