// A failed save, as the main window reports it.
#include "app/MainDlg.h"
#include "res/resource.h"
#include "support/Ui.h"
#include "tests/store/StoreTestUtil.h"

// The main window says why, and its list keeps the change.
TEST(SaveFailures, MainWindowReportsTheFailureAndKeepsTheList)
{
    TempDir dir;
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string oldBytes = SaveBytes(MakeList("Sistema ", 3, 30));
    WriteBytes("Quorvane.ini", oldBytes);
    std::vector<std::string> boxes;
    QvSetMessageBoxHook([&](const CString& text, UINT) { return boxes.push_back(text.str()), IDYES; });
    CMainDlg dlg;
    QvSetDialogOpenedHook([&](CDialog& d) {
        const rlimit old = LimitFileSize(2048);
        d.GetTemplateId() == IDD_QUORVANE_DIALOG ? dlg.OnDeleteSystem() : void();
        ::setrlimit(RLIMIT_FSIZE, &old);
        d.EndDialog(IDCANCEL);
    });
    dlg.DoModal();
    QvSetDialogOpenedHook(nullptr), QvSetMessageBoxHook(nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Eliminare la configurazione selezionata?",
                                               "Impossibile salvare il file \"Quorvane.ini\": file troppo grande."}));
    EXPECT_EQ(Dump(dlg.m_Systems), Dump(MakeList("Sistema ", 3, 30)).substr(Dump(MakeList("Sistema ", 1, 30)).size()));
    EXPECT_EQ(ReadBytes("Quorvane.ini"), oldBytes);
    EXPECT_EQ(dir.Entries(), "Quorvane.ini");
    std::filesystem::current_path(cwd);
}
