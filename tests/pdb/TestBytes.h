#pragma once
// Hand-laid bytes for the expected layouts, and temporary files.
#include "File.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using ByteVector = std::vector<unsigned char>;

// Appends big-endian numbers and fixed-size text fields.
class Bytes {
public:
    Bytes& u8(unsigned v) { m_bytes.push_back(static_cast<unsigned char>(v)); return *this; }
    Bytes& u16(unsigned v) { return u8(v >> 8).u8(v); }
    Bytes& u32(std::uint32_t v) { return u16(v >> 16).u16(v & 0xFFFF); }
    Bytes& zeros(std::size_t n) { m_bytes.resize(m_bytes.size() + n); return *this; }
    Bytes& text(const std::string& s, std::size_t field) {
        for (char c : s) u8(static_cast<unsigned char>(c));  // insert() trips a gcc 12 false warning
        return zeros(field - s.size());
    }
    Bytes& raw(const ByteVector& b) {
        for (unsigned char c : b) u8(c);
        return *this;
    }
    operator const ByteVector&() const { return m_bytes; }
    const ByteVector& get() const { return m_bytes; }

private:
    ByteVector m_bytes;
};

// A file name of its own in the test directory, removed afterwards; test
// programs of several builds may run side by side.
class TempFile {
public:
    explicit TempFile(const std::string& name) {
        std::random_device random;
        m_path = testing::TempDir() + "pdb_" + std::to_string(random()) + "_" + name;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return m_path; }

    void Put(const ByteVector& bytes) const {
        CFile file;
        ASSERT_TRUE(file.Open(m_path, CFile::Mode::CreateTruncate));
        if (!bytes.empty()) file.Write(bytes.data(), bytes.size());
        file.Close();
    }
    ByteVector Get() const {
        CFile file;
        EXPECT_TRUE(file.Open(m_path, CFile::Mode::Read));
        ByteVector bytes(static_cast<std::size_t>(file.GetLength()));
        if (!bytes.empty()) bytes.resize(file.Read(bytes.data(), bytes.size()));
        return bytes;
    }

private:
    std::string m_path;
};
