// Text files, numbers under a foreign locale, and how bytes become screen text.
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "platform/CStdioFile.h"
#include "platform/CString.h"
#include "platform/Locale.h"
#include "platform/Text.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kPath = std::string(::testing::TempDir()) + "qv_platform_" + std::to_string(::getpid()) + ".txt";

void WriteBytes(const std::string& bytes)
{
    std::FILE* f = std::fopen(kPath.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

Lines ReadAll()
{
    Lines lines;
    CStdioFile file(kPath.c_str(), CStdioFile::modeRead);
    EXPECT_TRUE(file.IsOpen());
    CString line;
    while (file.ReadString(line)) lines.push_back(line.str());
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_EQ(file.GetError(), 0);
    return lines;
}

TEST(StdioFile, LineEndsLongLinesNulBytesAndErrors)
{
    std::string longLine(3 * 1000 * 1000, 'x');
    longLine[1234567] = 'y';
    const std::string nul("\0", 1);
    // Only the CR before LF belongs to the line end; a lone CR is part of the line.
    const std::pair<std::string, Lines> cases[] = {
        {"uno\r\ndue\nvuota segue\n\r\ntre", {"uno", "due", "vuota segue", "", "tre"}}, {"a\rb\r\r\n", {"a\rb\r"}},
        {longLine + "\r\nfine\n", {longLine, "fine"}}, {"a" + nul + "b\n" + nul, {"a" + nul + "b", nul}}, {"", {}}};
    for (const auto& [bytes, lines] : cases) {
        WriteBytes(bytes);
        EXPECT_EQ(ReadAll(), lines) << bytes.substr(0, 20);
    }

    // A line kept back is read again first.
    WriteBytes("x\ny\n");
    CStdioFile file(kPath.c_str(), CStdioFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    file.UnreadString(line);
    for (const char* expected : {"x", "y"}) {
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, expected);
    }
    EXPECT_FALSE(file.ReadString(line));

    // Written bytes read back, NUL included.
    {
        CStdioFile out(kPath.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite);
        out.WriteString("riga\n");
        out.Write("\0z", 2);
        EXPECT_TRUE(out.Flush(true));
        EXPECT_TRUE(out.Close());
    }
    EXPECT_EQ(ReadAll(), (Lines{"riga", std::string("\0z", 2)}));
    std::remove(kPath.c_str());

    CStdioFile missing((kPath + "/nothing.ini").c_str(), CStdioFile::modeRead);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.GetError(), ENOENT);
    EXPECT_FALSE(missing.ReadString(line));

    // A write error, even one held in the buffer, is reported by Close.
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
    bool italian = std::setlocale(LC_ALL, "it_IT.UTF-8") || std::setlocale(LC_ALL, "it_IT.utf8") ||
                   std::setlocale(LC_ALL, "it_IT");
    if (!italian) GTEST_SKIP() << "Italian locale not installed (tools/install-deps.sh)";
    auto printed = [] { return std::to_string(1.5).substr(0, 4); };  // printf's "%f"
    EXPECT_EQ(printed(), "1,50") << "the Italian locale is in effect";

    CString s;
    s.Format("%f|%d|%.*g|%s", 300.0, -7, 15, 0.1, "x");
    EXPECT_EQ(s, "300.000000|-7|0.1|x");
    EXPECT_EQ(QvAtof("2.75"), 2.75);
    EXPECT_EQ(QvAtof("1e3 resto"), 1000.0);
    {
        CCLocaleScope scope;
        EXPECT_EQ(printed(), "1.50");
    }
    EXPECT_EQ(printed(), "1,50") << "the scope gives the locale back";
    std::setlocale(LC_ALL, previous.c_str());
    QvFixNumericLocale();
}

TEST(Text, DisplayAndStoredBytes)
{
    // Valid UTF-8 shows as UTF-8, anything else as Windows-1252.
    const std::pair<const char*, QString> shown[] = {
        {"caf\xc3\xa8", QStringLiteral("caf\u00e8")}, {"caf\xe8", QStringLiteral("caf\u00e8")}, {"", QString()},
        {"\x80 \x9c \x81", QStringLiteral("\u20ac \u0153 \ufffd")}, {"\xc3", QStringLiteral("\u00c3")}};
    for (const auto& [bytes, text] : shown) EXPECT_EQ(QvDisplayText(bytes), text) << bytes;

    // Typed text: Windows-1252 when every character fits, else UTF-8; also when the
    // Windows-1252 bytes would read back as other UTF-8 text.
    const std::pair<QString, const char*> stored[] = {
        {QStringLiteral("Luna"), "Luna"}, {QStringLiteral("Citt\u00e0 \u20ac"), "Citt\xe0 \x80"},
        {QStringLiteral("\u03b1 Centauri"), "\xce\xb1 Centauri"}, {QStringLiteral("\u00c3\u00a9"), "\xc3\x83\xc2\xa9"}};
    for (const auto& [text, bytes] : stored) {
        EXPECT_EQ(QvStoredText(text), bytes) << bytes;
        EXPECT_EQ(QvDisplayText(bytes), text) << bytes;
    }

    // Untouched text keeps its bytes, whichever encoding they were in.
    for (CString old : {"caf\xc3\xa8", "caf\xe8", "x\x81y"}) EXPECT_EQ(QvStoredText(QvDisplayText(old), &old), old);
    CString utf8 = "caf\xc3\xa8";
    EXPECT_EQ(QvStoredText(QStringLiteral("caf\u00e8!"), &utf8), "caf\xe8!");
}

}  // namespace
