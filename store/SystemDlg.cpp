// The record side of CSystemDlg: construction, copy and the file block.
#include "store/SystemDlg.h"

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "store/LineScan.h"

CSystemDlg::CSystemDlg(CWnd* pParent) : CDialog(IDD_SYSTEM, pParent) {}

CSystemDlg::~CSystemDlg() = default;

CSystemDlg& CSystemDlg::operator=(const CSystemDlg& src)
{
    if (this == &src) return *this;
    m_strName = src.m_strName;
    m_strForceParams = src.m_strForceParams;
    m_Planets.RemoveAll();
    for (const CPlanet& p : src.m_Planets) m_Planets.Add(p);
    m_nForceType = src.m_nForceType;
    return *this;
}

namespace {
bool IsHeader(const CString& line)
{
    return !line.IsEmpty() && line[0] == '[';
}

// A planet list ends at an empty line, a line that starts with a blank or a
// control character, or a header.
bool EndsPlanetList(const CString& line)
{
    return line.IsEmpty() || static_cast<unsigned char>(line[0]) <= 32 || line[0] == '[';
}
}  // namespace

BOOL CSystemDlg::ReadFromFile(CStdioFile& file)
{
    CPlanet scratch;  // reused: fields a short data line leaves out keep the previous planet's values
    m_Planets.RemoveAll();

    CString line;
    while (file.ReadString(line) && !IsHeader(line)) {
    }
    if (!IsHeader(line)) return FALSE;

    // The name runs to the first "]" (bytes, NULs included), or to the end of the line.
    const std::string& header = line.str();
    size_t close = header.find(']', 1);
    m_strName = CString(header.substr(1, close == std::string::npos ? std::string::npos : close - 1));

    file.ReadString(line);
    m_nForceType = QvScanForceType(line);

    if (m_nForceType > 0) {
        file.ReadString(line);
        m_strForceParams = line;
    } else {
        m_strForceParams.Empty();
    }

    while (file.ReadString(line) && !EndsPlanetList(line)) {
        scratch.m_strName = line;
        file.ReadString(line);
        QvScanPlanetData(line, scratch);
        scratch.m_nSpriteX = SpriteOffsetForMass(scratch.m_dMass);
        scratch.m_dFx = 0.0;
        scratch.m_dFy = 0.0;
        m_Planets.Add(scratch);
    }
    // A header right after a planet belongs to the next system: keep it for the next read.
    if (IsHeader(line)) file.UnreadString(line);
    return TRUE;
}

void CSystemDlg::WriteToFile(CStdioFile& file) const
{
    // Names and parameter text are written with their length, so that every
    // byte (a NUL included) reaches the file.
    std::string block;
    // Written in pieces, so that a huge system needs no second copy in memory.
    auto flush = [&file, &block]() {
        for (size_t done = 0; done < block.size();) {
            size_t n = std::min<size_t>(block.size() - done, size_t(1) << 30);
            file.Write(block.data() + done, static_cast<UINT>(n));
            done += n;
        }
        block.clear();
    };
    block += '[';
    block += m_strName.str();
    block += "]\n";
    CString text;
    text.Format("%d\n", m_nForceType);
    block += text.str();
    if (m_nForceType > 0) {
        block += m_strForceParams.str();
        block += '\n';
    }
    for (const CPlanet& p : m_Planets) {
        block += p.m_strName.str();
        text.Format("\n\t%f\t%f\t%f\t%f\t%f\t%d\n", p.m_dX, p.m_dY, p.m_dVx, p.m_dVy, p.m_dMass, p.m_bFixed);
        block += text.str();
        if (block.size() >= 65536) flush();
    }
    block += '\n';
    flush();
}
