// One widget per control of a dialog's template, in template order (the tab
// order), placed in pixels from dialog units.
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

#include <climits>

#include "platform/DialogItems.h"
#include "platform/qt/DialogWindow.h"
#include "platform/qt/QtText.h"

namespace {
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
}  // namespace

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
    m_nDefaultIndex = QvDefaultButtonIndex(t);
    m_nDefaultId = QvDefaultCommand(t);
    for (int i = 0; i < t.itemCount; ++i) {
        const DlgItemTemplate& it = t.items[i];
        const QvPixelRect p = QvMapDialogRect(it.x, it.y, it.cx, it.cy, units);
        QRect r(p.x, p.y, p.cx, p.cy);
        QString text = it.text ? QString::fromUtf8(it.text) : QString();
        const bool tabStop = (it.style & WS_TABSTOP) != 0;
        QWidget* w = nullptr;
        switch (QvControlKindOf(it)) {
        case QvControlKind::GroupBox: w = new QGroupBox(text, this); break;
        case QvControlKind::CheckBox: w = new QCheckBox(text, this); break;
        case QvControlKind::PushButton: {
            auto* b = new QPushButton(this);
            // Enter is routed by the dialog itself (see keyPressEvent).
            b->setAutoDefault(false);
            b->setDefault(i == m_nDefaultIndex);
            if (it.style & BS_MULTILINE) text = WrapText(QFontMetrics(font()), text, r.width() - 6);
            b->setText(text);
            w = b;
            break;
        }
        case QvControlKind::MultiLineEdit: {
            auto* e = new QPlainTextEdit(text, this);
            e->setReadOnly((it.style & ES_READONLY) != 0);
            e->setTabChangesFocus(true);
            e->setVerticalScrollBarPolicy((it.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
            e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            e->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            if (!(it.style & WS_BORDER)) e->setFrameShape(QFrame::NoFrame);
            if (it.style & ES_READONLY)
                e->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
            if (QvKeepsEnter(it)) m_keepEnter.push_back(e);
            w = e;
            break;
        }
        case QvControlKind::Edit: {
            auto* e = new QLineEdit(this);
            e->setReadOnly((it.style & ES_READONLY) != 0);
            e->setFrame((it.style & WS_BORDER) != 0);
            // Texts of any length, so that nothing read from a file is cut.
            e->setMaxLength(INT_MAX);
            e->setText(text);
            w = e;
            break;
        }
        case QvControlKind::Static: {
            auto* l = new QLabel(text, this);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            // Texts that are given room for more than one line wrap at word boundaries.
            l->setWordWrap(r.height() >= 2 * QFontMetrics(font()).height());
            w = l;
            break;
        }
        case QvControlKind::ComboBox: {
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
        case QvControlKind::None: w = new QWidget(this); break;
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
