#include "library/programdirectory.h"
#include "library/programversion.h"
#include "text/texts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct VersionCase {
    const char* name;
    std::string line;
    int version;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProgramVersionLine : public testing::TestWithParam<VersionCase> { };

TEST_P(ProgramVersionLine, DecodesTheFirstLine)
{
    EXPECT_EQ(programversion::fromFirstLine(GetParam().line), GetParam().version);
}

// p = hex(line[0]) picks the high digit; the low digit is hex(buffer[15]) = hex(0) = 0, so it
// is always the first byte again.
INSTANTIATE_TEST_SUITE_P(Cases, ProgramVersionLine,
    testing::Values(VersionCase { "oneEPlusThirteen", "1E0123456789abc", 14 * 256 + 1 },
        VersionCase { "lowerCaseHex", "1f", 15 * 256 + 1 },
        VersionCase { "pointsAtItself", "2x3", 3 * 256 + 2 },
        VersionCase { "pIsFourteen", "E0123456789abc7", 7 * 256 + 14 },
        // The 16th byte of a long line is never read: buffer[15] stays 0, so p = 15 finds 0.
        VersionCase { "sixteenthByteIgnored", "F0123456789abcdE", 30 },
        // p = 5 points past the line break, into the zero fill.
        VersionCase { "pastTheLineBreak", "5A\n99999", 30 },
        VersionCase { "belowMinimum", "00", 30 }, VersionCase { "zeroDigitIsMinimum", "0", 30 },
        VersionCase { "notHex", "zz", 30 }, VersionCase { "empty", "", 30 }));

class ProgramVersionFile : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path()
            / ("pavione-version-"
                + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string directory() const { return programDirectoryFromUser(m_dir.string()); }
    void write(const std::string& contents)
    {
        std::ofstream(m_dir / "pavionev.dll", std::ios::binary) << contents;
    }

    std::filesystem::path m_dir;
};

TEST_F(ProgramVersionFile, MissingFileGivesThirty)
{
    EXPECT_EQ(programversion::read(directory()), 30);
}

TEST_F(ProgramVersionFile, ReadsOnlyTheFirstLine)
{
    write("1E0123456789abc\n0000\n");
    EXPECT_EQ(programversion::read(directory()), 14 * 256 + 1);
    write("2\n9\n");
    EXPECT_EQ(programversion::read(directory()), 30);
}

TEST_F(ProgramVersionFile, EmptyFileGivesThirty)
{
    write("");
    EXPECT_EQ(programversion::read(directory()), 30);
}

TEST_F(ProgramVersionFile, ShortLineWithoutBreak)
{
    write("1A");
    EXPECT_EQ(programversion::read(directory()), 10 * 256 + 1);
}

TEST(ProgramVersionText, TitleAndAboutShowZeroPointThirty)
{
    EXPECT_EQ(programTitleText(), "Pavione ver.0.30");
    EXPECT_EQ(programTitleText(), texts::programTitle.bytes());
    EXPECT_EQ(aboutVersionText(), "Version 0.30");
}

TEST(ProgramDirectory, KeepsEverythingUpToTheLastSlash)
{
    EXPECT_EQ(programDirectoryOf("/usr/local/bin/pavione"), "/usr/local/bin/");
    EXPECT_EQ(programDirectoryOf("/pavione"), "/");
    EXPECT_EQ(programDirectoryOf("pavione"), "");
    EXPECT_EQ(programDirectoryOf("/opt/a:b/pavione"), "/opt/a:b/");
    EXPECT_EQ(programDirectoryFromUser("/tmp/pd"), "/tmp/pd/");
    EXPECT_EQ(programDirectoryFromUser("/tmp/pd/"), "/tmp/pd/");
    EXPECT_EQ(programDirectoryFromUser(""), "");
}

} // namespace
