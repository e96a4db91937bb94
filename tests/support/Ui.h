// Drives the real dialogs as a user would: a step per dialog, in the order the
// dialogs open, runs inside its modal loop; message boxes are recorded and
// answered from a queue.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <string>

#include "platform/Dialog.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace qvtest {

using Step = std::function<void(CDialog&)>;
using Shown = std::vector<std::pair<std::string, UINT>>;

class DialogScript {
public:
    DialogScript()
    {
        QvSetDialogOpenedHook([this](CDialog& dlg) {
            CDialog* d = &dlg;
            // A dialog left open fails the test instead of hanging it.
            QTimer::singleShot(20000, d->GetSafeHwnd(), [d] { ADD_FAILURE() << "still open"; d->EndDialog(-99); });
            const bool expected = !m_steps.empty() && m_steps.front().first == dlg.GetTemplateId();
            EXPECT_TRUE(expected) << "unexpected dialog " << dlg.GetTemplateId();
            Step step = expected ? std::move(m_steps.front().second) : [](CDialog& x) { x.EndDialog(-99); };
            if (expected) m_steps.pop_front();
            QTimer::singleShot(0, d->GetSafeHwnd(), [d, step] { step(*d); });
        });
    }
    ~DialogScript()
    {
        QvSetDialogOpenedHook(nullptr);
        EXPECT_TRUE(m_steps.empty()) << "a dialog did not open";
    }
    void On(UINT nTemplate, Step step) { m_steps.emplace_back(nTemplate, std::move(step)); }

private:
    std::deque<std::pair<UINT, Step>> m_steps;
};

struct MessageBoxes {
    MessageBoxes()
    {
        QvSetMessageBoxHook([this](const CString& text, UINT nType) {
            shown.emplace_back(text.str(), nType);
            EXPECT_TRUE(nType == MB_OK || !answers.empty()) << "unanswered: " << text.str();
            const int answer = nType == MB_OK ? IDOK : answers.empty() ? IDNO : answers.front();
            if (nType != MB_OK && !answers.empty()) answers.pop_front();
            return answer;
        });
    }
    ~MessageBoxes() { QvSetMessageBoxHook(nullptr); }
    Shown shown;
    std::deque<int> answers;
};

inline void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T = QWidget>
T* Control(CDialog& dlg, int nID)
{
    T* w = qobject_cast<T*>(dlg.GetDlgItem(nID));
    EXPECT_NE(w, nullptr) << "control " << nID;
    return w;
}

inline QWidget* Focus(CDialog& dlg) { return dlg.GetSafeHwnd()->focusWidget(); }

// What a user does, in order: {edit, text} types the text over the field's,
// {combo box, "n"} picks line n, {button} clicks it (a check box on its box),
// {kEsc} or {kEnter} presses the key where the focus is.
struct Act {
    int id;
    QString text = {};
};
using Actions = std::vector<Act>;
const int kEsc = -Qt::Key_Escape, kEnter = -Qt::Key_Return;

inline void Do(CDialog& dlg, const Actions& actions)
{
    for (const auto& [id, text] : actions) {
        QWidget* w = id >= 0 ? Control(dlg, id) : Focus(dlg) ? Focus(dlg) : dlg.GetSafeHwnd();
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
