// The Qt platform's dialogs: one QDialog per running CDialog, one widget per
// template control, and the nested modal loop.
#include "platform/Dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

#include <climits>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/WinApp.h"
#include "platform/Window.h"
#include "platform/qt/DialogLayout.h"
#include "platform/qt/Keys.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindow.h"

namespace {
const char* const kTimerIdProperty = "qvTimerId";
const char* const kBigIconProperty = "qvHasBigIcon";

bool HaveWidgetsApp()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// Greedy word wrap for push buttons whose text may take several lines.
QString WrapText(const QFontMetrics& fm, const QString& text, int width)
{
    QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString out, line;
    for (const QString& word : words) {
        QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            out += line + QLatin1Char('\n');
            line = word;
        } else {
            line = candidate;
        }
    }
    return out + line;
}

QString PlainTextOf(const QPlainTextEdit* edit)
{
    // toRawText keeps non-breaking spaces, which toPlainText would turn into blanks.
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}
}  // namespace

// The window of a CDialog while DoModal runs.
class QvDialogWindow : public QDialog {
public:
    QvDialogWindow(CDialog* owner, QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags), m_pOwner(owner) {}

    CDialog* m_pOwner;
    std::vector<std::pair<int, QWidget*>> m_controls;  // template order
    std::vector<QWidget*> m_tabStops;                   // template order
    std::vector<QWidget*> m_wantReturn;                 // multi-line edits that keep Enter
    QEventLoop* m_pLoop = nullptr;
    QPushButton* m_pDefault = nullptr;
    int m_nDefaultId = IDOK;

    void BuildControls(const DlgTemplate& t, const QvDialogBaseUnits& units);

    void reject() override { m_pOwner->OnCommand(IDCANCEL, BN_CLICKED); }
    void accept() override { m_pOwner->OnCommand(IDOK, BN_CLICKED); }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        // The close box is the Cancel command; the window goes away only through EndDialog.
        e->ignore();
        m_pOwner->OnCommand(IDCANCEL, BN_CLICKED);
    }

    void keyPressEvent(QKeyEvent* e) override;

private:
    void Connect(int id, QWidget* w);
};

void QvDialogWindow::Connect(int id, QWidget* w)
{
    if (id == -1) return;
    UINT nID = static_cast<UINT>(id);
    CDialog* owner = m_pOwner;
    // clicked and activated are emitted for the user's actions only.
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        connect(b, &QAbstractButton::clicked, this, [owner, nID] { owner->OnCommand(nID, BN_CLICKED); });
    else if (auto* c = qobject_cast<QComboBox*>(w))
        connect(c, qOverload<int>(&QComboBox::activated), this, [owner, nID] { owner->OnCommand(nID, CBN_SELCHANGE); });
}

void QvDialogWindow::BuildControls(const DlgTemplate& t, const QvDialogBaseUnits& units)
{
    for (int i = 0; i < t.itemCount; ++i) {
        const DlgItemTemplate& it = t.items[i];
        QRect r = QvMapDialogRect(it.x, it.y, it.cx, it.cy, units);
        QString text = it.text ? QString::fromUtf8(it.text) : QString();
        const bool tabStop = (it.style & WS_TABSTOP) != 0;
        QWidget* w = nullptr;
        switch (it.kind) {
        case DlgItemKind::Button: {
            UINT type = it.style & 0xFu;
            if (type == BS_GROUPBOX) {
                w = new QGroupBox(text, this);
            } else if (type == BS_AUTOCHECKBOX) {
                w = new QCheckBox(text, this);
            } else {
                auto* b = new QPushButton(this);
                // Enter is routed by the dialog itself (see keyPressEvent).
                b->setAutoDefault(false);
                if (type == BS_DEFPUSHBUTTON && !m_pDefault) {
                    b->setDefault(true);
                    m_pDefault = b;
                    m_nDefaultId = it.id;
                }
                if (it.style & BS_MULTILINE) text = WrapText(QFontMetrics(font()), text, r.width() - 6);
                b->setText(text);
                w = b;
            }
            break;
        }
        case DlgItemKind::Edit:
            if (it.style & ES_MULTILINE) {
                auto* e = new QPlainTextEdit(this);
                e->setReadOnly((it.style & ES_READONLY) != 0);
                e->setTabChangesFocus(true);
                e->setVerticalScrollBarPolicy((it.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
                e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
                if (!(it.style & WS_BORDER)) e->setFrameShape(QFrame::NoFrame);
                if (it.style & ES_READONLY)
                    e->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
                if (it.style & ES_WANTRETURN) m_wantReturn.push_back(e);
                e->setPlainText(text);
                w = e;
            } else {
                auto* e = new QLineEdit(this);
                e->setReadOnly((it.style & ES_READONLY) != 0);
                e->setFrame((it.style & WS_BORDER) != 0);
                // Texts of any length, so that nothing read from a file is cut.
                e->setMaxLength(INT_MAX);
                e->setText(text);
                w = e;
            }
            break;
        case DlgItemKind::Static: {
            auto* l = new QLabel(text, this);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Texts that are given room for more than one line wrap at word boundaries.
            l->setWordWrap(r.height() >= 2 * QFontMetrics(font()).height());
            w = l;
            break;
        }
        case DlgItemKind::ComboBox: {
            auto* c = new QComboBox(this);
            c->setEditable(false);
            if (it.initStrings)
                for (const char* const* s = it.initStrings; *s; ++s)
                    c->addItem(QvDisplayText(*s));
            c->setCurrentIndex(-1);
            // The template's height includes the dropped list.
            int closed = c->sizeHint().height();
            int rowHeight = QFontMetrics(font()).height() + 2;
            if (r.height() > closed) c->setMaxVisibleItems(qMax(1, (r.height() - closed) / rowHeight));
            r.setHeight(closed);
            // The template fixes the width, and every line is one text high: Qt
            // need not measure each line, which a list of a million systems would feel.
            c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            if (auto* view = qobject_cast<QListView*>(c->view())) view->setUniformItemSizes(true);
            w = c;
            break;
        }
        }
        w->setGeometry(r);
        if (tabStop) {
            w->setFocusPolicy(Qt::StrongFocus);
            m_tabStops.push_back(w);
        } else if (qobject_cast<QGroupBox*>(w) || qobject_cast<QLabel*>(w)) {
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            w->setFocusPolicy(Qt::ClickFocus);
        }
        m_controls.emplace_back(it.id, w);
        Connect(it.id, w);
    }
    for (size_t i = 1; i < m_tabStops.size(); ++i) QWidget::setTabOrder(m_tabStops[i - 1], m_tabStops[i]);
}

void QvDialogWindow::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if (key == Qt::Key_Escape) {
        m_pOwner->OnCommand(IDCANCEL, BN_CLICKED);
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !(e->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
        QWidget* focus = focusWidget();
        for (QWidget* w : m_wantReturn)
            if (focus == w) return;  // the edit keeps Enter for itself
        if (auto* b = qobject_cast<QPushButton*>(focus); b && b->isEnabled() && b->isVisible()) {
            for (const auto& [id, w] : m_controls)
                if (w == b) {
                    if (id != -1) m_pOwner->OnCommand(static_cast<UINT>(id), BN_CLICKED);
                    return;
                }
        }
        if (m_pDefault && !m_pDefault->isEnabled()) return;
        m_pOwner->OnCommand(static_cast<UINT>(m_nDefaultId), BN_CLICKED);
        return;
    }
    if (m_controls.empty()) {
        // With Alt the original platform sends a system key message instead,
        // and Tab belongs to the dialog manager; F10 is a system key as well.
        if (e->modifiers().testFlag(Qt::AltModifier) || key == Qt::Key_Alt || key == Qt::Key_F10 ||
            key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return;
        unsigned int scan = QGuiApplication::platformName() == QLatin1String("xcb") ? e->nativeScanCode() : 0;
        UINT vk = QvVirtualKeyFromQt(key, e->modifiers(), scan);
        if (vk == 0) return;
        // Key flags as the original platform packs them: scan code, and bit 14
        // set when the key was already down (auto-repeat).
        UINT flags = (e->nativeScanCode() & 0xFFu) | (e->isAutoRepeat() ? 0x4000u : 0u);
        m_pOwner->OnKeyDown(vk, 1, flags);
        return;
    }
    e->ignore();
}

// ---------------------------------------------------------------------------
// The windowing calls of the dialog framework

namespace {
QvDialogWindow* DialogOf(HWND hWnd)
{
    return dynamic_cast<QvDialogWindow*>(QvWidget(hWnd));
}
}  // namespace

BOOL QvPlatformHaveDisplay()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen() ? TRUE
                                                                                                         : FALSE;
}

HWND QvCreateDialogWindow(CDialog& dlg, const DlgTemplate& t, HWND hParent)
{
    if (!HaveWidgetsApp()) return nullptr;
    // The owner: the given parent, else the active modal window, else the main window.
    QWidget* parent = QvWidget(hParent);
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent && AfxGetApp() && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != &dlg)
        parent = QvWidget(AfxGetApp()->m_pMainWnd->GetSafeHwnd());
    if (parent) parent = parent->window();

    Qt::WindowFlags flags = (t.exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    if ((t.style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (t.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }

    auto* w = new QvDialogWindow(&dlg, parent, flags);
    w->setWindowModality(Qt::ApplicationModal);
    w->setFont(QvDialogFont());
    w->setWindowTitle(QString::fromUtf8(t.caption ? t.caption : ""));
    QvDialogBaseUnits units = QvBaseUnits(w->font());
    w->setFixedSize(QvDluToPixelsX(t.cx, units), QvDluToPixelsY(t.cy, units));
    w->BuildControls(t, units);
    if (w->m_controls.empty()) w->setFocusPolicy(Qt::StrongFocus);
    return QvHandle(w);
}

void QvShowDialogWindow(HWND hWnd, bool focusFirst)
{
    QvDialogWindow* w = DialogOf(hWnd);
    if (!w) return;
    if (focusFirst) {
        for (QWidget* c : w->m_tabStops)
            if (c->isEnabled()) {
                c->setFocus(Qt::TabFocusReason);
                break;
            }
    }
    // OnInitDialog may have made the window full screen: just show it as it is.
    if (!w->isVisible()) w->setVisible(true);
    w->activateWindow();
    if (w->m_controls.empty()) w->setFocus(Qt::ActiveWindowFocusReason);
}

void QvRunModalLoop(HWND hWnd)
{
    QvDialogWindow* w = DialogOf(hWnd);
    if (!w) return;
    QEventLoop loop;
    w->m_pLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    w->m_pLoop = nullptr;
}

void QvEndModalLoop(HWND hWnd)
{
    if (QvDialogWindow* w = DialogOf(hWnd); w && w->m_pLoop) w->m_pLoop->exit(0);
}

void QvHideDialogWindow(HWND hWnd)
{
    if (QWidget* w = QvWidget(hWnd)) w->hide();
}

void QvDestroyDialogWindow(HWND hWnd)
{
    QWidget* w = QvWidget(hWnd);
    if (!w) return;
    QPointer<QWidget> parent = w->parentWidget();
    delete w;
    if (parent && parent->isVisible()) parent->activateWindow();
}

HWND QvGetDlgItem(HWND hDlg, int nID)
{
    QvDialogWindow* w = DialogOf(hDlg);
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

// ---------------------------------------------------------------------------
// Combo boxes

int QvComboCount(HWND hCombo)
{
    auto* c = qobject_cast<QComboBox*>(QvWidget(hCombo));
    return c ? c->count() : 0;
}

int QvComboInsert(HWND hCombo, int nIndex, const std::string& utf8)
{
    auto* c = qobject_cast<QComboBox*>(QvWidget(hCombo));
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
    auto* c = qobject_cast<QComboBox*>(QvWidget(hCombo));
    if (!c) return;
    // Deleting the selected line leaves no selection (Qt would move it).
    bool wasSelected = c->currentIndex() == nIndex;
    QSignalBlocker block(c);
    c->removeItem(nIndex);
    if (wasSelected) c->setCurrentIndex(-1);
}

int QvComboGetSel(HWND hCombo)
{
    auto* c = qobject_cast<QComboBox*>(QvWidget(hCombo));
    return c ? c->currentIndex() : -1;
}

void QvComboSetSel(HWND hCombo, int nIndex)
{
    auto* c = qobject_cast<QComboBox*>(QvWidget(hCombo));
    if (!c) return;
    QSignalBlocker block(c);
    c->setCurrentIndex(nIndex);
    c->update();
}

// ---------------------------------------------------------------------------
// Timers, icons, message boxes, cursor

bool QvSetTimer(HWND hWnd, CWnd* pWnd, UINT nIDEvent, UINT nElapseMs)
{
    QWidget* w = QvWidget(hWnd);
    if (!w) return false;
    // The original platform never fires faster than every 10 ms.
    int ms = static_cast<int>(qBound(10u, nElapseMs, 0x7FFFFFFFu));
    const auto timers = w->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        if (t->property(kTimerIdProperty).isValid() && t->property(kTimerIdProperty).toUInt() == nIDEvent) {
            t->start(ms);
            return true;
        }
    auto* t = new QTimer(w);
    t->setTimerType(Qt::PreciseTimer);
    t->setProperty(kTimerIdProperty, nIDEvent);
    QObject::connect(t, &QTimer::timeout, w, [pWnd, nIDEvent] { pWnd->OnTimer(nIDEvent); });
    t->start(ms);
    return true;
}

bool QvKillTimer(HWND hWnd, UINT nIDEvent)
{
    QWidget* w = QvWidget(hWnd);
    if (!w) return false;
    const auto timers = w->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        if (t->property(kTimerIdProperty).isValid() && t->property(kTimerIdProperty).toUInt() == nIDEvent) {
            t->stop();
            t->deleteLater();
            t->setProperty(kTimerIdProperty, QVariant());
            return true;
        }
    return false;
}

void QvSetWindowIcon(HWND hWnd, HICON hIcon, bool bBig)
{
    QWidget* w = QvWidget(hWnd);
    const QIcon* icon = QvIcon(hIcon);
    if (!w || !icon) return;
    // One window icon with every size: the big icon wins, the small one is
    // used only when no big icon was set.
    if (bBig) {
        w->setWindowIcon(*icon);
        w->setProperty(kBigIconProperty, true);
    } else if (!w->property(kBigIconProperty).toBool()) {
        w->setWindowIcon(*icon);
    }
}

int QvShowMessageBox(const std::string& utf8, UINT nType)
{
    const bool yesNo = (nType & 0xFu) == MB_YESNO;
    if (!HaveWidgetsApp()) {
        std::fprintf(stderr, "Quorvane: %s\n", utf8.c_str());
        return yesNo ? IDNO : IDOK;
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
    if (!yesNo) return IDOK;
    return box.clickedButton() == yes ? IDYES : IDNO;
}

void QvSetCursorHidden(bool bHidden)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (bHidden) QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    else QGuiApplication::restoreOverrideCursor();
}
