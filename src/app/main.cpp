#include "controls/key_gate_ui.h"
#include "platform/system/system_services.h"
#include "shell/application_ui.h"
#include "shell/message_dialog.h"

int main(int argc, char** argv)
{
    ziro::GuiApplication app(argc, argv);
    auto system = ziro::createDesktopServices();
    ziro::MessageBoxDialogs dialogs;
    ziro::ZiroApp ziroApp({}, *system, dialogs);
    return ziroApp.run();
}
