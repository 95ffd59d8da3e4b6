#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CMetaFunction.h"
#include "core/CString.h"
#include "tests/core/AppFixture.h"

namespace {
// The order in which objects are destroyed; each test starts it empty.
std::vector<std::string> destroyed;

class Tracked : public CComponent {
public:
    Tracked(CApplication* app, std::string n) : CComponent(app), name(std::move(n)) { className = "Tracked"; }
    ~Tracked() override
    {
        LeaveRegistry();
        destroyed.push_back(name);
    }
    std::string name;
    Variable other;
};

class ObjectTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        destroyed.clear();
    }
};
}  // namespace

TEST_F(ObjectTest, ReleasesDeleteOnlyUnprotectedObjectsWhileAutoDeleteIsOn)
{
    auto* a = new Tracked(app, "a");
    EXPECT_EQ(app->IsAlive(a), 1);
    a->RemoveReference();  // counts never go below zero
    a->AddReferences(3);
    a->RemoveReferences(5);
    EXPECT_EQ(a->GetReferenceCount(), 0);
    a->AddReferences(3);
    a->RemoveReferences(1);
    EXPECT_EQ(a->GetReferenceCount(), 2);
    a->RemoveReferences(2);
    { Variable v(a); EXPECT_EQ(a->GetReferenceCount(), 1); }
    EXPECT_EQ(destroyed, std::vector<std::string>{"a"});

    auto* p = new Tracked(app, "p");
    p->Protect();
    { Variable v(p); }  // the protection spares one release
    EXPECT_EQ(app->IsAlive(p), 1);
    EXPECT_EQ(p->IsProtected(), 0);
    { Variable v(p); }
    EXPECT_EQ(app->IsAlive(p), 0);

    app->autoDelete = 0;
    auto* b = new Tracked(app, "b");
    { Variable v(b); }
    EXPECT_EQ(app->IsAlive(b), 1);
    EXPECT_EQ(b->GetReferenceCount(), 0);
    app->autoDelete = 1;
}

TEST_F(ObjectTest, VariablesCheckTheRegistryByValidationMode)
{
    auto* a = new Tracked(app, "a");
    Variable held(a);
    // Only the address is compared afterwards: the object itself is gone.
    uintptr_t address = reinterpret_cast<uintptr_t>(a);
    delete a;  // deleted by its owner while still referenced
    for (uint8_t mode : {TrustRegistered, TrustCreated}) {
        SetValidationMode(mode);
        EXPECT_EQ(held.GetChecked(), nullptr);
        Variable copy(held);
        EXPECT_EQ(copy.Get(), nullptr);
    }
    SetValidationMode(TrustAlways);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(held.GetChecked()), address);  // mode 0 keeps the stale pointer
    SetValidationMode(TrustRegistered);
    held.Clear();  // releasing a dead pointer makes no call on it
    EXPECT_EQ(held.Get(), nullptr);

    SetValidationMode(TrustCreated);  // mode 2 trusts only objects with resources
    Variable empty(new CString(app));
    EXPECT_EQ(Variable(empty).Get(), nullptr);
    empty.As<CString>()->SetText("x");
    Variable second(empty);
    EXPECT_EQ(second.Get(), empty.Get());
    EXPECT_EQ(empty.Get()->GetReferenceCount(), 2);
}

TEST_F(ObjectTest, AssigningCountsEachHolderOnceAndKeepsTheNewObjectAlive)
{
    auto* a = new Tracked(app, "a");
    Variable v(a);
    v = a;
    EXPECT_EQ(a->GetReferenceCount(), 1);
    Variable w;
    w = v;
    EXPECT_EQ(a->GetReferenceCount(), 2);

    // `outer` holds the only reference to `inner`; moving a Variable from outer to
    // inner must not let the release of outer delete inner first.
    auto* outer = new Tracked(app, "outer");
    auto* inner = new Tracked(app, "inner");
    outer->other = inner;
    Variable o(outer);
    o = inner;
    EXPECT_EQ(app->IsAlive(inner), 1);
    EXPECT_EQ(inner->GetReferenceCount(), 1);
    EXPECT_EQ(destroyed, std::vector<std::string>{"outer"});

    // A meta function holds both its parts and gives both back when deleted.
    auto* meta = new CMetaFunction(app);
    auto* first = new Tracked(app, "first");
    auto* second = new Tracked(app, "second");
    meta->first = first;
    meta->second = second;
    EXPECT_EQ(first->GetReferenceCount(), 1);
    delete meta;
    EXPECT_EQ(app->IsAlive(first) + app->IsAlive(second), 0);
}

TEST_F(ObjectTest, ReclaimDeletesUnreferencedObjectsOldestFirstAndSparesProtectedOnesOnce)
{
    new Tracked(app, "a");
    auto* b = new Tracked(app, "b");
    new Tracked(app, "c");
    auto* kept = new Tracked(app, "kept");
    Variable hold(kept);
    b->Protect();
    app->Reclaim();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(app->IsAlive(b), 1);
    EXPECT_EQ(b->IsProtected(), 0);
    app->Reclaim();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "c", "b"}));
    EXPECT_EQ(app->IsAlive(kept), 1);
}

TEST_F(ObjectTest, ShutdownDestroysObjectsHoldingEachOtherInCreationOrder)
{
    auto* a = new Tracked(app, "a");
    auto* b = new Tracked(app, "b");
    auto* c = new Tracked(app, "c");
    Variable ha(a), hb(b), hc(c);
    a->other = c;
    c->other = a;  // a cycle
    b->other = b;  // and a self-reference
    auto* meta = new CMetaFunction(app);
    meta->first = a;
    meta->second = b;
    app->Shutdown();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(app->GetObjectCount(), 0u);
    // The holders outlive the registry: their releases must not touch anything.
    SetValidationMode(TrustRegistered);
}
