#include "res/Resources.h"

#include "res/resource.h"

QIcon* QvLoadIconResource(UINT nID)
{
    if (nID != IDR_MAINFRAME) return nullptr;
    static QIcon icon = [] {
        QIcon i;
        i.addFile(QStringLiteral(":/res/icon32.png"), QSize(32, 32));
        i.addFile(QStringLiteral(":/res/icon16.png"), QSize(16, 16));
        return i;
    }();
    return &icon;
}
