// The controls of a dialog: found by id, their kind, text, check mark,
// enabled state and focus.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "platform/qt/DialogWindow.h"

namespace {
QString PlainTextOf(const QPlainTextEdit* edit)
{
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks.
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}
}  // namespace

HWND QvGetDlgItem(HWND hDlg, int nID)
{
    QvDialogWindow* w = QvDialogOf(hDlg);
    if (!w) return nullptr;
    for (const auto& [id, c] : w->m_controls)
        if (id == nID) return QvHandle(c);
    return nullptr;
}

QvControlKind QvGetControlKind(HWND hCtl)
{
    QWidget* w = QvWidget(hCtl);
    if (qobject_cast<QLineEdit*>(w)) return QvControlKind::Edit;
    if (qobject_cast<QPlainTextEdit*>(w)) return QvControlKind::MultiLineEdit;
    if (qobject_cast<QLabel*>(w)) return QvControlKind::Static;
    if (qobject_cast<QCheckBox*>(w)) return QvControlKind::CheckBox;
    if (qobject_cast<QPushButton*>(w)) return QvControlKind::PushButton;
    if (qobject_cast<QGroupBox*>(w)) return QvControlKind::GroupBox;
    if (qobject_cast<QComboBox*>(w)) return QvControlKind::ComboBox;
    return QvControlKind::None;
}

std::string QvGetWindowText(HWND hCtl)
{
    QWidget* w = QvWidget(hCtl);
    QString text;
    if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) text = PlainTextOf(p);
    else if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    else if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
    else if (w) text = w->windowTitle();
    return text.toStdString();
}

void QvSetWindowText(HWND hCtl, const std::string& utf8)
{
    QWidget* w = QvWidget(hCtl);
    const QString text = QString::fromStdString(utf8);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(text);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
    else if (w) w->setWindowTitle(text);
}

bool QvGetCheck(HWND hCtl)
{
    auto* b = qobject_cast<QAbstractButton*>(QvWidget(hCtl));
    return b && b->isChecked();
}

void QvSetCheck(HWND hCtl, bool bChecked)
{
    if (auto* b = qobject_cast<QAbstractButton*>(QvWidget(hCtl))) {
        QSignalBlocker block(b);
        b->setChecked(bChecked);
    }
}

void QvEnableWindow(HWND hCtl, bool bEnable)
{
    if (QWidget* w = QvWidget(hCtl)) w->setEnabled(bEnable);
}

bool QvIsWindowEnabled(HWND hCtl)
{
    QWidget* w = QvWidget(hCtl);
    return w && w->isEnabled();
}

void QvFocusAndSelect(HWND hCtl)
{
    QWidget* w = QvWidget(hCtl);
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->selectAll();
}
