#pragma once
// What the program's windows share: the platform services, the application
// folder, the name last chosen in a file dialog, and the pending run-time
// error of the command that is running.

#include <QString>
#include <string>

#include "common/run_errors.h"
#include "ui/platform.h"

namespace qarv::ui {

inline const QString kProgramTitle = QStringLiteral("Qarvelion");
inline const QString kBanner =
    QStringLiteral("Qarvelion, A Windows Program for Spinel Supergroup Minerals");
inline const QString kHelpFileName = QStringLiteral("qarvelion.chm");

struct AppContext {
    Platform platform;
    QString applicationFolder;    // the folder of the program file
    std::string currentFileName;  // the name last chosen in a file dialog or template opened
    PendingError pending;         // of the command that is running

    // A fixed file of the application folder.
    QString applicationFile(const QString& name) const {
        return applicationFolder + QLatin1Char('/') + name;
    }
};

}  // namespace qarv::ui
