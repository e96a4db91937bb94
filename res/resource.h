// Resource and control ids.
#pragma once

// Dialog templates
#define IDD_QUORVANE_DIALOG 102
#define IDD_SIMULATION 129
#define IDD_SYSTEM 133

// Icon and bitmaps
#define IDR_MAINFRAME 128
#define IDB_SPRITES 131

// Main window (template 102)
#define IDC_SYSTEMS 1000
#define IDC_HELPTEXT 1001
#define IDC_ADDSYSTEM 1002
#define IDC_DELETESYSTEM 1004
#define IDC_MODIFYSYSTEM 1019

// System editor (template 133)
#define IDC_FORCETYPE 1000
#define IDC_ADDPLANET 1002
#define IDC_PLANETS 1003
#define IDC_DELETEPLANET 1004
#define IDC_PLANETNAME 1005
#define IDC_PLANETX 1007
#define IDC_PLANETY 1008
#define IDC_PLANETVX 1009
#define IDC_PLANETVY 1010
#define IDC_FIXED 1011
#define IDC_STABILIZE 1012
#define IDC_MASS 1013
#define IDC_FORCEPARAMS 1016
#define IDC_SYSTEMNAME 1017
