#include "platform/CStdioFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

CStdioFile::CStdioFile(const char* pszFileName, UINT nOpenFlags)
{
    Open(pszFileName, nOpenFlags);
}

CStdioFile::~CStdioFile()
{
    Close();
}

BOOL CStdioFile::Open(const char* pszFileName, UINT nOpenFlags)
{
    Close();
    m_nError = 0;
    m_bPending = false;
    // Binary streams: line ends are handled here, the same on every platform.
    const char* mode = (nOpenFlags & modeWrite) ? ((nOpenFlags & modeCreate) ? "wb" : "r+b") : "rb";
    m_pFile = std::fopen(pszFileName, mode);
    if (!m_pFile) {
        m_nError = errno ? errno : EIO;
        return FALSE;
    }
    return TRUE;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    if (m_bPending) {
        m_bPending = false;
        rString = m_pending;
        m_pending.Empty();
        return TRUE;
    }
    std::string& line = rString.str();
    line.clear();
    if (!m_pFile) return FALSE;
    // getline: lines of any length, NUL bytes included.
    char* buf = nullptr;
    size_t cap = 0;
    errno = 0;
    ssize_t n = ::getline(&buf, &cap, m_pFile);
    if (n < 0) {
        // A read error ends the reading like the end of the file.
        if (std::ferror(m_pFile) && !m_nError) m_nError = errno ? errno : EIO;
        std::free(buf);
        return FALSE;
    }
    size_t len = static_cast<size_t>(n);
    if (len > 0 && buf[len - 1] == '\n') --len;
    if (len > 0 && buf[len - 1] == '\r') --len;
    line.assign(buf, len);
    std::free(buf);
    return TRUE;
}

void CStdioFile::WriteString(const char* psz)
{
    Write(psz, static_cast<UINT>(std::strlen(psz)));
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (!m_pFile || m_nError) return;
    if (nCount && std::fwrite(lpBuf, 1, nCount, m_pFile) != nCount) m_nError = errno ? errno : EIO;
}

BOOL CStdioFile::Flush(bool bSync)
{
    if (!m_pFile) return FALSE;
    if (std::fflush(m_pFile) != 0 && !m_nError) m_nError = errno ? errno : EIO;
    if (bSync && !m_nError && ::fsync(fileno(m_pFile)) != 0) m_nError = errno ? errno : EIO;
    return m_nError == 0;
}

BOOL CStdioFile::Close()
{
    if (!m_pFile) return m_nError == 0;
    if (std::fclose(m_pFile) != 0 && !m_nError) m_nError = errno ? errno : EIO;
    m_pFile = nullptr;
    return m_nError == 0;
}

CString QvFileErrorText(int nErrno)
{
    switch (nErrno) {
    case ENOENT: return "file o cartella inesistente";
    case EACCES:
    case EPERM: return "accesso negato";
    case EROFS: return "il disco è in sola lettura";
    case ENOSPC: return "spazio su disco esaurito";
    case EDQUOT: return "quota del disco superata";
    case EISDIR: return "il nome indica una cartella";
    case EIO: return "errore di lettura o scrittura sul disco";
    case EFBIG: return "file troppo grande";
    default: {
        CString s;
        s.Format("errore di sistema %d (%s)", nErrno, std::strerror(nErrno));
        return s;
    }
    }
}
