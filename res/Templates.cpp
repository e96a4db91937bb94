// The dialog templates of the program, as data.
#include "platform/DialogTemplate.h"
#include "res/resource.h"

namespace {
constexpr const char* kFont = "MS Sans Serif";

// Main window.
const DlgItemTemplate kMainItems[] = {
    {IDOK, DlgItemKind::Button, "Avvia la simulazione!", BS_DEFPUSHBUTTON | WS_TABSTOP, 105, 162, 108, 49, nullptr},
    {IDCANCEL, DlgItemKind::Button, "(Fine del programma)", BS_PUSHBUTTON | WS_TABSTOP, 233, 197, 80, 14, nullptr},
    {IDC_SYSTEMS, DlgItemKind::ComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 63, 121, 250, 96, nullptr},
    {-1, DlgItemKind::Static, "Tipo di sistema:", SS_LEFT | WS_GROUP, 7, 123, 50, 8, nullptr},
    {IDC_HELPTEXT, DlgItemKind::Edit, nullptr,
     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_WANTRETURN | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 7, 7, 306, 105,
     nullptr},
    {IDC_ADDSYSTEM, DlgItemKind::Button, "Aggiungi...", BS_PUSHBUTTON | WS_TABSTOP, 63, 137, 50, 14, nullptr},
    {IDC_DELETESYSTEM, DlgItemKind::Button, "Elimina", BS_PUSHBUTTON | WS_TABSTOP, 187, 137, 50, 14, nullptr},
    {IDC_MODIFYSYSTEM, DlgItemKind::Button, "Modifica...", BS_PUSHBUTTON | WS_TABSTOP, 125, 137, 50, 14, nullptr},
};

// System editor.
const char* const kForceLaws[] = {
    "Quadratica (1/r^2, nessun parametro)",
    "Esponente generale (1/r^n, 1 parametro)",
    "Esponenziale (e^kr, 1 parametro)",
    "Polinomiale (a_nr^n+...+a_1r+a_0, n+2 parametri)",
    nullptr,
};

constexpr UINT kEdit = ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr UINT kLabel = SS_LEFT | WS_GROUP;

const DlgItemTemplate kSystemItems[] = {
    {IDOK, DlgItemKind::Button, "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 118, 250, 50, 14, nullptr},
    {-1, DlgItemKind::Button, "Forze agenti", BS_GROUPBOX, 7, 26, 273, 90, nullptr},
    {-1, DlgItemKind::Button, "Pianeti", BS_GROUPBOX, 7, 121, 273, 126, nullptr},
    {IDC_PLANETS, DlgItemKind::ComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 15, 138, 164, 68, nullptr},
    {IDC_ADDPLANET, DlgItemKind::Button, "Aggiungi...", BS_PUSHBUTTON | WS_TABSTOP, 189, 137, 41, 14, nullptr},
    {IDC_DELETEPLANET, DlgItemKind::Button, "Elimina", BS_PUSHBUTTON | WS_TABSTOP, 234, 137, 38, 14, nullptr},
    {-1, DlgItemKind::Static, "Nome:", kLabel, 16, 159, 22, 8, nullptr},
    {IDC_PLANETNAME, DlgItemKind::Edit, nullptr, kEdit, 41, 156, 230, 14, nullptr},
    {-1, DlgItemKind::Static, "Posizione iniziale:", kLabel, 16, 182, 56, 8, nullptr},
    {IDC_PLANETX, DlgItemKind::Edit, nullptr, kEdit, 77, 179, 40, 14, nullptr},
    {IDC_PLANETY, DlgItemKind::Edit, nullptr, kEdit, 127, 179, 40, 14, nullptr},
    {-1, DlgItemKind::Static, "Velocità iniziale:", kLabel, 16, 202, 51, 8, nullptr},
    {IDC_PLANETVX, DlgItemKind::Edit, nullptr, kEdit, 78, 200, 40, 14, nullptr},
    {IDC_PLANETVY, DlgItemKind::Edit, nullptr, kEdit, 128, 200, 40, 14, nullptr},
    {IDC_FIXED, DlgItemKind::Button, "Fisso", BS_AUTOCHECKBOX | WS_TABSTOP, 177, 202, 32, 10, nullptr},
    {IDC_STABILIZE, DlgItemKind::Button, "Stabilizza il baricentro", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 217, 195, 50,
     21, nullptr},
    {-1, DlgItemKind::Static, "Massa:", kLabel, 45, 224, 24, 8, nullptr},
    {IDC_MASS, DlgItemKind::Edit, nullptr, kEdit, 77, 222, 40, 14, nullptr},
    {-1, DlgItemKind::Static, "Tipo di forza:", kLabel, 17, 44, 42, 8, nullptr},
    {IDC_FORCETYPE, DlgItemKind::ComboBox, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 67, 41, 199, 88, kForceLaws},
    {-1, DlgItemKind::Static, "Parametri:", kLabel, 18, 62, 32, 8, nullptr},
    {IDC_FORCEPARAMS, DlgItemKind::Edit, nullptr, kEdit, 67, 59, 198, 14, nullptr},
    {-1, DlgItemKind::Static,
     "Inserire il parametro se richiesto dal tipo di forza selezionato; nel caso di forza polinomiale, inserire il "
     "grado del polinomio e i coefficienti dal grado più elevato, separati da virgole.",
     kLabel, 20, 79, 248, 26, nullptr},
    {-1, DlgItemKind::Static, "Nome della configurazione:", kLabel, 7, 13, 86, 8, nullptr},
    {IDC_SYSTEMNAME, DlgItemKind::Edit, nullptr, kEdit, 95, 11, 185, 14, nullptr},
};

const DlgTemplate kTemplates[] = {
    {IDD_QUORVANE_DIALOG, "Quorvane", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
     WS_EX_APPWINDOW, 320, 218, kFont, 8, kMainItems, static_cast<int>(sizeof kMainItems / sizeof kMainItems[0])},
    {IDD_SYSTEM, "Caratteristiche del sistema", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 287,
     271, kFont, 8, kSystemItems, static_cast<int>(sizeof kSystemItems / sizeof kSystemItems[0])},
    // The simulation window: no caption, no border, no controls; the display takes the screen.
    {IDD_SIMULATION, "", WS_POPUP | DS_SETFONT, 0, 186, 95, kFont, 8, nullptr, 0},
};
}  // namespace

const DlgTemplate* QvFindDialogTemplate(UINT id)
{
    for (const DlgTemplate& t : kTemplates)
        if (t.id == id) return &t;
    return nullptr;
}
