// Message boxes as QMessageBox, and the cursor.
#include "platform/MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

#include "platform/Window.h"
#include "platform/qt/DialogWindow.h"

int QvShowMessageBox(const std::string& utf8, UINT nType)
{
    const bool yesNo = QvIsYesNo(nType);
    if (!QvHaveWidgetsApp()) {
        std::fprintf(stderr, "Quorvane: %s\n", utf8.c_str());
        return QvMessageBoxAnswer(nType, 0);
    }
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    QMessageBox box(owner);
    box.setWindowTitle(QStringLiteral("Quorvane"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(utf8));
    switch (nType & 0xF0u) {
    case 0x10: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case 0x30: box.setIcon(QMessageBox::Warning); break;
    case 0x40: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    QAbstractButton* yes = nullptr;
    if (yesNo) {
        yes = box.addButton(QMessageBox::Yes);
        QAbstractButton* no = box.addButton(QMessageBox::No);
        yes->setText(QStringLiteral("S\u00EC"));
        no->setText(QStringLiteral("No"));
        box.setDefaultButton(static_cast<QPushButton*>(yes));
        box.setEscapeButton(no);
    } else {
        QAbstractButton* ok = box.addButton(QMessageBox::Ok);
        ok->setText(QStringLiteral("OK"));
        box.setDefaultButton(static_cast<QPushButton*>(ok));
        box.setEscapeButton(ok);
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return QvMessageBoxAnswer(nType, yes && box.clickedButton() == yes ? IDYES : 0);
}

void QvSetCursorHidden(bool bHidden)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (bHidden) QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else QGuiApplication::restoreOverrideCursor();
}
