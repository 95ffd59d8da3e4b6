#include "app/PlotScale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr int MostDecimals = 15;

// The number with `decimals` digits after a decimal comma, never "-0".
std::string Fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals < 0 ? 0 : decimals > MostDecimals ? MostDecimals : decimals,
                  value);
    std::string out = text;
    bool zero = out.find_first_of("123456789") == std::string::npos;
    if (zero && !out.empty() && out[0] == '-')
        out.erase(0, 1);
    for (char& c : out)
        if (c == '.')
            c = ',';
    return out;
}

int Exponent(double value) { return static_cast<int>(std::floor(std::log10(std::fabs(value)))); }

std::string PowerText(int power) { return "\xB7" "10^" + std::to_string(power); }

constexpr double Margin = 0.03;  // of the data's span, at either end

// The multiples of the step inside low..high; false when the step is too small for the
// values to count in steps.
bool Inside(double low, double high, double step, long long& first, long long& last)
{
    if (!(step > 0) || !std::isfinite(step) || std::fabs(low / step) > 1e15 || std::fabs(high / step) > 1e15)
        return false;
    first = static_cast<long long>(std::ceil(low / step));
    while (static_cast<double>(first) * step < low)
        first++;
    last = static_cast<long long>(std::floor(high / step));
    while (static_cast<double>(last) * step > high)
        last--;
    return true;
}

// Too few ticks: the frame grows to the next tick outside, on the side nearer to one.
void GrowTo(PlotTicks& ticks, long long& first, long long& last, int fewest)
{
    while (last - first + 1 < fewest) {
        double below = ticks.low - static_cast<double>(first - 1) * ticks.step;
        double above = static_cast<double>(last + 1) * ticks.step - ticks.high;
        if (below <= above)
            ticks.low = static_cast<double>(--first) * ticks.step;
        else
            ticks.high = static_cast<double>(++last) * ticks.step;
    }
}

// 10^power made of exact products (and one division), so a step of 1 is exactly 1: the
// pow of some C libraries (MinGW's) is off by an ulp.
double PowerOfTen(int power)
{
    double p = 1;
    for (int i = 0; i < std::abs(power); i++)
        p *= 10;
    return power < 0 ? 1 / p : p;
}

void Widen(double& low, double& high)
{
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0;
        high = 1;
    }
    if (high < low)
        std::swap(low, high);
    if (high - low <= std::fabs(high) * 1e-12) {
        double margin = low != 0 ? std::fabs(low) * 0.1 : 1;
        low -= margin;
        high += margin;
    }
}
}  // namespace

PlotTicks ChooseTicks(double low, double high, int most)
{
    Widen(low, high);
    most = std::max(most, 3);
    PlotTicks ticks;
    double margin = (high - low) * Margin;
    ticks.low = low - margin;
    ticks.high = high + margin;
    // A decade below the first step that could do, so every step is tried in order.
    double magnitude = std::floor(std::log10((ticks.high - ticks.low) / most));
    int power = static_cast<int>(std::isfinite(magnitude) ? std::clamp(magnitude, -400.0, 400.0) : 0.0) - 1;
    static const double Multiples[3] = {1, 2, 5};
    for (int tries = 0; tries < 30; tries++, power++) {
        double decade = PowerOfTen(power);
        for (double multiple : Multiples) {
            double step = multiple * decade;
            long long first = 0, last = 0;
            if (Inside(ticks.low, ticks.high, step, first, last) && last - first + 1 <= most) {
                ticks.step = step;
                GrowTo(ticks, first, last, most / 2);
                ticks.firstIndex = first;
                ticks.count = static_cast<int>(last - first) + 1;
                ticks.decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
                return ticks;
            }
        }
    }
    ticks.low = 0;
    ticks.high = 1;
    ticks.firstIndex = 0;
    ticks.step = 1;
    ticks.count = 2;
    return ticks;
}

int TickPower(const PlotTicks& ticks)
{
    double largest = std::fmax(std::fabs(ticks.First()), std::fabs(ticks.Last()));
    if (largest >= 1e6 || (largest > 0 && largest < 1e-3))
        return Exponent(largest);
    return 0;
}

std::string TickText(const PlotTicks& ticks, int i, int power)
{
    double scale = std::pow(10.0, power);
    double step = ticks.step / scale;
    int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + 1e-9)));
    return Fixed(ticks.At(i) / scale, decimals);
}

std::string ValueWithError(double value, double error)
{
    error = std::fabs(error);
    if (!std::isfinite(value))
        return "-";
    if (!(error > 0) || !std::isfinite(error))
        return ValueText(value, 6) + " \xB1 0";
    // Two significant digits of the error; 0,0996 rounds to 0,10, not 0,100.
    int place = Exponent(error) - 1;
    if (std::round(error / std::pow(10.0, place)) >= 100)
        place++;
    int power = 0;
    double largest = std::fmax(std::fabs(value), error);
    if (largest >= 1e6 || place < -6)
        power = Exponent(largest);
    double scale = std::pow(10.0, power);
    int decimals = power - place;
    double unit = std::pow(10.0, place);
    double v = std::round(value / unit) * unit / scale, e = std::round(error / unit) * unit / scale;
    std::string pair = Fixed(v, decimals) + " \xB1 " + Fixed(e, decimals);
    return power ? "(" + pair + ")" + PowerText(power) : pair;
}

std::string ValueText(double value, int digits)
{
    if (!std::isfinite(value))
        return "-";
    if (value == 0)
        return "0";
    int exponent = Exponent(value);
    if (exponent >= 6 || exponent < -4) {
        double mantissa = value / std::pow(10.0, exponent);
        return Fixed(mantissa, digits - 1) + PowerText(exponent);
    }
    return Fixed(value, digits - 1 - exponent);
}
