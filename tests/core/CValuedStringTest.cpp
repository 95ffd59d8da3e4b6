#include <gtest/gtest.h>

#include <string>

#include "core/CMetaFunction.h"
#include "core/CValuedString.h"
#include "tests/core/AppFixture.h"

namespace {
class ValuedStringTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        holder = new CValuedString(app);
        s = holder.As<CValuedString>();
    }
    std::string Formatted(double re, double im)
    {
        s->SetValue(re, im);
        s->FormatValue();
        return std::string(s->GetBuffer(), s->GetLength());
    }
    std::complex<double> Parsed(const char* text)
    {
        s->SetText(text);
        s->ParseValue();
        return s->GetValue();
    }
    Variable holder;
    CValuedString* s = nullptr;
};
}  // namespace

TEST_F(ValuedStringTest, FormatsTheCompactNotation)
{
    EXPECT_EQ(Formatted(3, 4), "3i4");
    EXPECT_EQ(Formatted(0, 1), "i");
    EXPECT_EQ(Formatted(0, -2), "i-2");
    EXPECT_EQ(Formatted(2.5, 0), "2.5");
    EXPECT_EQ(Formatted(3, 1), "3i1");
    EXPECT_GE(s->GetCapacity(), 192u);
}

TEST_F(ValuedStringTest, ParsesWhatItFormats)
{
    EXPECT_EQ(Parsed("3i4"), std::complex<double>(3, 4));
    EXPECT_EQ(Parsed("3i-4"), std::complex<double>(3, -4));
    EXPECT_EQ(Parsed("i4"), std::complex<double>(0, 4));
    EXPECT_EQ(Parsed("i"), std::complex<double>(0, 1));
    EXPECT_EQ(Parsed("7"), std::complex<double>(7, 0));
    EXPECT_EQ(Parsed("2I"), std::complex<double>(2, 1));
    EXPECT_EQ(Parsed(""), std::complex<double>(0, 0));
    EXPECT_EQ(Parsed("xyz"), std::complex<double>(0, 0));
    for (auto z : {std::complex<double>(0.1, -1.0 / 3), std::complex<double>(-1e-300, 1e300)}) {
        Formatted(z.real(), z.imag());
        s->ParseValue();
        EXPECT_EQ(s->GetValue(), z);
    }
}

TEST_F(ValuedStringTest, PartsChangeIndependently)
{
    s->SetValue(1, 2);
    s->SetReal(5);
    EXPECT_EQ(s->GetValue(), std::complex<double>(5, 2));
    s->SetImaginary(-1);
    EXPECT_EQ(s->GetValue(), std::complex<double>(5, -1));
    s->SetValueReal(9);
    EXPECT_EQ(s->GetValue(), std::complex<double>(9, 0));
    EXPECT_STREQ(s->GetClassName(), "CValuedString");
}

TEST_F(ValuedStringTest, MetaFunctionReleasesBothReferences)
{
    auto* a = new CString(app);
    auto* b = new CString(app);
    auto* meta = new CMetaFunction(app);
    meta->first = a;
    meta->second = b;
    EXPECT_EQ(a->GetReferenceCount(), 1);
    delete meta;
    EXPECT_EQ(app->IsAlive(a), 0);
    EXPECT_EQ(app->IsAlive(b), 0);
}
