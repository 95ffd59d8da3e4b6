#pragma once

#include <complex>

#include "core/CString.h"

// A CString carrying a complex number, converted to and from the text notation
// "<real>i<imaginary>" (3i4, i-2, 2.5, i).
class CValuedString : public CString {
public:
    explicit CValuedString(CApplication* app);
    ~CValuedString() override;

    int Destroy() override;
    virtual void SetReal(double x);
    virtual void SetImaginary(double y);
    virtual void SetValue(double x, double y);
    virtual void SetComplex(std::complex<double> z);
    virtual void SetValueReal(double x);
    virtual std::complex<double> GetValue() const;
    virtual void ParseValue();
    virtual void FormatValue();

    std::complex<double> value{0.0, 0.0};
};
