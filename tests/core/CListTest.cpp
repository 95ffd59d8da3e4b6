#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/CComparator.h"
#include "core/CObjectList.h"
#include "core/CPointerComparator.h"
#include "core/CString.h"
#include "tests/core/AppFixture.h"

namespace {
// Orders strings by their number, larger first; the key is a number.
class ByNumberDescending : public CComparator {
public:
    explicit ByNumberDescending(CApplication* app) : CComparator(app) {}
    int CompareItems(const CObject* a, const CObject* b) override { return Compare(Value(a), Value(b)); }
    int CompareKey(const CObject* e) override { return Compare(key, Value(e)); }
    void SetKey(const void* k) override { key = *static_cast<const double*>(k); }
    static int Compare(double x, double y) { return (x > y) - (x < y); }
    static double Value(const CObject* o) { return const_cast<CString*>(static_cast<const CString*>(o))->ToNumber(); }
    double key = 0;
};

class ListTest : public AppFixture {
protected:
    CList* NewList(CComparator* comparator = nullptr)
    {
        auto* list = new CList(app);
        list->Create();
        if (comparator)
            list->SetComparator(comparator);
        lists.emplace_back(list);
        return list;
    }
    std::vector<CObject*> Fill(CList* list, int n)
    {
        std::vector<CObject*> objects;
        for (int i = 0; i < n; i++) {
            objects.push_back(new CString(app));
            list->Add(objects.back());
        }
        return objects;
    }
    CString* Number(double v)
    {
        auto* s = new CString(app);
        s->SetNumber(v, 17);
        return s;
    }
    std::vector<Variable> lists;
};
}  // namespace

TEST_F(ListTest, GrowsFivefoldAndReferencesItsElements)
{
    CList* list = NewList();
    EXPECT_EQ(list->GetCapacity(), 512u);
    CObject* first = Fill(list, 513)[0];
    EXPECT_EQ(list->GetCapacity(), 2560u);
    EXPECT_EQ(list->GetCount(), 513u);
    EXPECT_EQ(list->GetAt(513), nullptr);
    EXPECT_EQ(first->GetReferenceCount(), 1);

    CList* small = NewList();
    auto* s = new CString(app);
    small->Add(s);
    auto* stranger = new CString(app);
    Variable holdStranger(stranger);
    EXPECT_EQ(small->Remove(stranger), 0);
    EXPECT_EQ(stranger->GetReferenceCount(), 1);
    EXPECT_EQ(small->RemoveAt(5), 0);
    EXPECT_EQ(small->RemoveAt(0), 1);
    EXPECT_EQ(app->IsAlive(s), 0);
    auto* kept = new CString(app);
    small->Add(kept);
    // Inserted in front and at the end; a place past the end is refused.
    auto* front = new CString(app);
    auto* back = new CString(app);
    EXPECT_EQ(small->InsertAt(0, front), 1);
    EXPECT_EQ(small->InsertAt(2, back), 1);
    EXPECT_EQ(small->InsertAt(4, kept), 0);
    EXPECT_EQ(small->GetAt(0), front);
    EXPECT_EQ(small->GetAt(1), kept);
    EXPECT_EQ(small->GetAt(2), back);
    EXPECT_EQ(front->GetReferenceCount(), 1);
    small->RemoveAt(2);
    small->RemoveAt(0);
    EXPECT_EQ(small->ItemAt(0).Get()->GetReferenceCount(), 2);
    lists.clear();  // destroying the lists gives the references back
    EXPECT_EQ(app->IsAlive(kept), 0);
    EXPECT_EQ(app->IsAlive(first), 0);
}

TEST_F(ListTest, ObjectListHoldsNoReferencesAndCompactsDeadEntries)
{
    Variable holder(new CObjectList(app));
    auto* list = holder.As<CObjectList>();
    list->Create();
    auto* s = new CString(app);
    list->AddUnreferenced(s);
    EXPECT_EQ(list->RemoveAt(7), 1);
    EXPECT_EQ(list->RemoveAt(0), 1);
    EXPECT_EQ(app->IsAlive(s), 1);

    auto* dead = new CString(app);
    list->AddUnreferenced(dead);
    list->AddUnreferenced(s);
    delete dead;
    list->Compact();
    ASSERT_EQ(list->GetCount(), 1u);
    EXPECT_EQ(list->GetAt(0), s);

    for (int i = 0; i < 3; i++)
        list->AddUnreferenced(new CString(app));
    list->DeleteAll();
    EXPECT_EQ(list->GetCount(), 0u);
    EXPECT_EQ(app->IsAlive(s), 0);
}

TEST_F(ListTest, PointerComparatorSortsByAddressAndSortedMarkFollowsChanges)
{
    CPointerComparator c(nullptr);
    auto* low = reinterpret_cast<const CObject*>(uintptr_t{0x1000});
    auto* high = reinterpret_cast<const CObject*>(uintptr_t{0x7fff00000000});
    EXPECT_GT(c.CompareItems(low, high), 0);  // the sign survives distant addresses
    EXPECT_LT(c.CompareItems(high, low), 0);
    EXPECT_EQ(c.CompareItems(low, low), 0);
    c.SetKey(low);
    EXPECT_GT(c.CompareKey(high), 0);

    auto* first = new CPointerComparator(app);
    CList* list = NewList(first);
    std::vector<CObject*> objects = Fill(list, 2000);
    list->Sort();
    for (uint32_t i = 1; i < list->GetCount(); i++)
        ASSERT_LT(list->GetAt(i - 1), list->GetAt(i));
    EXPECT_EQ(list->sorted, 1);
    list->RemoveAt(3);
    list->SetComparator(first);
    EXPECT_EQ(list->sorted, 1);
    for (CObject* o : objects) {
        list->GetComparator()->SetKey(o);
        CObject* found = list->Find();
        EXPECT_TRUE(found == o || found == nullptr);
    }
    list->Add(new CString(app));
    EXPECT_EQ(list->sorted, 0);
    list->Sort();
    list->SetComparator(new CPointerComparator(app));
    EXPECT_EQ(list->sorted, 0);
    EXPECT_EQ(app->IsAlive(first), 0);  // the old comparator was released
}

TEST_F(ListTest, SortingManyEqualKeysLosesAndDuplicatesNothing)
{
    CList* list = NewList(new CComparator(app));  // every pair compares equal
    std::vector<CObject*> objects = Fill(list, 4000);
    list->Sort();
    std::vector<CObject*> after(list->items, list->items + list->GetCount());
    std::sort(objects.begin(), objects.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, objects);
}

TEST_F(ListTest, FindAndRemoveKeyAgreeWithALinearSearch)
{
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 3, 4, 5, 8, 17, 100, 1000}) {
        auto* comparator = new ByNumberDescending(app);
        CList* list = NewList(comparator);
        std::vector<double> values;
        for (int i = 0; i < size; i++) {
            values.push_back(static_cast<double>(random() % (2 * size + 1)));
            list->Add(Number(values.back()));
        }
        list->Sort();
        for (uint32_t i = 1; i < list->GetCount(); i++)
            ASSERT_GE(ByNumberDescending::Value(list->GetAt(i - 1)), ByNumberDescending::Value(list->GetAt(i)));
        for (int key = -1; key <= 2 * size + 1; key++) {
            double k = key;
            comparator->SetKey(&k);
            CObject* found = list->Find();
            bool present = std::find(values.begin(), values.end(), k) != values.end();
            ASSERT_EQ(found != nullptr, present) << "size " << size << " key " << key;
            if (found) {
                ASSERT_EQ(ByNumberDescending::Value(found), k);
            }
        }
    }
    auto* comparator = new ByNumberDescending(app);
    CList* list = NewList(comparator);
    for (double v : {3.0, 1.0, 2.0})
        list->Add(Number(v));
    double key = 2;
    comparator->SetKey(&key);
    list->RemoveKey();
    EXPECT_EQ(list->GetCount(), 2u);
    EXPECT_EQ(list->Find(), nullptr);
}
