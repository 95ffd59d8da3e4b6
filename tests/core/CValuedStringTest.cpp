#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CValuedString.h"
#include "tests/core/AppFixture.h"

using ValuedStringTest = AppFixture;
using Complex = std::complex<double>;

TEST_F(ValuedStringTest, FormatsAndParsesTheCompactNotation)
{
    Variable holder(new CValuedString(app));
    auto* s = holder.As<CValuedString>();
    struct Row { Complex value; const char* text; };
    for (const Row& row : std::vector<Row>{{{3, 4}, "3i4"}, {{0, 1}, "i"}, {{0, -2}, "i-2"}, {{2.5, 0}, "2.5"}}) {
        s->SetValue(row.value.real(), row.value.imag());
        s->FormatValue();
        EXPECT_EQ(std::string(s->GetBuffer(), s->GetLength()), row.text);
        EXPECT_GE(s->GetCapacity(), 192u);
    }
    for (const Row& row : std::vector<Row>{{{3, 4}, "3i4"}, {{3, -4}, "3i-4"}, {{0, 4}, "i4"}, {{0, 1}, "i"},
                                           {{7, 0}, "7"},   {{2, 1}, "2I"},    {{0, 0}, ""},   {{0, 0}, "xyz"}}) {
        s->SetText(row.text);
        s->ParseValue();
        EXPECT_EQ(s->GetValue(), row.value) << row.text;
    }
    for (Complex z : {Complex(0.1, -1.0 / 3), Complex(-1e-300, 1e300)}) {
        s->SetValue(z.real(), z.imag());
        s->FormatValue();
        s->ParseValue();
        EXPECT_EQ(s->GetValue(), z);
    }
    s->SetValue(1, 2);
    s->SetReal(5);  // each part alone
    s->SetImaginary(-1);
    EXPECT_EQ(s->GetValue(), Complex(5, -1));
    s->SetValueReal(9);  // a real value clears the imaginary part
    EXPECT_EQ(s->GetValue(), Complex(9, 0));
}
