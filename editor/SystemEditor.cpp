// The dialog side of CSystemDlg: the editor "Caratteristiche del sistema".
// The working fields belong to planet m_nCurrentPlanet and reach its record
// only when StoreCurrentPlanet runs.
#include "editor/NameRules.h"
#include "res/resource.h"
#include "store/SystemDlg.h"

namespace {
const int kPlanetFieldIds[] = {IDC_PLANETNAME, IDC_PLANETX,  IDC_PLANETY,   IDC_PLANETVX,    IDC_PLANETVY,
                               IDC_MASS,       IDC_FIXED,    IDC_STABILIZE, IDC_DELETEPLANET};
}  // namespace

BEGIN_MESSAGE_MAP(CSystemDlg)
ON_BN_CLICKED(IDC_ADDPLANET, OnAddPlanet)
ON_BN_CLICKED(IDC_STABILIZE, OnStabilize)
ON_BN_CLICKED(IDC_DELETEPLANET, OnDeletePlanet)
ON_BN_CLICKED(IDC_FIXED, OnFixed)
ON_CBN_SELCHANGE(IDC_PLANETS, OnSelChangePlanet)
ON_CBN_SELCHANGE(IDC_FORCETYPE, OnSelChangeForceType)
END_MESSAGE_MAP()

INT_PTR CSystemDlg::DoModal()
{
    return CDialog::DoModal();
}

// A system may have no planets (from the file, or after deleting the last
// one): then the planet fields are empty and disabled and take no part in the
// exchange, so that their empty number fields are never refused.
static bool HasPlanet(const CSystemDlg& dlg)
{
    return dlg.m_nCurrentPlanet >= 0 && dlg.m_nCurrentPlanet < dlg.m_Planets.GetSize();
}

static void ShowPlanetFields(CSystemDlg& dlg, bool bShow)
{
    for (int nID : kPlanetFieldIds) {
        HWND hCtl = dlg.GetDlgItem(nID);
        if (!hCtl) continue;
        if (!bShow) {
            if (nID == IDC_FIXED) CheckDlgButton(hCtl, FALSE);
            else if (nID != IDC_STABILIZE && nID != IDC_DELETEPLANET) SetWindowText(hCtl, "");
        }
        EnableWindow(hCtl, bShow);
    }
}

void CSystemDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    bool bPlanet = HasPlanet(*this);
    DDX_Control(pDX, IDC_PLANETS, m_cbPlanets);
    if (bPlanet) {
        DDX_Check(pDX, IDC_FIXED, m_bPlanetFixed);
        DDX_Text(pDX, IDC_MASS, m_dPlanetMass);
        DDX_Text(pDX, IDC_PLANETNAME, m_strPlanetName);
    }
    DDX_Text(pDX, IDC_FORCEPARAMS, m_strForceParams);
    if (pDX->m_bSaveAndValidate) m_strForceParams = QvSingleLine(m_strForceParams);
    DDX_CBIndex(pDX, IDC_FORCETYPE, m_nForceType);
    if (bPlanet) {
        DDX_Text(pDX, IDC_PLANETVX, m_dPlanetVx);
        DDX_Text(pDX, IDC_PLANETVY, m_dPlanetVy);
        DDX_Text(pDX, IDC_PLANETX, m_dPlanetX);
        DDX_Text(pDX, IDC_PLANETY, m_dPlanetY);
    }
    DDX_Text(pDX, IDC_SYSTEMNAME, m_strName);
    // The header line cannot carry a "]": the name is adjusted as it is taken.
    if (pDX->m_bSaveAndValidate) m_strName = QvStorableSystemName(m_strName);

    if (!pDX->m_bSaveAndValidate) ShowPlanetFields(*this, bPlanet);
}

BOOL CSystemDlg::OnInitDialog()
{
    // The working fields still hold whatever the last run of the editor left
    // there; they must not be shown or read back before a planet is loaded.
    m_nCurrentPlanet = -1;
    CDialog::OnInitDialog();

    while (m_cbPlanets.GetCount() > 0) m_cbPlanets.DeleteString(0);
    for (const CPlanet& planet : m_Planets) m_cbPlanets.AddString(planet.m_strName);
    m_cbPlanets.SetCurSel(0);

    LoadCurrentPlanet();
    return TRUE;
}

void CSystemDlg::LoadCurrentPlanet()
{
    UpdateData(TRUE);

    m_nCurrentPlanet = m_cbPlanets.GetCurSel();
    if (HasPlanet(*this)) {
        const CPlanet& planet = m_Planets[m_nCurrentPlanet];
        m_strPlanetName = planet.m_strName;
        m_dPlanetX = planet.m_dX;
        m_dPlanetY = planet.m_dY;
        m_dPlanetVx = planet.m_dVx;
        m_dPlanetVy = planet.m_dVy;
        m_dPlanetMass = planet.m_dMass;
        m_bPlanetFixed = planet.m_bFixed;
    }

    UpdateData(FALSE);
}

void CSystemDlg::StoreCurrentPlanet()
{
    UpdateData(TRUE);
    if (!HasPlanet(*this)) return;

    // A name the file could not give back is adjusted before it is stored.
    m_strPlanetName = QvStorablePlanetName(m_strPlanetName, m_nCurrentPlanet + 1);

    CPlanet& planet = m_Planets[m_nCurrentPlanet];
    planet.m_strName = m_strPlanetName;
    planet.m_dX = m_dPlanetX;
    planet.m_dY = m_dPlanetY;
    planet.m_dVx = m_dPlanetVx;
    planet.m_dVy = m_dPlanetVy;
    planet.m_dMass = m_dPlanetMass;
    planet.m_nSpriteX = SpriteOffsetForMass(m_dPlanetMass);
    planet.m_bFixed = m_bPlanetFixed;

    m_cbPlanets.DeleteString(static_cast<UINT>(m_nCurrentPlanet));
    m_cbPlanets.InsertString(m_nCurrentPlanet, m_strPlanetName);
}

void CSystemDlg::OnSelChangePlanet()
{
    int nNew = m_cbPlanets.GetCurSel();
    StoreCurrentPlanet();
    m_cbPlanets.SetCurSel(nNew);
    LoadCurrentPlanet();
}

void CSystemDlg::OnAddPlanet()
{
    StoreCurrentPlanet();

    CPlanet planet;
    planet.m_strName = "Nuovo pianeta";
    m_Planets.Add(planet);

    m_cbPlanets.AddString("Nuovo pianeta");
    m_cbPlanets.SetCurSel(m_cbPlanets.GetCount() - 1);

    LoadCurrentPlanet();
}

void CSystemDlg::OnDeletePlanet()
{
    if (!HasPlanet(*this)) return;

    if (AfxMessageBox("Eliminare il pianeta selezionato?", MB_YESNO | MB_ICONQUESTION, 0) != IDYES) return;

    // The working fields are not stored: edits of the deleted planet go with it.
    m_cbPlanets.DeleteString(static_cast<UINT>(m_nCurrentPlanet));
    m_Planets.RemoveAt(m_nCurrentPlanet);

    int n = m_cbPlanets.GetCount();
    m_cbPlanets.SetCurSel(m_nCurrentPlanet < n ? m_nCurrentPlanet : m_nCurrentPlanet - 1);

    LoadCurrentPlanet();
}

void CSystemDlg::OnStabilize()
{
    UpdateData(TRUE);
    if (!HasPlanet(*this)) return;

    double dSx = 0.0;
    double dSy = 0.0;
    for (int j = 0; j < m_Planets.GetSize(); j++) {
        if (j == m_nCurrentPlanet) continue;
        dSx = dSx + m_Planets[j].m_dVx * m_Planets[j].m_dMass;
        dSy = dSy + m_Planets[j].m_dVy * m_Planets[j].m_dMass;
    }
    // Without a mass there is no velocity that balances the others.
    if (m_dPlanetMass != 0.0) {
        m_dPlanetVx = -(dSx / m_dPlanetMass);
        m_dPlanetVy = -(dSy / m_dPlanetMass);
    }

    UpdateData(FALSE);
}

void CSystemDlg::OnFixed()
{
    UpdateData(TRUE);
    if (!HasPlanet(*this)) return;

    if (m_bPlanetFixed) {
        m_dPlanetVx = 0.0;
        m_dPlanetVy = 0.0;
        UpdateData(FALSE);
    }
}

void CSystemDlg::OnSelChangeForceType()
{
    UpdateData(TRUE);

    if (m_nForceType == 3) {
        AfxMessageBox("Funzione non ancora realizzata");
        m_nForceType = 0;
        UpdateData(FALSE);
    }
}

void CSystemDlg::OnOK()
{
    StoreCurrentPlanet();
    CDialog::OnOK();
}
