#include "core/CValuedString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr int FormatRoom = 192;
constexpr int FormatDigits = 64;

int Written(int result, int room) { return result < 0 ? 0 : std::min(result, room - 1); }
}  // namespace

CValuedString::CValuedString(CApplication* app) : CString(app) { className = "CValuedString"; }

CValuedString::~CValuedString() { LeaveRegistry(); }

int CValuedString::Destroy() { return CString::Destroy(); }

void CValuedString::SetReal(double x) { value.real(x); }

void CValuedString::SetImaginary(double y) { value.imag(y); }

void CValuedString::SetValue(double x, double y) { value = {x, y}; }

void CValuedString::SetComplex(std::complex<double> z) { value = z; }

void CValuedString::SetValueReal(double x) { value = {x, 0.0}; }

std::complex<double> CValuedString::GetValue() const { return value; }

void CValuedString::ParseValue()
{
    value = {0.0, 0.0};
    if (!buffer || length == 0)
        return;
    double real = ParseLeadingNumber(buffer, length);
    double imaginary = 0.0;
    const char* letter = nullptr;
    for (uint32_t i = 0; i < length && !letter; i++)
        if (buffer[i] == 'i' || buffer[i] == 'I')
            letter = buffer + i;
    if (letter) {
        auto at = static_cast<uint32_t>(letter - buffer);
        if (at == 0)
            real = 0.0;
        imaginary = at + 1 == length ? 1.0 : ParseLeadingNumber(letter + 1, length - at - 1);
    }
    value = {real, imaginary};
}

void CValuedString::FormatValue()
{
    char out[FormatRoom];
    int n = 0;
    double re = value.real(), im = value.imag();
    if (im == 0.0) {
        n = Written(std::snprintf(out, FormatRoom, "%.*G", FormatDigits, re), FormatRoom);
    } else if (re != 0.0) {
        n = Written(std::snprintf(out, FormatRoom, "%.*Gi", FormatDigits, re), FormatRoom);
        n += Written(std::snprintf(out + n, FormatRoom - n, "%.*G", FormatDigits, im), FormatRoom - n);
    } else if (im != 1.0) {
        n = Written(std::snprintf(out, FormatRoom, "i%.*G", FormatDigits, im), FormatRoom);
    } else {
        n = Written(std::snprintf(out, FormatRoom, "i"), FormatRoom);
    }
    Reserve(std::max<uint32_t>(capacity, FormatRoom));
    AppendText(out, static_cast<uint32_t>(n));
}
