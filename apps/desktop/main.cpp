// The desktop program: starts on the data-entry window.

#include <QApplication>
#include <QDir>

#include "ui/app_context.h"
#include "ui/data_entry_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qarvelion"));
    qarv::ui::AppContext context{
        qarv::ui::systemPlatform(), QApplication::applicationDirPath(), {}, {}};
    qarv::ui::DataEntryWindow window(context);
    window.show();
    return QApplication::exec();
}
