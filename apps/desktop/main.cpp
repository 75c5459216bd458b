// The desktop program: starts on the data-entry window.
//
// With the option --exit-when-shown it quits as soon as that window has been
// painted for the first time; the start-up benchmark times the whole process
// run that way, from launch to first shown window (and the exit after it).

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include "ui/app_context.h"
#include "ui/data_entry_window.h"

namespace {

constexpr char kExitWhenShown[] = "--exit-when-shown";

// Quits the application once the watched window has painted itself.
class ExitWhenPainted : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !quitting_) {
            quitting_ = true;
            // After the paint has been handled and the frame handed on.
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool quitting_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qarvelion"));
    const bool exitWhenShown =
        QApplication::arguments().contains(QString::fromLatin1(kExitWhenShown));
    qarv::ui::AppContext context{
        qarv::ui::systemPlatform(), QApplication::applicationDirPath(), {}, {}};
    qarv::ui::DataEntryWindow window(context);
    ExitWhenPainted exitWhenPainted;
    if (exitWhenShown) window.installEventFilter(&exitWhenPainted);
    window.show();
    return QApplication::exec();
}
