// The factories and the two checks they use, under Wine with its real OLE.
#include "TableFileFactory.h"

#include "AppSettings.h"
#include "File.h"
#include "Message.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

namespace {

std::string TempPath(const std::string& name) { return testing::TempDir() + "factory-" + name; }

bool ExcelProgIdRegistered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}

// OLE as the program's start-up sets it up, every message recorded and
// answered with OK, and a settings object whose fields the test sets.
class TableFileFactoryTest : public testing::Test {
protected:
    TableFileFactoryTest()
        : m_responder([this](const ShownMessage& m) {
              messages.push_back(m);
              return IDOK;
          }) {
        EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        settings = std::make_unique<AppSettings>();
        // Whatever the settings object told about Palm Desktop is not ours.
        messages.clear();
    }
    ~TableFileFactoryTest() override {
        settings.reset();
        OleUninitialize();
    }

    std::vector<ShownMessage> messages;
    std::unique_ptr<AppSettings> settings;

private:
    ScopedMessageResponder m_responder;
};

// A spreadsheet application of the test's own, served from inside the test
// program, its own class factory: counts its references and the calls it gets.
class FakeApplication : public IDispatch, public IClassFactory {
public:
    LONG references = 0;
    std::vector<DISPID> calls;
    bool callsWereMethodsWithoutArguments = true;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
        else if (iid == IID_IClassFactory) *out = static_cast<IClassFactory*>(this);
        else *out = nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        calls.push_back(member);
        if (flags != DISPATCH_METHOD || !params || params->cArgs != 0 || params->cNamedArgs != 0 || result)
            callsWereMethodsWithoutArguments = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

// {5D0E0B1C-7A41-4C2B-9B57-2F3C61E1A001}: the fake's class, named by the
// ProgID "Excel.Application" while the registration lives.
const CLSID kFakeClsid = {0x5d0e0b1c, 0x7a41, 0x4c2b, {0x9b, 0x57, 0x2f, 0x3c, 0x61, 0xe1, 0xa0, 0x01}};
constexpr char kProgIdKey[] = "Software\\Classes\\Excel.Application";

class ScopedFakeExcel {
public:
    explicit ScopedFakeExcel(FakeApplication& application) {
        HKEY key = nullptr;
        m_registered = RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kProgIdKey) + "\\CLSID").c_str(), 0,
                                       nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS;
        if (m_registered) {
            const char clsid[] = "{5D0E0B1C-7A41-4C2B-9B57-2F3C61E1A001}";
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid), sizeof clsid);
            RegCloseKey(key);
        }
        m_served = SUCCEEDED(CoRegisterClassObject(kFakeClsid, static_cast<IClassFactory*>(&application), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                                   &m_cookie));
    }
    ~ScopedFakeExcel() {
        if (m_served) CoRevokeClassObject(m_cookie);
        if (m_registered) RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgIdKey);
    }
    bool Ready() const { return m_registered && m_served; }

private:
    bool m_registered = false;
    bool m_served = false;
    DWORD m_cookie = 0;
};

}  // namespace

TEST(TableFileName, WorkbookNamesEndInDotXlsInAnyCase) {
    EXPECT_TRUE(IsExcelFileName(".xls"));
    EXPECT_TRUE(IsExcelFileName("a.XLS"));
    EXPECT_TRUE(IsExcelFileName("C:\\cars\\Golf.Xls"));
    EXPECT_FALSE(IsExcelFileName("xls"));
    EXPECT_FALSE(IsExcelFileName("a.xlsx"));
    EXPECT_FALSE(IsExcelFileName("a.xls "));
    EXPECT_FALSE(IsExcelFileName("a.csv"));
    EXPECT_FALSE(IsExcelFileName("a"));
    EXPECT_FALSE(IsExcelFileName(""));
    EXPECT_FALSE(IsExcelFileName("a_xls"));
}

TEST_F(TableFileFactoryTest, CsvFilesTakeTheSeparatorAndForWritingTheLineFeedOption) {
    const std::string path = TempPath("made.csv");
    settings->listSeparator = "|";
    settings->exportnocr = 1;
    auto table = CreateTableFileForWrite(path, *settings);
    ASSERT_TRUE(table);
    table->WriteString("a|b");
    table->WriteString("two\nlines");
    table->EndRow();
    EXPECT_EQ(table->FinishWrite(), 0);
    table.reset();
    EXPECT_EQ(ReadFileBytes(path), "\"a|b\"|\"two lines\"\r\n");

    settings->exportnocr = 0;
    table = CreateTableFileForRead(path, *settings);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->NextRow(), 0);
    std::string a, b;
    table->ReadString(a);
    table->ReadString(b);
    EXPECT_EQ(a, "a|b");
    EXPECT_EQ(b, "two lines");
    EXPECT_EQ(table->NextRow(), -1);
    EXPECT_EQ(table->Close(), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TableFileFactoryTest, AFileThatCannotBeOpenedIsReportedWithItsName) {
    const std::string unwritable = TempPath("no such folder\\cars.csv");
    EXPECT_FALSE(CreateTableFileForWrite(unwritable, *settings));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Error: Can't read file " + unwritable);
    EXPECT_EQ(messages[0].type, static_cast<unsigned>(MB_OK));
    EXPECT_FALSE(FileExists(unwritable));

    const std::string missing = TempPath("missing.csv");
    EXPECT_FALSE(CreateTableFileForRead(missing, *settings));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "Error: Can't read file " + missing);
    EXPECT_EQ(messages[1].type, static_cast<unsigned>(MB_OK));
    EXPECT_FALSE(FileExists(missing));

    // Nothing was left holding the name: a file of that name can be made now.
    const std::string busy = TempPath("busy.csv");
    CFile holder;
    ASSERT_TRUE(holder.Open(busy, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite));
    EXPECT_FALSE(CreateTableFileForWrite(busy, *settings));
    holder.Close();
    EXPECT_TRUE(CreateTableFileForWrite(busy, *settings));
    EXPECT_EQ(messages.size(), 3u);
}

TEST_F(TableFileFactoryTest, AWorkbookNameWithoutTheSpreadsheetApplicationGivesTheProgramsOwnWorkbook) {
    if (ExcelProgIdRegistered()) GTEST_SKIP() << "a spreadsheet application is registered in this prefix";
    EXPECT_FALSE(IsExcelAvailable());
    const std::string path = TempPath("cars.XLS");
    DeleteFileA(path.c_str());
    auto table = CreateTableFileForWrite(path, *settings);
    ASSERT_TRUE(table);
    table->WriteString("Date");
    table->EndRow();
    table->WriteNumber(12.5, 1);
    EXPECT_EQ(table->FinishWrite(), 0);
    table = CreateTableFileForRead(path, *settings);
    ASSERT_TRUE(table);
    double number = 0;
    ASSERT_EQ(table->NextRow(), 0);
    EXPECT_EQ(table->ReadNumberCell(number), 0);
    EXPECT_EQ(number, 12.5);
    EXPECT_EQ(table->NextRow(), -1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(TableFileFactoryTest, TheAvailabilityCheckStartsTheApplicationTellsItToQuitAndLetsGo) {
    if (ExcelProgIdRegistered()) GTEST_SKIP() << "a spreadsheet application is registered in this prefix";
    FakeApplication application;
    {
        ScopedFakeExcel fake(application);
        ASSERT_TRUE(fake.Ready());
        const LONG held = application.references;  // by the class registration
        EXPECT_TRUE(IsExcelAvailable());
        EXPECT_EQ(application.calls, std::vector<DISPID>{0x12E});
        EXPECT_TRUE(application.callsWereMethodsWithoutArguments);
        EXPECT_EQ(application.references, held);
    }
    EXPECT_FALSE(ExcelProgIdRegistered());
    EXPECT_EQ(application.references, 0);
}
