#include "controls/key_gate_ui.h"
#include "base/dialogs.h"
#include "platform/files/install_root.h"
#include "platform/system/system_services.h"
#include "shell/application_ui.h"
#include "shell/first_start.h"
#include "shell/first_start_dialog.h"
#include "shell/message_dialog.h"

#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    ziro::GuiApplication app(argc, argv);
    auto system = ziro::createDesktopServices();
    ziro::MessageBoxDialogs dialogs;

    // Where the installation is: --root, ZIRO_ROOT, the executable's own
    // installation, or the user's data folder for a system install.
    const QStringList arguments = app.arguments().mid(1);
    QString presetError;
    const auto preset = ziro::presetFirstStart(arguments, &presetError);
    const ziro::RootChoice root = ziro::chooseRoot(
        arguments, qEnvironmentVariable(ziro::kRootEnvironmentVariable), app.applicationFilePath(),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), QDir::currentPath(),
        QDir::homePath());
    ziro::FirstStartDialog desktop(dialogs);
    ziro::ConsoleFirstStart console(preset);
    ziro::FirstStartPort& port = preset ? static_cast<ziro::FirstStartPort&>(console) : desktop;
    if (!presetError.isEmpty()) {
        port.tell(presetError);
        return 2;
    }
    const ziro::RootDecision decision =
        ziro::prepareRoot(root, ziro::findSampleContent(app.applicationFilePath()), port, preset);
    if (!decision.proceed)
        return decision.exitCode;

    ziro::ZiroApp::Options options;
    options.programFile = decision.programFile;
    ziro::ZiroApp ziroApp(options, *system, dialogs);
    return ziroApp.run();
}
