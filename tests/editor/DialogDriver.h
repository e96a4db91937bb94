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
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <utility>
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
            while (QWidget* w = QApplication::activeModalWidget()) {
                if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
                else break;
                QApplication::processEvents();
            }
        });
        m_watchdog.start();
    }
    ~DialogScript() { QvSetDialogOpenedHook(nullptr); }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    void On(UINT nTemplate, Step step) { m_steps[nTemplate].push_back(std::move(step)); }
    int OpenedCount(UINT nTemplate) const
    {
        auto it = m_opened.find(nTemplate);
        return it == m_opened.end() ? 0 : it->second;
    }
    bool AllUsed() const
    {
        for (const auto& [id, steps] : m_steps)
            if (!steps.empty()) return false;
        return true;
    }

private:
    void Opened(CDialog& dlg)
    {
        UINT id = dlg.GetTemplateId();
        ++m_opened[id];
        auto& steps = m_steps[id];
        CDialog* pDlg = &dlg;
        if (steps.empty()) {
            ADD_FAILURE() << "unexpected dialog " << id;
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
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

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
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    std::string Path() const { return m_dir.path().toStdString(); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool FileExists(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
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
    auto* b = Control<QAbstractButton>(dlg, nID);
    if (!b) return;
    // Near the left edge: a check box reacts on its box and its text only.
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
    QWidget* target = w->focusWidget() ? w->focusWidget() : w;
    QTest::keyClick(target, static_cast<Qt::Key>(key));
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
