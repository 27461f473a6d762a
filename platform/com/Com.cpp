#include "platform/com/Com.h"

#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

struct RegisteredClass {
    CLSID clsid;
    ClassFactoryFunction factory;
};

// Guards both lists below; classes and tables may be added from any thread, and tables are
// added while static objects are still being made, hence the function-local statics.
std::mutex& RegistryMutex()
{
    static std::mutex mutex;
    return mutex;
}
// Classes added one by one; looked up before the tables so they can replace them.
std::vector<RegisteredClass>& Registry()
{
    static std::vector<RegisteredClass> classes;
    return classes;
}
std::vector<const ClassTableEntry*>& Tables()
{
    static std::vector<const ClassTableEntry*> tables;
    return tables;
}

thread_local int initialisations = 0;

ClassFactoryFunction FindFactory(REFCLSID clsid)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    for (const RegisteredClass& entry : Registry()) {
        if (entry.clsid == clsid)
            return entry.factory;
    }
    for (const ClassTableEntry* table : Tables()) {
        for (const ClassTableEntry* entry = table; entry->factory; ++entry) {
            if (*entry->clsid == clsid)
                return entry->factory;
        }
    }
    return nullptr;
}

}  // namespace

HRESULT CoInitializeEx(void*, DWORD)
{
    return initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (initialisations > 0)
        --initialisations;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    ClassFactoryFunction factory = FindFactory(clsid);
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory(iid, out);
}

void CoRegisterClass(REFCLSID clsid, ClassFactoryFunction factory)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    for (RegisteredClass& entry : Registry()) {
        if (entry.clsid == clsid) {
            entry.factory = factory;
            return;
        }
    }
    Registry().push_back({clsid, factory});
}

void CoUnregisterClass(REFCLSID clsid)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    std::erase_if(Registry(), [&](const RegisteredClass& entry) { return entry.clsid == clsid; });
}

void CoRegisterClassTable(const ClassTableEntry* table)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    Tables().push_back(table);
}

void* CoTaskMemAlloc(std::size_t size)
{
    return std::malloc(size ? size : 1);
}

void CoTaskMemFree(void* block)
{
    std::free(block);
}
