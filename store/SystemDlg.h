// One system: the record that the file stores (name, force law, parameter text,
// planets) and, at the same time, the editor dialog with the working fields of
// the planet it shows. The record side lives in store/, the dialog side in editor/.
#pragma once

#include "platform/CArray.h"
#include "platform/CStdioFile.h"
#include "platform/Dialog.h"
#include "store/Planet.h"

class CSystemDlg : public CDialog {
public:
    explicit CSystemDlg(CWnd* pParent = nullptr);
    ~CSystemDlg() override;

    // Copies the persisted part only: name, parameter text, planets, force type.
    CSystemDlg& operator=(const CSystemDlg& src);

    // store/: one block of the configuration file.
    BOOL ReadFromFile(CStdioFile& file);
    void WriteToFile(CStdioFile& file) const;

    // editor/
    INT_PTR DoModal() override;
    void LoadCurrentPlanet();
    void StoreCurrentPlanet();
    void OnSelChangePlanet();
    void OnAddPlanet();
    void OnDeletePlanet();
    void OnStabilize();
    void OnFixed();
    void OnSelChangeForceType();
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int m_nCurrentPlanet = 0;      // working: the planet shown
    CArray<CPlanet> m_Planets;     // persisted
    CComboBox m_cbPlanets;         // working: control 1003
    int m_bPlanetFixed = 0;        // working
    double m_dPlanetMass = 0.0;    // working
    CString m_strPlanetName;       // working
    CString m_strForceParams;      // persisted
    int m_nForceType = 0;          // persisted
    double m_dPlanetVx = 0.0;      // working
    double m_dPlanetVy = 0.0;      // working
    double m_dPlanetX = 0.0;       // working
    double m_dPlanetY = 0.0;       // working
    CString m_strName;             // persisted

    DECLARE_MESSAGE_MAP()
};
