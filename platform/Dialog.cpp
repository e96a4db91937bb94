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
#include <map>
#include <utility>
#include <vector>

#include "platform/DialogLayout.h"
#include "platform/DialogTemplate.h"
#include "platform/Text.h"
#include "platform/WinApp.h"

namespace {
QvMessageBoxHook g_messageBoxHook;
QvDialogOpenedHook g_dialogOpenedHook;
int g_cursorCount = 0;
// Icons set before the window exists, applied when DoModal creates it.
std::map<const CWnd*, std::pair<QIcon, QIcon>> g_pendingIcons;

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

// A multi-line edit shows "\r\n" as one line break.
QString ToWidgetLines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
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
    std::vector<CComboBox*> m_attached;                 // by DDX_Control
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
// CWnd

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapseMs)
{
    if (!m_hWnd) return 0;
    // The original platform never fires faster than every 10 ms.
    int ms = static_cast<int>(qBound(10u, nElapseMs, 0x7FFFFFFFu));
    const auto timers = m_hWnd->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        if (t->property(kTimerIdProperty).isValid() && t->property(kTimerIdProperty).toUInt() == nIDEvent) {
            t->start(ms);
            return nIDEvent;
        }
    auto* t = new QTimer(m_hWnd);
    t->setTimerType(Qt::PreciseTimer);
    t->setProperty(kTimerIdProperty, nIDEvent);
    QObject::connect(t, &QTimer::timeout, m_hWnd, [this, nIDEvent] { OnTimer(nIDEvent); });
    t->start(ms);
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT nIDEvent)
{
    if (!m_hWnd) return FALSE;
    const auto timers = m_hWnd->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        if (t->property(kTimerIdProperty).isValid() && t->property(kTimerIdProperty).toUInt() == nIDEvent) {
            t->stop();
            t->deleteLater();
            t->setProperty(kTimerIdProperty, QVariant());
            return TRUE;
        }
    return FALSE;
}

void CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (!hIcon) return;
    if (!m_hWnd) {
        auto& icons = g_pendingIcons[this];
        (bBigIcon ? icons.first : icons.second) = *hIcon;
        return;
    }
    // One window icon with every size: the big icon wins, the small one is
    // used only when no big icon was set.
    if (bBigIcon) {
        m_hWnd->setWindowIcon(*hIcon);
        m_hWnd->setProperty(kBigIconProperty, true);
    } else if (!m_hWnd->property(kBigIconProperty).toBool()) {
        m_hWnd->setWindowIcon(*hIcon);
    }
}

// ---------------------------------------------------------------------------
// CComboBox

int CComboBox::AddString(const char* lpszString)
{
    return InsertString(-1, lpszString);
}

int CComboBox::InsertString(int nIndex, const char* lpszString)
{
    if (!m_pCombo) return CB_ERR;
    int count = m_pCombo->count();
    if (nIndex == -1) nIndex = count;
    if (nIndex < 0 || nIndex > count) return CB_ERR;
    const char* s = lpszString ? lpszString : "";
    // Qt selects the first line added to an empty list; the original does not.
    bool none = m_pCombo->currentIndex() < 0;
    QSignalBlocker block(m_pCombo);
    m_pCombo->insertItem(nIndex, QvDisplayText(s));
    if (none) m_pCombo->setCurrentIndex(-1);
    return nIndex;
}

int CComboBox::DeleteString(UINT nIndex)
{
    if (!m_pCombo) return CB_ERR;
    int count = m_pCombo->count();
    if (nIndex >= static_cast<UINT>(count)) return CB_ERR;
    int i = static_cast<int>(nIndex);
    // Deleting the selected line leaves no selection (Qt would move it).
    bool wasSelected = m_pCombo->currentIndex() == i;
    QSignalBlocker block(m_pCombo);
    m_pCombo->removeItem(i);
    if (wasSelected) m_pCombo->setCurrentIndex(-1);
    return m_pCombo->count();
}

int CComboBox::GetCount() const
{
    return m_pCombo ? m_pCombo->count() : 0;
}

int CComboBox::GetCurSel() const
{
    if (!m_pCombo) return CB_ERR;
    int i = m_pCombo->currentIndex();
    return i < 0 ? CB_ERR : i;
}

int CComboBox::SetCurSel(int nSelect)
{
    if (!m_pCombo) return CB_ERR;
    QSignalBlocker block(m_pCombo);
    if (nSelect < 0 || nSelect >= m_pCombo->count()) {
        m_pCombo->setCurrentIndex(-1);
        m_pCombo->update();
        return CB_ERR;
    }
    m_pCombo->setCurrentIndex(nSelect);
    m_pCombo->update();
    return nSelect;
}

// ---------------------------------------------------------------------------
// Data exchange

void CDataExchange::Fail(int nID)
{
    if (QWidget* w = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nID) : nullptr) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->selectAll();
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CComboBox& rControl)
{
    if (rControl.GetControl()) return;
    auto* combo = qobject_cast<QComboBox*>(pDX->m_pDlgWnd->GetDlgItem(nIDC));
    auto* window = dynamic_cast<QvDialogWindow*>(pDX->m_pDlgWnd->GetSafeHwnd());
    if (!combo || !window) return;
    rControl.Attach(combo);
    window->m_attached.push_back(&rControl);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    QWidget* w = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!w) return;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (pDX->m_bSaveAndValidate) value = QvStoredText(e->text(), &value);
        else e->setText(QvDisplayText(value));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        if (pDX->m_bSaveAndValidate) {
            QString shown = PlainTextOf(p);
            if (shown != ToWidgetLines(QvDisplayText(value)))
                value = QvStoredText(shown.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
        } else {
            p->setPlainText(ToWidgetLines(QvDisplayText(value)));
        }
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        if (pDX->m_bSaveAndValidate) value = QvStoredText(l->text(), &value);
        else l->setText(QvDisplayText(value));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (pDX->m_bSaveAndValidate) value = QvStoredText(b->text(), &value);
        else b->setText(QvDisplayText(value));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    QWidget* w = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    auto* e = qobject_cast<QLineEdit*>(w);
    if (!e) return;
    CString shown;
    shown.Format("%.*g", 15, value);
    if (!pDX->m_bSaveAndValidate) {
        e->setText(QString::fromLatin1(shown.c_str()));
        return;
    }
    // An untouched field keeps the member's exact value, beyond the 15 digits shown.
    if (e->text() == QLatin1String(shown.c_str())) return;
    double d = 0.0;
    if (!QvParseFieldNumber(e->text(), d)) {
        AfxMessageBox("Immettere un numero.");
        pDX->Fail(nIDC);
    }
    value = d;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    auto* b = qobject_cast<QAbstractButton*>(pDX->m_pDlgWnd->GetDlgItem(nIDC));
    if (!b) return;
    if (pDX->m_bSaveAndValidate) {
        value = b->isChecked() ? 1 : 0;
    } else {
        QSignalBlocker block(b);
        b->setChecked(value != 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    auto* c = qobject_cast<QComboBox*>(pDX->m_pDlgWnd->GetDlgItem(nIDC));
    if (!c) return;
    if (pDX->m_bSaveAndValidate) {
        index = c->currentIndex() < 0 ? -1 : c->currentIndex();
    } else {
        QSignalBlocker block(c);
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    }
}

// ---------------------------------------------------------------------------
// CDialog

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    g_pendingIcons.erase(this);
    delete m_pDialog;
}

INT_PTR CDialog::DoModal()
{
    if (m_pDialog) return -1;  // already running
    const DlgTemplate* t = QvFindDialogTemplate(m_nIDTemplate);
    if (!t || !HaveWidgetsApp()) return -1;

    m_bEnded = false;
    m_nResult = IDCANCEL;

    // The owner: the given parent, else the active modal window, else the main window.
    QWidget* parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent && AfxGetApp() && AfxGetApp()->m_pMainWnd && AfxGetApp()->m_pMainWnd != this)
        parent = AfxGetApp()->m_pMainWnd->GetSafeHwnd();
    if (parent) parent = parent->window();

    Qt::WindowFlags flags = (t->exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    if ((t->style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (t->style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }

    auto* w = new QvDialogWindow(this, parent, flags);
    QPointer<QvDialogWindow> guard(w);
    m_pDialog = w;
    m_hWnd = w;
    w->setWindowModality(Qt::ApplicationModal);
    w->setFont(QvDialogFont());
    w->setWindowTitle(QString::fromUtf8(t->caption ? t->caption : ""));
    QvDialogBaseUnits units = QvBaseUnits(w->font());
    w->setFixedSize(QvDluToPixelsX(t->cx, units), QvDluToPixelsY(t->cy, units));
    w->BuildControls(*t, units);
    if (w->m_controls.empty()) w->setFocusPolicy(Qt::StrongFocus);

    auto pending = g_pendingIcons.find(this);
    if (pending != g_pendingIcons.end()) {
        std::pair<QIcon, QIcon> icons = pending->second;
        g_pendingIcons.erase(pending);
        if (!icons.second.isNull()) SetIcon(&icons.second, FALSE);
        if (!icons.first.isNull()) SetIcon(&icons.first, TRUE);
    }

    BOOL bFocusFirst = OnInitDialog();
    if (!m_bEnded) {
        if (bFocusFirst) {
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
        if (g_dialogOpenedHook) {
            QvDialogOpenedHook hook = g_dialogOpenedHook;
            hook(*this);
        }
        if (!m_bEnded) {
            QEventLoop loop;
            w->m_pLoop = &loop;
            loop.exec(QEventLoop::DialogExec);
            if (guard) w->m_pLoop = nullptr;
        }
    }

    if (guard) w->hide();
    OnDestroy();
    if (guard) {
        for (CComboBox* cb : w->m_attached) cb->Detach();
        delete w;
    }
    m_pDialog = nullptr;
    m_hWnd = nullptr;
    if (parent && parent->isVisible()) parent->activateWindow();
    return m_nResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    if (auto* w = static_cast<QvDialogWindow*>(m_pDialog); w && w->m_pLoop) w->m_pLoop->exit(0);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

QWidget* CDialog::GetDlgItem(int nID) const
{
    auto* w = static_cast<QvDialogWindow*>(m_pDialog);
    if (!w || nID == -1) return nullptr;
    for (const auto& [id, c] : w->m_controls)
        if (id == nID) return c;
    return nullptr;
}

void CDialog::OnCommand(UINT nID, UINT nCode)
{
    for (const AFX_MSGMAP_ENTRY* e = GetMessageMap(); e && e->pfn; ++e)
        if (e->nCode == nCode && e->nID == nID) {
            (this->*(e->pfn))();
            return;
        }
    if (nCode != BN_CLICKED) return;
    if (nID == IDOK) OnOK();
    else if (nID == IDCANCEL) OnCancel();
}

const AFX_MSGMAP_ENTRY* CDialog::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY none[] = {{0, 0, nullptr}};
    return none;
}

// ---------------------------------------------------------------------------
// Message boxes, display, cursor

int AfxMessageBox(const char* lpszText, UINT nType, UINT nIDHelp)
{
    (void)nIDHelp;
    CString text(lpszText);
    if (g_messageBoxHook) {
        QvMessageBoxHook hook = g_messageBoxHook;
        return hook(text, nType);
    }
    const bool yesNo = (nType & 0xFu) == MB_YESNO;
    if (!HaveWidgetsApp()) {
        std::fprintf(stderr, "Quorvane: %s\n", text.c_str());
        return yesNo ? IDNO : IDOK;
    }
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    QMessageBox box(owner);
    box.setWindowTitle(QStringLiteral("Quorvane"));
    box.setTextFormat(Qt::PlainText);
    box.setText(QvDisplayText(text));
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

void QvSetMessageBoxHook(QvMessageBoxHook hook)
{
    g_messageBoxHook = std::move(hook);
}

void QvSetDialogOpenedHook(QvDialogOpenedHook hook)
{
    g_dialogOpenedHook = std::move(hook);
}

BOOL AfxHaveDisplay()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen() ? TRUE
                                                                                                         : FALSE;
}

int ShowCursor(BOOL bShow)
{
    const bool hiddenBefore = g_cursorCount < 0;
    g_cursorCount += bShow ? 1 : -1;
    const bool hiddenAfter = g_cursorCount < 0;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && hiddenBefore != hiddenAfter) {
        if (hiddenAfter) QGuiApplication::setOverrideCursor(Qt::BlankCursor);
        else QGuiApplication::restoreOverrideCursor();
    }
    return g_cursorCount;
}
