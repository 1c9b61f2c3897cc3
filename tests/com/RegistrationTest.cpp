#include <gtest/gtest.h>

#include <comcat.h>
#include <objbase.h>
#include <olectl.h>
#include <shlguid.h>

#include <map>
#include <string>

#include "tests/com/ComServer.h"

namespace {

using namespace com_testing;

const std::string kInproc = std::string(kClassKey) + "\\InprocServer32";
const std::string kCategoryKey =
    std::string(kClassKey) + "\\Implemented Categories\\{00021492-0000-0000-C000-000000000046}";

// Every key and value below `path`, as "key|value" -> data.
void snapshot(HKEY root, const std::string& path, std::map<std::string, std::string>* into) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    (*into)[path + "|"];  // the key itself, even when empty
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        BYTE data[1024];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS) {
            break;
        }
        (*into)[path + "|" + name] =
            std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), dataSize);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        snapshot(root, path + "\\" + name, into);
    }
    RegCloseKey(key);
}

std::map<std::string, std::string> classTree() {
    std::map<std::string, std::string> tree;
    snapshot(HKEY_CLASSES_ROOT, kClassKey, &tree);
    return tree;
}

// S_OK when the categories manager lists the band as a desk band, S_FALSE when not.
HRESULT deskBandCategoryOfBand() {
    CoInitialize(nullptr);
    ICatInformation* information = nullptr;
    HRESULT result = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr,
                                      CLSCTX_INPROC_SERVER, IID_ICatInformation,
                                      reinterpret_cast<void**>(&information));
    if (SUCCEEDED(result)) {
        CATID category = CATID_DeskBand;
        result = information->IsClassOfCategories(bandClsid(), 1, &category, 0, nullptr);
        information->Release();
    }
    CoUninitialize();
    return result;
}

TEST(Registration, Regsvr32WritesTheClassKeysAndTheDeskBandCategory) {
    ASSERT_EQ(0, regsvr32("/s"));

    struct Row {
        std::string key;
        const char* valueName;
        std::string expected;
    };
    const Row rows[] = {
        {kClassKey, nullptr, "&ZAX"},
        {kInproc, nullptr, dllPath()},
        {kInproc, "ThreadingModel", "Apartment"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key + " " + (row.valueName ? row.valueName : "(default)"));
        bool found = false;
        EXPECT_EQ(row.expected, classesString(row.key, row.valueName, &found));
        EXPECT_TRUE(found);
    }
    EXPECT_TRUE(classesKeyExists(kCategoryKey));
    EXPECT_EQ(S_OK, deskBandCategoryOfBand());

    // A second registration finds everything in place and changes nothing.
    const auto once = classTree();
    ASSERT_EQ(0, regsvr32("/s"));
    EXPECT_EQ(once, classTree());
}

TEST(Registration, UnregisteringRemovesTheClassKeyWithAllItsSubkeys) {
    ASSERT_EQ(0, regsvr32("/s"));
    ASSERT_TRUE(classesKeyExists(kCategoryKey));

    EXPECT_EQ(0, regsvr32("/u /s"));
    EXPECT_FALSE(classesKeyExists(kClassKey));
    EXPECT_EQ(S_FALSE, deskBandCategoryOfBand());
}

TEST(Registration, ModulePathIsWrittenAsItIsEvenWithPercentSigns) {
    const std::string folder = testing_support::binFolder() + "100% %s%n%x";
    const std::string copy = folder + "\\Strappa.dll";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(dllPath().c_str(), copy.c_str(), FALSE));

    EXPECT_EQ(0, regsvr32("/s", copy));
    EXPECT_EQ(copy, classesString(kInproc, nullptr));

    EXPECT_EQ(0, regsvr32("/u /s", copy));
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A caller on a multithreaded apartment must keep its COM set-up through (un)registration.
TEST(Registration, CallersApartmentSurvivesRegistration) {
    LoadedServer server;
    ASSERT_TRUE(server.loaded());
    ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    ASSERT_EQ(RPC_E_CHANGED_MODE, CoInitialize(nullptr));

    EXPECT_EQ(S_OK, server.registerServer());
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED)) << "COM was torn down";
    CoUninitialize();

    EXPECT_EQ(S_OK, server.unregisterServer());
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED)) << "COM was torn down";
    CoUninitialize();

    EXPECT_FALSE(classesKeyExists(kClassKey));
    CoUninitialize();
}

}  // namespace
