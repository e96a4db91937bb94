#include "display/Screen.h"

#include "platform/Window.h"

CScreen::CScreen() = default;

CScreen::~CScreen()
{
    SetNormalCooperativeLevel();
    if (m_pPrimary) m_pPrimary->Detach();
}

BOOL CScreen::SetCooperativeLevel(HWND hWnd)
{
    if (!hWnd) return TRUE;
    if (!QvTakeScreen(hWnd)) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

void CScreen::SetNormalCooperativeLevel()
{
    if (m_hWnd) QvReleaseScreen(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CScreen::SetDisplayMode(int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0) return FALSE;
    if (m_hWnd && !QvScreenHasArea(m_hWnd)) return FALSE;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return TRUE;
}

std::unique_ptr<CSurface> CScreen::CreatePrimarySurface()
{
    if (m_nWidth <= 0 || m_nHeight <= 0) return nullptr;
    auto primary = std::make_unique<CSurface>(m_nWidth, m_nHeight);
    if (primary->IsNull()) return nullptr;
    primary->AttachBackBuffer(this);
    m_pPrimary = primary.get();
    return primary;
}

CSurface* CScreen::CreateSurface(int nWidth, int nHeight)
{
    auto surface = std::make_unique<CSurface>(nWidth, nHeight);
    if (surface->IsNull()) return nullptr;
    m_surfaces.push_back(std::move(surface));
    return m_surfaces.back().get();
}

void CScreen::Present()
{
    if (m_hWnd && m_pPrimary) QvShowFrame(m_hWnd, m_pPrimary->Bits(), m_pPrimary->Width(), m_pPrimary->Height());
}

void CScreen::PrimaryGone(CSurface* pPrimary)
{
    if (m_pPrimary == pPrimary) m_pPrimary = nullptr;
    if (m_hWnd) QvShowFrame(m_hWnd, nullptr, 0, 0);
}
