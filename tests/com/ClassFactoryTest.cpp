#include <gtest/gtest.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <functional>

#include "band/com/ClassFactory.h"
#include "band/core/PlayerStatus.h"
#include "tests/com/ComServer.h"
#include "tests/support/Registry.h"

namespace {

using com_testing::LoadedServer;

IClassFactory* factoryOf(const LoadedServer& server) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(S_OK, server.getClassObject(com_testing::bandClsid(), IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory)));
    return factory;
}

TEST(ClassFactory, TheDllStaysWhileAnyFactoryOrBandLives) {
    testing_support::VendorKeyScratch scratch;
    LoadedServer server;
    ASSERT_TRUE(server.loaded());
    EXPECT_EQ(S_OK, server.canUnloadNow());

    IClassFactory* first = factoryOf(server);
    IClassFactory* second = factoryOf(server);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second) << "every call makes a factory of its own";
    EXPECT_EQ(S_FALSE, server.canUnloadNow());

    IDeskBand* band = nullptr;
    ASSERT_EQ(S_OK, first->CreateInstance(nullptr, IID_IDeskBand, reinterpret_cast<void**>(&band)));
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(E_NOTIMPL, first->LockServer(TRUE));

    // The factory came out with exactly the caller's reference.
    EXPECT_EQ(0u, first->Release());
    EXPECT_EQ(0u, second->Release());
    EXPECT_EQ(S_FALSE, server.canUnloadNow()) << "the band still lives";

    EXPECT_EQ(0u, band->Release()) << "the band came out with exactly the caller's reference";
    EXPECT_EQ(S_OK, server.canUnloadNow()) << "LockServer holds nothing";
}

struct RefusalCase {
    const char* name;
    HRESULT expected;
    std::function<HRESULT(const LoadedServer&, void** out)> call;
};

TEST(ClassFactory, RefusalsLeaveNoObjectBehind) {
    testing_support::VendorKeyScratch scratch;
    LoadedServer server;
    ASSERT_TRUE(server.loaded());

    const RefusalCase cases[] = {
        {"another class", CLASS_E_CLASSNOTAVAILABLE,
         [](const LoadedServer& s, void** out) {
             return s.getClassObject(IID_IUnknown, IID_IClassFactory, out);
         }},
        {"factory asked for an interface it lacks", E_NOINTERFACE,
         [](const LoadedServer& s, void** out) {
             return s.getClassObject(com_testing::bandClsid(), IID_IDeskBand, out);
         }},
        {"aggregation", CLASS_E_NOAGGREGATION,
         [](const LoadedServer& s, void** out) {
             IClassFactory* factory = factoryOf(s);
             HRESULT result = factory->CreateInstance(factory, IID_IUnknown, out);
             factory->Release();
             return result;
         }},
        {"band asked for an interface it lacks", E_NOINTERFACE,
         [](const LoadedServer& s, void** out) {
             IClassFactory* factory = factoryOf(s);
             HRESULT result = factory->CreateInstance(nullptr, IID_IPersistStreamInit, out);
             factory->Release();
             return result;
         }},
    };
    for (const RefusalCase& refusal : cases) {
        SCOPED_TRACE(refusal.name);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(refusal.expected, refusal.call(server, &out));
        EXPECT_EQ(nullptr, out);
        EXPECT_EQ(S_OK, server.canUnloadNow()) << "the refused object was destroyed again";
    }
}

TEST(ClassFactory, FactoryForAnotherClassMakesNothing) {
    LONG before = objectCount;
    auto* factory = new ClassFactory(IID_IUnknown);
    EXPECT_EQ(before + 1, objectCount);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_FAIL, factory->CreateInstance(nullptr, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(before + 1, objectCount);
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(before, objectCount);
}

}  // namespace
