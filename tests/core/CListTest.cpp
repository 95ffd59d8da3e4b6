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
    int CompareItems(const CObject* a, const CObject* b) override
    {
        double x = Value(a), y = Value(b);
        return (x > y) - (x < y);
    }
    int CompareKey(const CObject* e) override
    {
        double v = Value(e);
        return (key > v) - (key < v);
    }
    void SetKey(const void* k) override { key = *static_cast<const double*>(k); }
    static double Value(const CObject* o) { return const_cast<CString*>(static_cast<const CString*>(o))->ToNumber(); }
    double key = 0;
};

class ListTest : public AppFixture {
protected:
    CList* NewList()
    {
        auto* list = new CList(app);
        list->Create();
        lists.emplace_back(list);
        return list;
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

TEST_F(ListTest, GrowsFivefoldFromFiveHundredTwelve)
{
    CList* list = NewList();
    EXPECT_EQ(list->GetCount(), 0u);
    EXPECT_EQ(list->GetCapacity(), 512u);
    std::vector<Variable> keep;
    for (int i = 0; i < 513; i++) {
        keep.emplace_back(new CString(app));
        list->Add(keep.back().Get());
    }
    EXPECT_EQ(list->GetCapacity(), 2560u);
    EXPECT_EQ(list->GetCount(), 513u);
    EXPECT_EQ(list->GetAt(513), nullptr);
}

TEST_F(ListTest, ElementsAreReferencedAndReleased)
{
    CList* list = NewList();
    auto* s = new CString(app);
    list->Add(s);
    EXPECT_EQ(s->GetReferenceCount(), 1);
    auto* stranger = new CString(app);
    Variable holdStranger(stranger);
    EXPECT_EQ(list->Remove(stranger), 0);
    EXPECT_EQ(stranger->GetReferenceCount(), 1);
    EXPECT_EQ(list->RemoveAt(5), 0);
    EXPECT_EQ(list->RemoveAt(0), 1);
    EXPECT_EQ(app->IsAlive(s), 0);

    auto* kept = new CString(app);
    list->Add(kept);
    // Inserted in front and at the end; a place past the end is refused.
    auto* front = new CString(app);
    auto* back = new CString(app);
    EXPECT_EQ(list->InsertAt(0, front), 1);
    EXPECT_EQ(list->InsertAt(2, back), 1);
    EXPECT_EQ(list->InsertAt(4, kept), 0);
    EXPECT_EQ(list->GetAt(0), front);
    EXPECT_EQ(list->GetAt(1), kept);
    EXPECT_EQ(list->GetAt(2), back);
    EXPECT_EQ(front->GetReferenceCount(), 1);
    list->RemoveAt(2);
    list->RemoveAt(0);
    {
        Variable fromList = list->ItemAt(0);
        EXPECT_EQ(kept->GetReferenceCount(), 2);
    }
    // Destroying the list gives the references back.
    lists.clear();
    EXPECT_EQ(app->IsAlive(kept), 0);
}

TEST_F(ListTest, ObjectListHoldsNoReferences)
{
    Variable holder(new CObjectList(app));
    auto* list = holder.As<CObjectList>();
    list->Create();
    auto* s = new CString(app);
    list->AddUnreferenced(s);
    EXPECT_EQ(list->RemoveAt(7), 1);
    EXPECT_EQ(list->RemoveAt(0), 1);
    EXPECT_EQ(app->IsAlive(s), 1);
    for (int i = 0; i < 3; i++)
        list->AddUnreferenced(new CString(app));
    list->AddUnreferenced(s);
    list->DeleteAll();
    EXPECT_EQ(list->GetCount(), 0u);
    EXPECT_EQ(app->IsAlive(s), 0);
}

TEST_F(ListTest, PointerComparatorSortsByAscendingAddress)
{
    CList* list = NewList();
    list->SetComparator(new CPointerComparator(app));
    std::vector<CObject*> objects;
    for (int i = 0; i < 2000; i++) {
        objects.push_back(new CString(app));
        list->Add(objects.back());
    }
    list->Sort();
    for (uint32_t i = 1; i < list->GetCount(); i++)
        ASSERT_LT(list->GetAt(i - 1), list->GetAt(i));
    EXPECT_EQ(list->sorted, 1);
    list->RemoveAt(3);
    EXPECT_EQ(list->sorted, 1);
    for (CObject* o : objects) {
        list->GetComparator()->SetKey(o);
        CObject* found = list->Find();
        EXPECT_TRUE(found == o || found == nullptr);
    }
    list->Add(new CString(app));
    EXPECT_EQ(list->sorted, 0);
}

TEST_F(ListTest, PointerComparatorKeepsTheSignForDistantAddresses)
{
    CPointerComparator c(nullptr);
    auto* low = reinterpret_cast<const CObject*>(uintptr_t{0x1000});
    auto* high = reinterpret_cast<const CObject*>(uintptr_t{0x7fff00000000});
    EXPECT_GT(c.CompareItems(low, high), 0);
    EXPECT_LT(c.CompareItems(high, low), 0);
    EXPECT_EQ(c.CompareItems(low, low), 0);
    c.SetKey(low);
    EXPECT_GT(c.CompareKey(high), 0);
}

TEST_F(ListTest, SortingManyEqualKeysLosesAndDuplicatesNothing)
{
    CList* list = NewList();
    list->SetComparator(new CComparator(app));  // every pair compares equal
    std::vector<CObject*> objects;
    for (int i = 0; i < 4000; i++) {
        objects.push_back(new CString(app));
        list->Add(objects.back());
    }
    list->Sort();
    std::vector<CObject*> after(list->items, list->items + list->GetCount());
    std::sort(objects.begin(), objects.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, objects);
}

TEST_F(ListTest, FindAgreesWithALinearSearch)
{
    std::mt19937 random(7);
    for (int size : {0, 1, 2, 3, 4, 5, 8, 17, 100, 1000}) {
        CList* list = NewList();
        auto* comparator = new ByNumberDescending(app);
        list->SetComparator(comparator);
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
}

TEST_F(ListTest, ComparatorChangesClearTheSortedMark)
{
    CList* list = NewList();
    auto* first = new CPointerComparator(app);
    list->SetComparator(first);
    list->Add(new CString(app));
    list->Add(new CString(app));
    list->Sort();
    list->SetComparator(first);
    EXPECT_EQ(list->sorted, 1);
    list->SetComparator(new CPointerComparator(app));
    EXPECT_EQ(list->sorted, 0);
    EXPECT_EQ(app->IsAlive(first), 0);  // the old comparator was released
}

TEST_F(ListTest, CompactDropsDeadAndNullEntries)
{
    Variable holder(new CObjectList(app));
    auto* list = holder.As<CObjectList>();
    list->Create();
    auto* a = new CString(app);
    auto* b = new CString(app);
    list->AddUnreferenced(a);
    list->AddUnreferenced(b);
    delete a;
    list->Compact();
    EXPECT_EQ(list->GetCount(), 1u);
    EXPECT_EQ(list->GetAt(0), b);
}

TEST_F(ListTest, RemoveKeyRemovesTheMatchingElement)
{
    CList* list = NewList();
    auto* comparator = new ByNumberDescending(app);
    list->SetComparator(comparator);
    for (double v : {3.0, 1.0, 2.0})
        list->Add(Number(v));
    double key = 2;
    comparator->SetKey(&key);
    list->RemoveKey();
    EXPECT_EQ(list->GetCount(), 2u);
    EXPECT_EQ(list->Find(), nullptr);
}
