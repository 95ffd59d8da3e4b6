#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <vector>

#include "core/CObjectList.h"
#include "core/CString.h"
#include "platform/Sockets.h"
#include "tests/common/TempFolder.h"
#include "tests/core/AppFixture.h"

using ApplicationTest = AppFixture;

TEST_F(ApplicationTest, StartsEmptyAndKeepsTheLastNonNullProcessWideValue)
{
    EXPECT_EQ(CApplication::Instance(), app);
    EXPECT_EQ(app->GetObjectCount(), 0u);
    EXPECT_EQ(app->IsAlive(nullptr), 0);
    EXPECT_EQ(app->IsAlive(app), 0);  // the application is not in its own registry
    CApplication::Title("Ajustor-2  (Beta 3)");
    CApplication::Title(nullptr);
    EXPECT_STREQ(CApplication::Title(), "Ajustor-2  (Beta 3)");
    int handle = 0;
    CApplication::InstanceHandle(&handle);
    CApplication::InstanceHandle(nullptr);
    EXPECT_EQ(CApplication::InstanceHandle(), &handle);
    for (size_t size : {size_t{0}, size_t{1} << 20}) {
        void* block = app->Allocate(size);
        EXPECT_NE(block, nullptr);
        CApplication::Free(block);
    }
}

TEST_F(ApplicationTest, RandomReleasesKeepTheRegistryExact)
{
    std::mt19937 random(42);
    std::vector<Variable> held;
    for (int i = 0; i < 30000; i++) {
        held.emplace_back(new CString(app));
        held.back().As<CString>()->SetNumber(i, 32);
    }
    std::vector<CObject*> all;
    for (auto& v : held)
        all.push_back(v.Get());
    std::shuffle(held.begin(), held.end(), random);
    held.resize(held.size() / 3);  // release two thirds in random order
    EXPECT_EQ(app->GetObjectCount(), held.size());
    std::set<CObject*> kept;
    for (auto& v : held)
        kept.insert(v.Get());
    for (CObject* o : all)
        ASSERT_EQ(app->IsAlive(o), int(kept.count(o)));
    // The creation-order list lost its holes and keeps the survivors oldest first.
    app->Reclaim();
    ASSERT_EQ(app->objects->GetCount(), held.size());
    for (uint32_t i = 1; i < app->objects->GetCount(); i++)
        ASSERT_LT(static_cast<CString*>(app->objects->GetAt(i - 1))->ToNumber(),
                  static_cast<CString*>(app->objects->GetAt(i))->ToNumber());
    app->Shutdown();  // the holders outlive the registry
    EXPECT_EQ(app->GetObjectCount(), 0u);
}

// The message goes to standard output, and the process ends with -1. The start-up runs
// in a child process whose standard output goes to a file both processes can name:
// Windows has no fork, and there the test program runs again for the child.
TEST(SocketStartup, FailureWritesTheMessageAndEndsWithMinusOne)
{
#ifdef _WIN32
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string name = "ajustor-socket-start-up.txt";
    const int minusOne = -1;
#else
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string name = "ajustor-socket-start-up-" + std::to_string(ProcessId()) + ".txt";
    const int minusOne = 255;  // as POSIX reports it
#endif
    std::string out = (std::filesystem::temp_directory_path() / name).string();
    EXPECT_EXIT(
        {
            if (!std::freopen(out.c_str(), "wb", stdout))
                std::exit(1);
            platform::FailNextSocketStart();
            CApplication app;
            std::exit(0);
        },
        testing::ExitedWithCode(minusOne), "");
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "Error iniciando sockets !\n");
    in.close();
    std::error_code ignored;
    std::filesystem::remove(out, ignored);
}

namespace {
// Always lives in the same block, as a heap block handed back by the allocator would.
struct Counted : CComponent {
    Counted(CApplication* a, int* d) : CComponent(a), count(d) {}
    ~Counted() override
    {
        LeaveRegistry();
        ++*count;
    }
    static void* operator new(size_t) { return block; }
    static void operator delete(void*) {}
    alignas(16) static inline unsigned char block[64];
    int* count;
};
static_assert(sizeof(Counted) <= sizeof(Counted::block));

struct Spawner : CComponent {
    explicit Spawner(CApplication* a) : CComponent(a) {}
    ~Spawner() override
    {
        LeaveRegistry();
        new CString(application);  // a destructor that makes an object
    }
};
}  // namespace

TEST_F(ApplicationTest, AnAddressReusedByANewerObjectIsDestroyedOnceAndShutdownLeavesNothing)
{
    int destroyed = 0;
    auto* first = new Counted(app, &destroyed);
    delete first;
    auto* second = new Counted(app, &destroyed);
    EXPECT_EQ(static_cast<void*>(first), static_cast<void*>(second));
    EXPECT_EQ(app->objects->GetCount(), 2u);  // the first one's entry waits for compaction
    app->Reclaim();
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(app->objects->GetCount(), 0u);
    delete new Counted(app, &destroyed);
    new Counted(app, &destroyed);
    new Spawner(app);
    app->Shutdown();
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(app->GetObjectCount(), 0u);  // objects made during shutdown are destroyed too
}
