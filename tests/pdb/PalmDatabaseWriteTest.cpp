#include "PalmDatabase.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

namespace {
constexpr std::uint32_t kRtLg = 0x52744C67;
constexpr std::uint32_t kData = 0x44415441;

CPalmRecord Record(ByteVector data, std::uint8_t attributes, std::uint32_t uniqueId, std::string category = {}) {
    CPalmRecord r;
    r.SetData(data.data(), data.size());
    r.SetAttributes(attributes);
    r.SetUniqueId(uniqueId);
    r.SetCategoryName(std::move(category));
    return r;
}

// A database with fixed dates so that every header byte is known.
CPalmDatabase Fixed(const std::string& name, bool resource = false) {
    CPalmDatabase db(name, kRtLg, kData, resource);
    db.SetCreationDate(0);                // 1970-01-01: 2082844800 s after 1904
    db.SetModificationDate(-1);
    db.SetLastBackupDate(0x7FFFFFFF);     // wraps past 2^32 in the file
    db.SetModificationNumber(0x01020304);
    db.SetUniqueIdSeed(0x0A0B0C0D);
    return db;
}

Bytes Header(const std::string& name, unsigned attributes, std::uint32_t appInfo, unsigned count) {
    Bytes b;
    b.text(name, 32).u16(attributes).u16(0);
    b.u32(0x7C25B080).u32(0x7C25B07F).u32(0xFC25B07F);
    b.u32(0x01020304).u32(appInfo).u32(0).u32(kData).u32(kRtLg).u32(0x0A0B0C0D).u32(0).u16(count);
    return b;
}

ByteVector Written(const CPalmDatabase& db) {
    TempFile file("write.pdb");
    EXPECT_EQ(db.Write(file.path()), 0);
    return file.Get();
}
}  // namespace

TEST(PalmDatabaseWrite, WithoutCategoriesRecordsFollowTheGapAt80Plus8n) {
    CPalmDatabase db = Fixed("RoadtallyDBVan");
    db.AddRecord(Record({1, 2, 3}, 0x40, 0x12345678));
    db.AddRecord(Record({}, 0x00, 0xFFFFFF));  // length 0: two equal offsets
    db.AddRecord(Record({9}, 0x9F, 1));
    EXPECT_FALSE(db.HasAppInfo());

    Bytes expected = Header("RoadtallyDBVan", 0x0008, 0, 3);
    expected.u32(104).u8(0x40).u8(0x34).u16(0x5678);
    expected.u32(107).u8(0x00).u8(0xFF).u16(0xFFFF);
    expected.u32(107).u8(0x9F).u8(0x00).u16(0x0001);
    expected.u16(0).u8(1).u8(2).u8(3).u8(9);
    EXPECT_EQ(Written(db), expected.get());
}

TEST(PalmDatabaseWrite, CategoryBlockSitsBehindTheGapAndRecordsAt356Plus8n) {
    CPalmDatabase db = Fixed("RoadtallyDBVan");
    db.AddRecord(Record({0xAA}, 0x00, 7));              // no category: keeps its attributes
    db.AddRecord(Record({0xBB}, 0x43, 8, "Fuel"));      // flags kept, index replaced
    db.AddRecord(Record({0xCC, 0xDD}, 0x00, 9, "Service"));
    db.AddRecord(Record({0xEE}, 0x00, 10, "Fuel"));

    Bytes expected = Header("RoadtallyDBVan", 0x0008, 80 + 32, 4);
    const std::uint32_t data = 356 + 32;
    expected.u32(data).u8(0x00).u8(0).u16(7);
    expected.u32(data + 1).u8(0x40).u8(0).u16(8);
    expected.u32(data + 2).u8(0x01).u8(0).u16(9);
    expected.u32(data + 4).u8(0x00).u8(0).u16(10);
    expected.u16(0);
    expected.u16(0).text("Fuel", 16).text("Service", 16).zeros(14 * 16);
    expected.u8(1).u8(2).zeros(14).u8(2).u8(0);
    expected.u8(0xAA).u8(0xBB).u8(0xCC).u8(0xDD).u8(0xEE);
    EXPECT_EQ(Written(db), expected.get());
}

TEST(PalmDatabaseWrite, ResourceDatabaseHasTenByteEntries) {
    CPalmDatabase db = Fixed("Res", true);
    CPalmRecord r = Record({5, 6}, 0, 0);
    r.SetResourceType(kData);
    r.SetResourceId(0x1234);
    db.AddRecord(r);

    Bytes expected = Header("Res", 0x0009, 0, 1);
    expected.u32(kData).u16(0x1234).u32(90).u16(0).u8(5).u8(6);
    EXPECT_EQ(Written(db), expected.get());
}

TEST(PalmDatabaseWrite, LongNamesAndLabelsAreCutToTheirFields) {
    CPalmDatabase db = Fixed(std::string(40, 'N'));
    db.AddRecord(Record({}, 0, 0, "ABCDEFGHIJKLMNOPQRST"));
    const ByteVector bytes = Written(db);
    ASSERT_GE(bytes.size(), 80u + 8 + 276);
    EXPECT_EQ(ByteVector(bytes.begin(), bytes.begin() + 32), Bytes().text(std::string(31, 'N'), 32).get());
    const std::size_t label0 = 80 + 8 + 2;
    EXPECT_EQ(ByteVector(bytes.begin() + label0, bytes.begin() + label0 + 17),
              Bytes().text("ABCDEFGHIJKLMNO", 16).u8(0).get());  // label 1 stays free
}

TEST(PalmDatabaseWrite, SpooledRecordsComeBackAsRecordsHeldInMemory) {
    // Sizes across the spool's 64 KB gathering buffer and past it, then
    // enough records for the list entries (8 or 10 bytes) to cross it too.
    std::vector<std::size_t> sizes = {1, 0, 40000, 30000, 70000, 5};
    sizes.resize(7000, 3);
    for (const bool resource : {false, true}) {
        CPalmDatabase held = Fixed("Spool", resource);
        CPalmDatabase spooled = Fixed("Spool", resource);
        ASSERT_TRUE(spooled.SpoolRecords());
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            CPalmRecord r = Record(ByteVector(sizes[i], static_cast<unsigned char>(i + 1)), 0x40,
                                   static_cast<std::uint32_t>(i), i % 2 ? "Fuel" : "");
            r.SetResourceType(static_cast<std::uint32_t>(i));
            r.SetResourceId(static_cast<std::uint16_t>(i));
            held.AddRecord(r);
            spooled.AddRecord(r);
        }
        EXPECT_EQ(Written(spooled), Written(held)) << resource;
        for (int i : {1, 4, 5, 6999}) EXPECT_EQ(spooled.GetRecord(i).GetData(), held.GetRecord(i).GetData()) << i;
        EXPECT_FALSE(held.SpoolRecords()) << "only a database without records";
    }
}

TEST(PalmDatabaseWrite, UncreatableFileGivesMinusOne) {
    CPalmDatabase db = Fixed("x");
    EXPECT_EQ(db.Write(testing::TempDir() + "no_such_folder_pdb/x.pdb"), -1);
}

TEST(PalmDatabaseWrite, ADatabaseIsWrittenWholeOrNotAtAll) {
    // The record count field holds 65,535; one more record must not be cut
    // off silently but refuse the whole file.
    const struct {
        int records;
        int result;
    } cases[] = {{0xFFFF, 0}, {0x10000, -1}};
    for (const auto& c : cases) {
        CPalmDatabase db = Fixed("Many");
        for (int i = 0; i < c.records; ++i)
            db.AddRecord(Record({static_cast<unsigned char>(i)}, 0, static_cast<std::uint32_t>(i)));
        TempFile file("many.pdb");
        EXPECT_EQ(db.Write(file.path()), c.result) << c.records;
        CPalmDatabase back;
        if (c.result == 0) {
            ASSERT_EQ(back.Read(file.path()), 0);
            ASSERT_EQ(back.GetRecordCount(), c.records);
            // Every entry of the record list, which is written a block at a time.
            for (int i = 0; i < c.records; ++i) {
                const CPalmRecord record = back.GetRecord(i);
                ASSERT_EQ(record.GetData(), ByteVector{static_cast<unsigned char>(i)}) << i;
                ASSERT_EQ(record.GetUniqueId(), static_cast<std::uint32_t>(i)) << i;
            }
        } else {
            CFile nothing;
            EXPECT_FALSE(nothing.Open(file.path(), CFile::Mode::Read)) << "no file is left";
            std::vector<unsigned char> bytes{1, 2, 3};
            EXPECT_EQ(db.WriteBytes(bytes), -1);
            EXPECT_TRUE(bytes.empty());
        }
    }
}
