#include "tools/quorvane-run/QtApplication.h"

#include "platform/Locale.h"

std::unique_ptr<QApplication> QvEnsureApplication()
{
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 1;
    static char name[] = "quorvane-run";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto app = std::make_unique<QApplication>(argc, argv);
    QvFixNumericLocale();
    return app;
}
