#include "Exception.h"
#include "File.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
std::string TempPath(const char* name) { return testing::TempDir() + name; }

std::vector<unsigned char> Pattern(std::size_t size) {
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7 + i / 256);
    return bytes;
}

void WriteWhole(const std::string& path, const std::vector<unsigned char>& bytes) {
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::CreateTruncate));
    file.Write(bytes.data(), bytes.size());
    file.Close();
}
}  // namespace

TEST(File, ByteAtATimeReadsSeeEveryByteAndExactPositions) {
    const std::string path = TempPath("bytes.bin");
    const auto bytes = Pattern(200000);  // several read-ahead buffers
    WriteWhole(path, bytes);

    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::Read, CFile::Share::DenyWrite));
    EXPECT_EQ(file.GetLength(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_EQ(file.GetPosition(), i);
        unsigned char c = 0;
        ASSERT_EQ(file.Read(&c, 1), 1u);
        ASSERT_EQ(c, bytes[i]) << "at " << i;
    }
    unsigned char c = 0;
    EXPECT_EQ(file.Read(&c, 1), 0u);
    EXPECT_EQ(file.GetPosition(), bytes.size());
}

TEST(File, SeeksInsideAndOutsideTheReadBuffer) {
    const std::string path = TempPath("seek.bin");
    const auto bytes = Pattern(150000);
    WriteWhole(path, bytes);

    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::Read));
    unsigned char c = 0;
    file.Read(&c, 1);
    for (std::int64_t target : {10, 0, 140000, 65535, 65536, 149999}) {
        EXPECT_EQ(file.Seek(target, CFile::SeekFrom::Begin), static_cast<std::uint64_t>(target));
        ASSERT_EQ(file.Read(&c, 1), 1u);
        EXPECT_EQ(c, bytes[target]) << "at " << target;
    }
    EXPECT_EQ(file.Seek(-2, CFile::SeekFrom::End), bytes.size() - 2);
    EXPECT_EQ(file.Seek(1, CFile::SeekFrom::Current), bytes.size() - 1);
    std::vector<unsigned char> big(100000);
    file.Seek(1000, CFile::SeekFrom::Begin);
    ASSERT_EQ(file.Read(big.data(), big.size()), big.size());
    EXPECT_TRUE(std::equal(big.begin(), big.end(), bytes.begin() + 1000));
}

TEST(File, GatheredWritesKeepPositionLengthAndOrder) {
    const std::string path = TempPath("gather.bin");
    const auto bytes = Pattern(100003);
    {
        CFile file;
        ASSERT_TRUE(file.Open(path, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite));
        std::size_t i = 0;
        while (i < bytes.size()) {
            std::size_t n = std::min<std::size_t>(1 + i % 13, bytes.size() - i);
            file.Write(bytes.data() + i, n);
            i += n;
            ASSERT_EQ(file.GetPosition(), i);
            ASSERT_EQ(file.GetLength(), i);
        }
    }  // the destructor closes and hands over the rest
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::Read));
    std::vector<unsigned char> back(bytes.size() + 10);
    ASSERT_EQ(file.Read(back.data(), back.size()), bytes.size());
    back.resize(bytes.size());
    EXPECT_EQ(back, bytes);
}

TEST(File, CreateTruncatesALongerOldFile) {
    const std::string path = TempPath("truncate.bin");
    WriteWhole(path, Pattern(5000));
    WriteWhole(path, Pattern(10));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::Read));
    EXPECT_EQ(file.GetLength(), 10u);
}

TEST(File, OpenFailuresAreResultsAndKeepTheSystemError) {
    CFile file;
    EXPECT_FALSE(file.Open(TempPath("no-such-dir/x/y.bin"), CFile::Mode::CreateTruncate));
    EXPECT_NE(file.GetOpenError(), 0u);
    EXPECT_FALSE(file.Open(TempPath("missing.bin"), CFile::Mode::Read));
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, ErrorsRaiseFileExceptionsWithTheSystemText) {
    const std::string path = TempPath("err.bin");
    WriteWhole(path, Pattern(10));
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::Mode::Read));
    try {
        file.Seek(-100, CFile::SeekFrom::Begin);
        FAIL() << "a seek before the start must raise";
    } catch (const CFileException& e) {
        EXPECT_NE(e.GetOsError(), 0u);
        EXPECT_EQ(e.GetFileName(), path);
        EXPECT_FALSE(e.GetErrorMessage().empty());
    }
}
