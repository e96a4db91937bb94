// Drives the real dialogs as a user would: a step per dialog, in the order the
// dialogs open, runs inside its modal loop; message boxes are recorded and
// answered from a queue.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>

#include "platform/Dialog.h"
#include "platform/qt/QtWindow.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace qvtest {

using Step = std::function<void(CDialog&)>;
using Shown = std::vector<std::pair<std::string, UINT>>;

struct DialogScript {
    DialogScript()
    {
        QvSetDialogOpenedHook([this](CDialog& dlg) {
            CDialog* d = &dlg;
            // A dialog left open fails the test instead of hanging it.
            QTimer::singleShot(20000, QvWidget(d->GetSafeHwnd()), [d] { ADD_FAILURE() << "still open"; d->EndDialog(-99); });
            ASSERT_TRUE(!steps.empty() && steps.front().first == dlg.GetTemplateId()) << "unexpected " << dlg.GetTemplateId();
            QTimer::singleShot(0, QvWidget(d->GetSafeHwnd()), [d, step = steps.front().second] { step(*d); });
            steps.pop_front();
        });
    }
    ~DialogScript()
    {
        QvSetDialogOpenedHook(nullptr);
        EXPECT_TRUE(steps.empty()) << "a dialog did not open";
    }
    std::deque<std::pair<UINT, Step>> steps;  // {template, what to do in it}, in the order the dialogs open
};

// Questions take the answers in order; the other boxes have only "OK".
struct MessageBoxes {
    MessageBoxes()
    {
        QvSetMessageBoxHook([this](const CString& text, UINT nType) {
            shown.emplace_back(text.str(), nType);
            if (nType == MB_OK) return int(IDOK);
            EXPECT_LT(asked, answers.size()) << "unanswered: " << text.str();
            return asked < answers.size() ? answers[asked++] : int(IDNO);
        });
    }
    ~MessageBoxes() { QvSetMessageBoxHook(nullptr); }
    Shown shown;
    std::vector<int> answers;
    size_t asked = 0;
};

inline void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

template <class T = QWidget>
T* Control(CDialog& dlg, int nID)
{
    T* w = qobject_cast<T*>(QvWidget(dlg.GetDlgItem(nID)));
    EXPECT_NE(w, nullptr) << "control " << nID;
    return w;
}

inline QWidget* Focus(CDialog& dlg) { return QvWidget(dlg.GetSafeHwnd())->focusWidget(); }

// What a user does, in order: {edit, text} types the text over the field's,
// {combo box, "n"} picks line n, {button} clicks it (a check box on its box),
// {kEsc} or {kEnter} presses the key where the focus is.
struct Act { int id; QString text = {}; };
using Actions = std::vector<Act>;
const int kEsc = -Qt::Key_Escape, kEnter = -Qt::Key_Return;

inline void Do(CDialog& dlg, const Actions& actions)
{
    for (const auto& [id, text] : actions) {
        QWidget* w = id >= 0 ? Control(dlg, id) : Focus(dlg) ? Focus(dlg) : QvWidget(dlg.GetSafeHwnd());
        w->setFocus();
        if (id < 0) {
            QTest::keyClick(w, Qt::Key(-id));
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Delete);
            e->insert(text);
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            c->setCurrentIndex(text.toInt());
            emit c->activated(text.toInt());
        } else {
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(6, w->height() / 2));
        }
    }
}

inline Step Acts(Actions actions) { return [actions](CDialog& d) { Do(d, actions); }; }

inline QString Text(CDialog& dlg, int nID) { return Control<QLineEdit>(dlg, nID)->text(); }

// "line,line,... #selected"
inline QString Chooser(CDialog& dlg, int nID)
{
    auto* c = Control<QComboBox>(dlg, nID);
    QStringList lines;
    for (int i = 0; i < c->count(); ++i) lines << c->itemText(i);
    return lines.join(',') + " #" + QString::number(c->currentIndex());
}

}  // namespace qvtest
