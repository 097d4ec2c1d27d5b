// The spreadsheet automation stand-in as an in-process COM server: its class
// factory and the four entries every such server exports.  Registered under
// the ProgID "Excel.Application" in the machine's classes (in a test or demo
// Wine prefix only: the program never installs it).
#include "ApplicationObject.h"
#include "RegKey.h"

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <atomic>
#include <string>

namespace {

HMODULE g_module = nullptr;
std::atomic<long> g_serverLocks{0};

// {6F42D4A9-E5B4-4ACE-90C2-DFEFD740E857}
const CLSID kClsid = {0x6f42d4a9, 0xe5b4, 0x4ace, {0x90, 0xc2, 0xdf, 0xef, 0xd7, 0x40, 0xe8, 0x57}};
const char kClsidText[] = "{6F42D4A9-E5B4-4ACE-90C2-DFEFD740E857}";
const char kProgId[] = "Excel.Application";
const char kDescription[] = "Spreadsheet automation stand-in";
const std::string kClassesKey = "Software\\Classes\\";
const std::string kProgIdKey = kClassesKey + kProgId;
const std::string kClsidKey = kClassesKey + "CLSID\\" + kClsidText;

// One factory for the whole server, never destroyed.
class ApplicationFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
        return *out ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        CApplicationObject* application = new (std::nothrow) CApplicationObject();
        if (!application) return E_OUTOFMEMORY;
        application->AddRef();
        const HRESULT status = application->QueryInterface(iid, out);
        application->Release();
        return status;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++g_serverLocks;
        else
            --g_serverLocks;
        return S_OK;
    }
};
ApplicationFactory g_factory;

bool SetDefault(const std::string& path, const std::string& value, const char* name = "") {
    const CRegKey key = CRegKey::Create(HKEY_LOCAL_MACHINE, path, KEY_WRITE);
    return key && key.SetString(name, value) == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (clsid != kClsid) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    // Workbooks nobody closed keep the application running.
    return CDispatchObject::LiveObjects() == 0 && g_serverLocks == 0 && WorkbookDocument::OpenInProcess() == 0
               ? S_OK
               : S_FALSE;
}

// For tests: how many workbooks this process has open in the application.
extern "C" long WINAPI OpenWorkbookCount() { return WorkbookDocument::OpenInProcess(); }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
    const bool registered = SetDefault(kClsidKey, kDescription) &&
                            SetDefault(kClsidKey + "\\InprocServer32", path) &&
                            SetDefault(kClsidKey + "\\InprocServer32", "Apartment", "ThreadingModel") &&
                            SetDefault(kClsidKey + "\\ProgID", kProgId) && SetDefault(kProgIdKey, kDescription) &&
                            SetDefault(kProgIdKey + "\\CLSID", kClsidText);
    return registered ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    // The ProgID goes only while it names this server.
    std::string named;
    const CRegKey progIdClsid = CRegKey::Open(HKEY_LOCAL_MACHINE, kProgIdKey + "\\CLSID", KEY_READ);
    const bool ours = progIdClsid && progIdClsid.QueryString("", named) && named == kClsidText;
    if (ours) RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProgIdKey.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kClsidKey.c_str());
    return S_OK;
}
