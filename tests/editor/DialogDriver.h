// Drives the real dialogs as a user would: steps queued per dialog template
// run inside the dialog's modal loop, clicks and keys go through QTest, and
// message boxes are answered from a queue.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Dialog.h"

// Readable failure messages for texts shown on screen.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace qvtest {

using Step = std::function<void(CDialog&)>;

// Steps for the dialogs that open while the object lives, in order per template.
// A dialog without a step left is a test failure and is closed with Escape.
class DialogScript {
public:
    DialogScript()
    {
        QvSetDialogOpenedHook([this](CDialog& dlg) { Opened(dlg); });
        // Nothing may hang a test: after a generous delay every modal window is closed.
        m_watchdog.setInterval(20000);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "a dialog was still open after 20 s";
            while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                d->reject();
                QApplication::processEvents();
            }
        });
        m_watchdog.start();
    }
    ~DialogScript() { QvSetDialogOpenedHook(nullptr); }

    void On(UINT nTemplate, Step step) { m_steps[nTemplate].push_back(std::move(step)); }
    int OpenedCount(UINT nTemplate) const { return m_opened.count(nTemplate) ? m_opened.at(nTemplate) : 0; }
    bool AllUsed() const
    {
        for (const auto& entry : m_steps)
            if (!entry.second.empty()) return false;
        return true;
    }

private:
    void Opened(CDialog& dlg)
    {
        CDialog* pDlg = &dlg;
        ++m_opened[dlg.GetTemplateId()];
        auto& steps = m_steps[dlg.GetTemplateId()];
        if (steps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dlg.GetTemplateId();
            QTimer::singleShot(0, [pDlg] { pDlg->OnCancel(); });
            return;
        }
        Step step = std::move(steps.front());
        steps.pop_front();
        // Inside the modal loop, as the user's actions would be.
        QTimer::singleShot(0, [pDlg, step] { step(*pDlg); });
    }

    std::map<UINT, std::deque<Step>> m_steps;
    std::map<UINT, int> m_opened;
    QTimer m_watchdog;
};

// Records every message box and answers it from a queue (OK boxes need no answer).
class MessageBoxes {
public:
    MessageBoxes()
    {
        QvSetMessageBoxHook([this](const CString& text, UINT nType) {
            m_shown.emplace_back(text.str(), nType);
            if ((nType & 0xF) != MB_YESNO) return static_cast<int>(IDOK);
            if (m_answers.empty()) {
                ADD_FAILURE() << "unanswered question: " << text.str();
                return static_cast<int>(IDNO);
            }
            int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
    }
    ~MessageBoxes() { QvSetMessageBoxHook(nullptr); }

    void Answer(int nAnswer) { m_answers.push_back(nAnswer); }
    const std::vector<std::pair<std::string, UINT>>& Shown() const { return m_shown; }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& s : m_shown) texts.push_back(s.first);
        return texts;
    }
    void Clear() { m_shown.clear(); }

private:
    std::vector<std::pair<std::string, UINT>> m_shown;
    std::deque<int> m_answers;
};

// Every test runs in a working directory of its own: the program's file is there.
class TempWorkingDir {
public:
    TempWorkingDir() : m_previous(QDir::currentPath())
    {
        EXPECT_TRUE(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
    }
    ~TempWorkingDir() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T>
T* Control(CDialog& dlg, int nID)
{
    T* w = qobject_cast<T*>(dlg.GetDlgItem(nID));
    EXPECT_NE(w, nullptr) << "control " << nID;
    return w;
}

inline QWidget* Window(CDialog& dlg) { return dlg.GetSafeHwnd(); }

inline void Click(CDialog& dlg, int nID)
{
    // Near the left edge: a check box reacts on its box and its text only.
    if (auto* b = Control<QAbstractButton>(dlg, nID))
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
}

// Replaces the text of an edit field by typing.
inline void Type(CDialog& dlg, int nID, const QString& text)
{
    auto* e = Control<QLineEdit>(dlg, nID);
    if (!e) return;
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    bool ascii = true;
    for (QChar ch : text) ascii = ascii && ch.unicode() < 128;
    if (ascii) QTest::keyClicks(e, text);
    else e->insert(text);  // what typing a character outside ASCII does
}

inline QString FieldText(CDialog& dlg, int nID)
{
    auto* e = Control<QLineEdit>(dlg, nID);
    return e ? e->text() : QString();
}

// The user picks line nLine in the dropped list.
inline void Pick(CDialog& dlg, int nID, int nLine)
{
    auto* c = Control<QComboBox>(dlg, nID);
    if (!c) return;
    c->setFocus();
    c->setCurrentIndex(nLine);
    emit c->activated(nLine);
}

// A key pressed with the focus where it is.
inline void Press(CDialog& dlg, int key)
{
    QWidget* w = Window(dlg);
    QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, static_cast<Qt::Key>(key));
}

inline QStringList Lines(CDialog& dlg, int nID)
{
    QStringList lines;
    if (auto* c = Control<QComboBox>(dlg, nID))
        for (int i = 0; i < c->count(); ++i) lines << c->itemText(i);
    return lines;
}

inline int Selected(CDialog& dlg, int nID)
{
    auto* c = Control<QComboBox>(dlg, nID);
    return c ? c->currentIndex() : -2;
}

}  // namespace qvtest
