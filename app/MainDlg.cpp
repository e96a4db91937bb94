// The main window: the help text, the chooser of the stored systems, the list
// commands (add, modify, delete) and the start of a simulation.
#include "app/MainDlg.h"

#include "engine/SimulationDlg.h"
#include "platform/WinApp.h"
#include "platform/Window.h"
#include "res/resource.h"

const char* const kHelpText =
    "QUORVANE UNIVERSALE\r\n"
    "\r\n"
    "Il programma simula il funzionamento della dinamica newtoniana e della quorvane universale.\r\n"
    "\r\n"
    "FUNZIONAMENTO\r\n"
    "\r\n"
    "Selezionare dal menu a tendina il sistema di cui si desidera osservare l'evoluzione e premere il tasto "
    "\"Avvia la simulazione\".\r\n"
    "\r\n"
    "Ogni pianeta lascia traccia della propria traiettoria.\r\n"
    "Durante la simulazione è possibile cancellare le traiettorie, visualizzare i nomi dei pianeti, visualizzare "
    "le forze in gioco, stabilire la velocità della simulazione.\r\n"
    "\r\n"
    "E' anche possibile impostare nuovi sistemi, o modificare sistemi esistenti, tramite i tasti \"Aggiungi\" e "
    "\"Modifica\".\r\n"
    "Sarà visualizzata una finestra di configurazione che permetterà di aggiugere o togliere pianeti, e di "
    "modificare il tipo di forze che intevengono.\r\n"
    "\r\n"
    "CONSIDERAZIONI\r\n"
    "\r\n"
    "Il moto è determinato attraverso un numero consistente di passi del metodo di Eulero; nonostante la sua "
    "ovvia instabilità, ho scelto questo metodo per semplicità di codifica (leggi: pigrizia) e per la sua "
    "maggiore intuitività.\r\n"
    "\r\n"
    "         Quorvane, dicembre 2026";

namespace {
const char* const kMissingFileText = "File di configurazione \"Quorvane.ini\" mancante";

HICON LoadMainIcon()
{
    // Tests build the window without an application object.
    CWinApp* pApp = AfxGetApp();
    HICON hIcon = pApp ? pApp->LoadIcon(IDR_MAINFRAME) : nullptr;
    return hIcon ? hIcon : QvLoadIcon(IDR_MAINFRAME);
}
}  // namespace

BEGIN_MESSAGE_MAP(CMainDlg)
ON_BN_CLICKED(IDC_ADDSYSTEM, OnAddSystem)
ON_BN_CLICKED(IDC_DELETESYSTEM, OnDeleteSystem)
ON_BN_CLICKED(IDC_MODIFYSYSTEM, OnModifySystem)
END_MESSAGE_MAP()

CMainDlg::CMainDlg(CWnd* pParent) : CDialog(IDD_QUORVANE_DIALOG, pParent), m_hIcon(nullptr)
{
    m_strHelp = "";
    m_strHelp = kHelpText;
    m_hIcon = LoadMainIcon();
}

CMainDlg::~CMainDlg() = default;

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSTEMS, m_cbSystems);
    DDX_Text(pDX, IDC_HELPTEXT, m_strHelp);
}

BOOL CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    if (CoInitialize(nullptr) < 0) return FALSE;

    LoadSystems();
    return TRUE;
}

void CMainDlg::LoadSystems()
{
    BOOL bOpened = LoadSystemsFromFile(kConfigFileName, m_Systems,
                                       [this](const CSystemDlg& system) { m_cbSystems.AddString(system.m_strName); });
    if (!bOpened) {
        AfxMessageBox(kMissingFileText, 0, 0);
        return;
    }
    m_cbSystems.SetCurSel(0);
}

void CMainDlg::SaveSystems()
{
    CString strError;
    if (!SaveSystemsToFile(kConfigFileName, m_Systems, &strError)) {
        if (strError.IsEmpty()) strError = "Impossibile scrivere il file di configurazione \"Quorvane.ini\".";
        AfxMessageBox(strError, 0, 0);
    }
}

void CMainDlg::OnAddSystem()
{
    CSystemDlg system;
    CPlanet planet;
    planet.m_strName = "Primo pianeta";
    system.m_Planets.Add(planet);
    planet.m_strName = "Secondo pianeta";
    system.m_Planets.Add(planet);
    system.m_strName = "Nuova configurazione";

    // Added whichever way the editor was closed.
    system.DoModal();

    int n = m_Systems.GetSize();
    m_Systems.SetSize(n + 1);
    m_Systems[n] = system;

    m_cbSystems.AddString(system.m_strName);
    m_cbSystems.SetCurSel(m_cbSystems.GetCount() - 1);

    SaveSystems();
}

void CMainDlg::OnModifySystem()
{
    int sel = m_cbSystems.GetCurSel();
    if (sel < 0 || sel >= m_Systems.GetSize()) return;  // nothing selected: nothing to modify

    // The stored record is the editor itself: its changes land in the list.
    m_Systems[sel].DoModal();

    m_cbSystems.DeleteString(static_cast<UINT>(sel));
    m_cbSystems.InsertString(sel, m_Systems[sel].m_strName);
    m_cbSystems.SetCurSel(sel);

    SaveSystems();
}

void CMainDlg::OnDeleteSystem()
{
    int sel = m_cbSystems.GetCurSel();
    if (sel < 0 || sel >= m_Systems.GetSize()) return;  // nothing selected: nothing to delete

    if (AfxMessageBox("Eliminare la configurazione selezionata?", MB_YESNO | MB_ICONQUESTION, 0) != IDYES) return;

    m_Systems.RemoveAt(sel);
    m_cbSystems.DeleteString(static_cast<UINT>(sel));

    int n = m_cbSystems.GetCount();
    m_cbSystems.SetCurSel(sel < n ? sel : sel - 1);

    SaveSystems();
}

void CMainDlg::OnOK()
{
    int sel = m_cbSystems.GetCurSel();
    if (sel < 0 || sel >= m_Systems.GetSize()) return;  // an empty list has nothing to start

    CSimulationDlg dlg(&m_Systems[sel], this);
    dlg.DoModal();
}

void CMainDlg::OnDestroy()
{
    CDialog::OnDestroy();
    CoUninitialize();
}
