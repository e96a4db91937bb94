// Text files, numbers under a foreign locale, and how bytes become screen text.
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/CStdioFile.h"
#include "platform/CString.h"
#include "platform/Locale.h"
#include "platform/Text.h"

namespace {

std::string TempPath(const char* name)
{
    return std::string(::testing::TempDir()) + "qv_platform_" + std::to_string(::getpid()) + "_" + name;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<std::string> ReadAll(const std::string& path)
{
    std::vector<std::string> lines;
    CStdioFile file(path.c_str(), CStdioFile::modeRead);
    EXPECT_TRUE(file.IsOpen());
    CString line;
    while (file.ReadString(line)) lines.push_back(line.str());
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_EQ(file.GetError(), 0);
    return lines;
}

TEST(StdioFile, LineEndsLongLinesAndNulBytes)
{
    std::string path = TempPath("lines.txt");
    WriteBytes(path, "uno\r\ndue\nvuota segue\n\r\ntre");
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"uno", "due", "vuota segue", "", "tre"}));

    // A lone CR inside a line is part of it; only the CR before LF belongs to the line end.
    WriteBytes(path, "a\rb\r\r\n");
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"a\rb\r"}));

    std::string longLine(3 * 1000 * 1000, 'x');
    longLine[1234567] = 'y';
    WriteBytes(path, longLine + "\r\nfine\n");
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{longLine, "fine"}));

    std::string withNul("a\0b", 3);
    WriteBytes(path, withNul + "\n" + std::string("\0", 1));
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{withNul, std::string("\0", 1)}));

    WriteBytes(path, "");
    EXPECT_TRUE(ReadAll(path).empty());

    // A line kept back is read again first.
    WriteBytes(path, "x\ny\n");
    CStdioFile file(path.c_str(), CStdioFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    file.UnreadString(line);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "x");
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, "y");
    EXPECT_FALSE(file.ReadString(line));
    std::remove(path.c_str());

    CStdioFile missing((TempPath("none") + "/nothing.ini").c_str(), CStdioFile::modeRead);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetError(), ENOENT);
    EXPECT_FALSE(missing.ReadString(line));
}

TEST(StdioFile, WriteErrorsAreReported)
{
    std::string path = TempPath("out.txt");
    {
        CStdioFile out(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite);
        ASSERT_TRUE(out.IsOpen());
        out.WriteString("riga\n");
        out.Write("\0z", 2);
        EXPECT_TRUE(out.Flush(true));
        EXPECT_TRUE(out.Close());
    }
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"riga", std::string("\0z", 2)}));
    std::remove(path.c_str());

    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "/dev/full not available";
    CStdioFile full("/dev/full", CStdioFile::modeCreate | CStdioFile::modeWrite);
    ASSERT_TRUE(full.IsOpen());
    full.WriteString(std::string(100000, 'x').c_str());
    full.WriteString("fine\n");
    EXPECT_FALSE(full.Close());
    EXPECT_EQ(full.GetError(), ENOSPC);
    EXPECT_EQ(QvFileErrorText(ENOSPC), "spazio su disco esaurito");
}

TEST(Locale, NumbersStayCUnderItalianLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char* italian = nullptr;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "it_IT"})
        if (std::setlocale(LC_ALL, name)) {
            italian = name;
            break;
        }
    if (!italian) {
        // Not installed: build it into a private folder when the system can.
        // Kept between runs: building it takes a while.
        std::string dir = std::string(::testing::TempDir()) + "qv_platform_locales";
        std::string cmd = "test -f '" + dir + "/it_IT.UTF-8/LC_NUMERIC' || { mkdir -p '" + dir +
                          "' && localedef -i it_IT -f UTF-8 '" + dir + "/it_IT.UTF-8' >/dev/null 2>&1; }";
        if (std::system(cmd.c_str()) == 0) {
            setenv("LOCPATH", dir.c_str(), 1);
            if (std::setlocale(LC_ALL, "it_IT.UTF-8")) italian = "it_IT.UTF-8";
            unsetenv("LOCPATH");
        }
    }
    if (!italian) GTEST_SKIP() << "Italian locale not available";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", 1.5);
    EXPECT_STREQ(buf, "1,50") << "the Italian locale is in effect";

    CString s;
    s.Format("%f|%d|%.*g|%s", 300.0, -7, 15, 0.1, "x");
    EXPECT_EQ(s, "300.000000|-7|0.1|x");
    EXPECT_EQ(QvAtof("2.75"), 2.75);
    EXPECT_EQ(QvAtof("1e3 resto"), 1000.0);
    EXPECT_EQ(QvAtoi("42,5"), 42);
    {
        CCLocaleScope scope;
        std::snprintf(buf, sizeof buf, "%.2f", 1.5);
        EXPECT_STREQ(buf, "1.50");
    }
    std::snprintf(buf, sizeof buf, "%.2f", 1.5);
    EXPECT_STREQ(buf, "1,50") << "the scope gives the locale back";
    std::setlocale(LC_ALL, previous.c_str());
    QvFixNumericLocale();
}

TEST(Text, DisplayAndStoredBytes)
{
    // Valid UTF-8 shows as UTF-8, anything else as Windows-1252.
    EXPECT_EQ(QvDisplayText("caf\xc3\xa8"), QStringLiteral("caf\u00e8"));
    EXPECT_EQ(QvDisplayText("caf\xe8"), QStringLiteral("caf\u00e8"));
    EXPECT_EQ(QvDisplayText("\x80 \x9c \x81"), QStringLiteral("\u20ac \u0153 \ufffd"));
    EXPECT_EQ(QvDisplayText("\xc3"), QStringLiteral("\u00c3"));  // truncated sequence
    EXPECT_EQ(QvDisplayText(""), QString());

    // Typed text: Windows-1252 when every character fits, else UTF-8.
    EXPECT_EQ(QvStoredText(QStringLiteral("Luna")), "Luna");
    EXPECT_EQ(QvStoredText(QStringLiteral("Citt\u00e0 \u20ac")), "Citt\xe0 \x80");
    EXPECT_EQ(QvStoredText(QStringLiteral("\u03b1 Centauri")), "\xce\xb1 Centauri");
    // Windows-1252 bytes that would read back as other UTF-8 text are stored as UTF-8.
    EXPECT_EQ(QvStoredText(QStringLiteral("\u00c3\u00a9")), "\xc3\x83\xc2\xa9");
    EXPECT_EQ(QvDisplayText(QvStoredText(QStringLiteral("\u00c3\u00a9"))), QStringLiteral("\u00c3\u00a9"));

    // Untouched text keeps its bytes, whichever encoding they were in.
    CString utf8 = "caf\xc3\xa8";
    CString cp1252 = "caf\xe8";
    EXPECT_EQ(QvStoredText(QStringLiteral("caf\u00e8"), &utf8), utf8);
    EXPECT_EQ(QvStoredText(QStringLiteral("caf\u00e8"), &cp1252), cp1252);
    CString odd = "x\x81y";
    EXPECT_EQ(QvStoredText(QvDisplayText(odd), &odd), odd);
    EXPECT_EQ(QvStoredText(QStringLiteral("caf\u00e8!"), &utf8), "caf\xe8!");
}

}  // namespace
