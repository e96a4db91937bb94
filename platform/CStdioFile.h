// Text file of lines. Reading accepts LF or CR LF, never part of the line, and
// lines of any length. Writing writes the text unchanged ("\n" stays LF).
// Errors never throw: a read error ends the reading like end of file, and a
// write error is remembered (GetError) so that the caller can report it.
#pragma once

#include <cstdio>

#include "platform/Afx.h"
#include "platform/CString.h"

class CStdioFile {
public:
    enum : UINT { modeRead = 0x0000, modeWrite = 0x0001, modeCreate = 0x1000 };

    CStdioFile() = default;
    // Opens at once, like the framework's constructor; check IsOpen().
    CStdioFile(const char* pszFileName, UINT nOpenFlags);
    ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    BOOL Open(const char* pszFileName, UINT nOpenFlags);
    bool IsOpen() const { return m_pFile != nullptr; }

    // The next line without its line end; FALSE (and an empty string) at end of file or on error.
    BOOL ReadString(CString& rString);
    // Keeps a line already read for the next ReadString (one line at most).
    void UnreadString(const CString& line) { m_pending = line; m_bPending = true; }
    void WriteString(const char* psz);
    void Write(const void* lpBuf, UINT nCount);

    // Flushes the stream and the file's data to the disk; FALSE on failure.
    BOOL Flush(bool bSync = false);
    // Closes the file; FALSE when a write, flush or close failed.
    BOOL Close();

    // errno of the first failure, 0 if none.
    int GetError() const { return m_nError; }

private:
    std::FILE* m_pFile = nullptr;
    int m_nError = 0;
    CString m_pending;
    bool m_bPending = false;
};

// A short Italian explanation of an errno value, for file-error messages.
CString QvFileErrorText(int nErrno);
