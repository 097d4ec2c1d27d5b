#include "PalmDatabase.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

namespace {
// The 78 header bytes of a record database with n records.
Bytes Header(unsigned count, unsigned attributes = 0x0008) {
    Bytes b;
    b.text("RoadtallyDBCar", 32).u16(attributes).u16(3);
    b.u32(0x7C25B080 + 86400).u32(0).u32(0xFFFFFFFF);
    b.u32(42).u32(0xDEAD).u32(0xBEEF).u32(0x44415441).u32(0x52744C67).u32(77).u32(0).u16(count);
    return b;
}

Bytes CategoryBlock(std::initializer_list<const char*> labels) {
    Bytes b;
    b.u16(0);
    for (const char* label : labels) b.text(label, 16);
    return b.zeros(16 * (16 - labels.size()) + 18);
}

struct Loaded {
    int result;
    CPalmDatabase db;
};

Loaded Load(const ByteVector& bytes, std::size_t recordLimit = CPalmDatabase::kMaxRecords) {
    TempFile file("read.pdb");
    file.Put(bytes);
    Loaded loaded{0, {}};
    loaded.result = loaded.db.Read(file.path(), recordLimit);
    // Read in place, every file gives what Read gives.
    CPalmDatabase inPlace;
    EXPECT_EQ(inPlace.ReadInPlace(file.path(), recordLimit), loaded.result);
    ByteVector read, readInPlace;
    EXPECT_EQ(loaded.db.WriteBytes(read), inPlace.WriteBytes(readInPlace));
    EXPECT_EQ(read, readInPlace);
    return loaded;
}
}  // namespace

TEST(PalmDatabaseRead, HeaderFieldsAndCategoryNamesFromTheBlockBehindTheGap) {
    Bytes file = Header(3);
    const std::uint32_t first = 78 + 24 + 2 + 276;
    file.u32(first).u8(0x41).u16(0x0102).u8(0x03);
    file.u32(first + 2).u8(0x00).u16(0).u8(0);
    file.u32(first + 2).u8(0x02).u16(0).u8(5);  // an unused slot: empty label
    file.u16(0).raw(CategoryBlock({"Fuel", "Repair"})).u8(0xAB).u8(0xCD).u8(0xEF);

    Loaded l = Load(file);
    ASSERT_EQ(l.result, 0);
    EXPECT_EQ(l.db.GetName(), "RoadtallyDBCar");
    EXPECT_EQ(l.db.GetCreationDate(), 86400);
    EXPECT_EQ(l.db.GetModificationDate(), -2082844800);
    EXPECT_EQ(l.db.GetLastBackupDate(), static_cast<CalendarTime>(0xFFFFFFFFu - 2082844800u));
    EXPECT_EQ(l.db.GetType(), MakePalmCode("DATA"));
    EXPECT_EQ(l.db.GetCreator(), MakePalmCode("RtLg"));
    EXPECT_TRUE(l.db.HasAppInfo());
    ASSERT_EQ(l.db.GetRecordCount(), 3);

    const CPalmRecord r0 = l.db.GetRecord(0);
    EXPECT_EQ(r0.GetAttributes(), 0x41);
    EXPECT_EQ(r0.GetUniqueId(), 0x010203u);
    EXPECT_EQ(r0.GetCategoryName(), "Repair");
    EXPECT_EQ(r0.GetData(), (ByteVector{0xAB, 0xCD}));
    EXPECT_EQ(l.db.GetRecord(1).GetLength(), 0u);
    EXPECT_EQ(l.db.GetRecord(1).GetCategoryName(), "Fuel");
    EXPECT_EQ(l.db.GetRecord(2).GetCategoryName(), "");
    EXPECT_EQ(l.db.GetRecord(2).GetData(), ByteVector{0xEF});
    EXPECT_EQ(l.db.GetRecord(3).GetLength(), 0u);  // out of range: an empty record
}

TEST(PalmDatabaseRead, GapsTooShortForTheBlockLeaveNoCategories) {
    // First record 277 bytes behind the list end: one byte short of gap and block.
    Bytes file = Header(1);
    file.u32(78 + 8 + 277).u8(0x01).u16(0).u8(0);
    file.u16(0).raw(CategoryBlock({"Fuel"})).u8(7);
    ByteVector bytes = file;
    bytes.erase(bytes.end() - 2);  // the block's last byte goes
    Loaded l = Load(bytes);
    ASSERT_EQ(l.result, 0);
    EXPECT_FALSE(l.db.HasAppInfo());
    ASSERT_EQ(l.db.GetRecordCount(), 1);
    EXPECT_EQ(l.db.GetRecord(0).GetCategoryName(), "");
    EXPECT_EQ(l.db.GetRecord(0).GetData(), ByteVector{7});
}

TEST(PalmDatabaseRead, ZeroRecordsReadWithOrWithoutTheBlock) {
    Loaded bare = Load(Header(0));
    ASSERT_EQ(bare.result, 0);
    EXPECT_EQ(bare.db.GetRecordCount(), 0);
    EXPECT_FALSE(bare.db.HasAppInfo());

    Loaded withBlock = Load(Bytes(Header(0)).u16(0).raw(CategoryBlock({"Fuel"})));
    ASSERT_EQ(withBlock.result, 0);
    EXPECT_EQ(withBlock.db.GetRecordCount(), 0);
    EXPECT_TRUE(withBlock.db.HasAppInfo());
    EXPECT_EQ(withBlock.db.GetCategoryLabel(0), "Fuel");

    Loaded shortBlock = Load(Bytes(Header(0)).u16(0).text("Fuel", 100));
    ASSERT_EQ(shortBlock.result, 0);
    EXPECT_FALSE(shortBlock.db.HasAppInfo());
}

TEST(PalmDatabaseRead, LastRecordIsCutAtTheWorkingBuffer) {
    Bytes file = Header(1);
    file.u32(88).u32(0).u16(0).zeros(100005);
    Loaded l = Load(file);
    ASSERT_EQ(l.result, 0);
    EXPECT_EQ(l.db.GetRecord(0).GetLength(), 100000u);
}

TEST(PalmDatabaseRead, MalformedFilesAreRejectedAndLeaveAnEmptyDatabase) {
    const ByteVector full = Bytes(Header(2)).u32(96).u32(0).u32(97).u32(0).u16(0).u8(1).u8(2);
    const struct {
        const char* what;
        ByteVector bytes;
    } cases[] = {
        {"empty file", {}},
        {"34 bytes", ByteVector(full.begin(), full.begin() + 34)},
        {"ends after the version", ByteVector(full.begin(), full.begin() + 36)},
        {"ends inside the header", ByteVector(full.begin(), full.begin() + 77)},
        {"ends inside the record list", ByteVector(full.begin(), full.begin() + 90)},
        {"offsets decrease", Bytes(Header(2)).u32(97).u32(0).u32(96).u32(0).u16(0).u8(1).u8(2)},
        {"offset beyond the end", Bytes(Header(2)).u32(96).u32(0).u32(99).u32(0).u16(0).u8(1).u8(2)},
        {"offset inside the list", Bytes(Header(2)).u32(90).u32(0).u32(97).u32(0).u16(0).u8(1).u8(2)},
        {"gap over the working buffer", Bytes(Header(1)).u32(86 + 100001).u32(0).zeros(100001 + 10)},
        {"resource list cut short", Bytes(Header(1, 0x0001)).u32(0).u16(0).u16(0)},
    };
    ASSERT_EQ(Load(full).result, 0);  // the intact file reads
    const Loaded carAlone = Load(full, 1);
    ASSERT_EQ(carAlone.result, 0);
    EXPECT_EQ(carAlone.db.GetRecordCount(), 1);
    EXPECT_EQ(carAlone.db.GetRecord(0).GetData(), ByteVector{1});
    // Read for its first record alone, a file is still checked whole.
    for (const auto& c : cases)
        for (std::size_t limit : {std::size_t{1}, CPalmDatabase::kMaxRecords}) {
            Loaded l = Load(c.bytes, limit);
            EXPECT_EQ(l.result, -1) << c.what;
            EXPECT_EQ(l.db.GetRecordCount(), 0) << c.what;
            EXPECT_EQ(l.db.GetName(), "") << c.what;
        }
    CPalmDatabase db;
    EXPECT_EQ(db.Read(testing::TempDir() + "pdb_no_such_file.pdb"), -1);
}

TEST(PalmDatabaseRead, WrittenDatabaseReadsBackFieldForField) {
    CPalmDatabase out("RoadtallyDBRound", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    out.SetVersion(2);
    out.SetCreationDate(-2082844800);  // 1904, the file's zero
    out.SetModificationDate(1000000000);
    out.SetLastBackupDate(0x7FFFFFFF);
    out.SetModificationNumber(9);
    out.SetUniqueIdSeed(0x00ABCDEF);
    const struct {
        ByteVector data;
        std::uint8_t attributes;
        std::uint32_t id;
        const char* category;
    } records[] = {{{1, 2, 3}, 0x00, 0xFF000001, ""},
                   {{}, 0x80, 0x00FFFFFE, "Fuel"},
                   {{4}, 0x20, 3, "fuel"},
                   {ByteVector(5000, 0x5A), 0x00, 4, "Fuel"}};
    for (const auto& r : records) {
        CPalmRecord record;
        record.SetData(r.data.data(), r.data.size());
        record.SetAttributes(r.attributes);
        record.SetUniqueId(r.id);
        record.SetCategoryName(r.category);
        out.AddRecord(record);
    }
    TempFile file("round.pdb");
    ASSERT_EQ(out.Write(file.path()), 0);
    CPalmDatabase in;
    ASSERT_EQ(in.Read(file.path()), 0);

    EXPECT_EQ(in.GetName(), out.GetName());
    EXPECT_EQ(in.GetType(), out.GetType());
    EXPECT_EQ(in.GetCreator(), out.GetCreator());
    EXPECT_EQ(in.GetAttributes(), out.GetAttributes());
    EXPECT_EQ(in.GetVersion(), 2);
    EXPECT_EQ(in.GetModificationNumber(), 9u);
    EXPECT_EQ(in.GetUniqueIdSeed(), 0x00ABCDEFu);
    EXPECT_EQ(in.GetCreationDate(), out.GetCreationDate());
    EXPECT_EQ(in.GetModificationDate(), out.GetModificationDate());
    EXPECT_EQ(in.GetLastBackupDate(), out.GetLastBackupDate());
    EXPECT_EQ(in.GetCategoryBlock(), out.GetCategoryBlock());
    ASSERT_EQ(in.GetRecordCount(), 4);
    const char* readBack[] = {"Fuel", "Fuel", "fuel", "Fuel"};  // no name: label 0
    const std::uint8_t attributes[] = {0x00, 0x80, 0x21, 0x00};
    for (int i = 0; i < 4; ++i) {
        const CPalmRecord r = in.GetRecord(i);
        EXPECT_EQ(r.GetData(), records[i].data) << i;
        EXPECT_EQ(r.GetAttributes(), attributes[i]) << i;
        EXPECT_EQ(r.GetUniqueId(), records[i].id & 0xFFFFFF) << i;
        EXPECT_EQ(r.GetCategoryName(), readBack[i]) << i;
    }
}

TEST(PalmDatabaseRead, ADatabaseReadInPlaceTakesMoreRecordsAsOneReadWhole) {
    TempFile file("grow.pdb");
    file.Put(Bytes(Header(2)).u32(96).u32(0).u32(97).u32(0).u16(0).u8(1).u8(2));
    CPalmDatabase read, inPlace;
    ASSERT_EQ(read.Read(file.path()), 0);
    ASSERT_EQ(inPlace.ReadInPlace(file.path()), 0);
    CPalmRecord extra;
    extra.SetData("\x05\x06", 2);
    for (CPalmDatabase* db : {&read, &inPlace}) {
        db->Reserve(1, 2);
        db->AddRecord(extra);
    }
    ByteVector whole, grown;
    ASSERT_EQ(read.WriteBytes(whole), 0);
    ASSERT_EQ(inPlace.WriteBytes(grown), 0);
    EXPECT_EQ(grown, whole);
    EXPECT_EQ(inPlace.GetRecord(1).GetData(), ByteVector{2});
    EXPECT_EQ(inPlace.GetRecord(2).GetData(), (ByteVector{5, 6}));
}
