// Combo box lines: program-made changes send no notification, and no line is
// selected unless the program or the user selects one.
#include <QComboBox>

#include "platform/Window.h"
#include "platform/qt/QtWindow.h"

namespace {
QComboBox* ComboOf(HWND hCombo)
{
    return qobject_cast<QComboBox*>(QvWidget(hCombo));
}
}  // namespace

int QvComboCount(HWND hCombo)
{
    auto* c = ComboOf(hCombo);
    return c ? c->count() : 0;
}

int QvComboInsert(HWND hCombo, int nIndex, const std::string& utf8)
{
    auto* c = ComboOf(hCombo);
    if (!c) return CB_ERR;
    // Qt selects the first line added to an empty list; the original does not.
    bool none = c->currentIndex() < 0;
    QSignalBlocker block(c);
    c->insertItem(nIndex, QString::fromStdString(utf8));
    if (none) c->setCurrentIndex(-1);
    return nIndex;
}

void QvComboDelete(HWND hCombo, int nIndex)
{
    auto* c = ComboOf(hCombo);
    if (!c) return;
    // Deleting the selected line leaves no selection (Qt would move it).
    bool wasSelected = c->currentIndex() == nIndex;
    QSignalBlocker block(c);
    c->removeItem(nIndex);
    if (wasSelected) c->setCurrentIndex(-1);
}

int QvComboGetSel(HWND hCombo)
{
    auto* c = ComboOf(hCombo);
    return c ? c->currentIndex() : -1;
}

void QvComboSetSel(HWND hCombo, int nIndex)
{
    auto* c = ComboOf(hCombo);
    if (!c) return;
    QSignalBlocker block(c);
    c->setCurrentIndex(nIndex);
    c->update();
}
