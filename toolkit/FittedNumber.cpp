#include "toolkit/FittedNumber.h"

#include <cstdlib>
#include <optional>

namespace {
constexpr size_t MaxExponentDigits = 6;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number's text taken apart: value = 0.d1d2d3… × 10^(scale + 1), so `scale` is the
// power of ten of the first significant digit.
struct Parts {
    std::string sign;
    std::string digits;  // significant digits, without leading zeros; empty for zero
    int scale = 0;
    char mark = '.';
    char exponentLetter = 0;  // 0 when the text had no exponent
};

std::optional<Parts> Split(const std::string& text)
{
    Parts parts;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        parts.sign = text.substr(i++, 1);
    std::string whole, fraction;
    while (i < text.size() && IsDigit(text[i]))
        whole += text[i++];
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        parts.mark = text[i++];
        while (i < text.size() && IsDigit(text[i]))
            fraction += text[i++];
    }
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    long exponent = 0;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        parts.exponentLetter = text[i++];
        size_t start = i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            i++;
        size_t digitsFrom = i;
        while (i < text.size() && IsDigit(text[i]))
            i++;
        if (i == digitsFrom || i - digitsFrom > MaxExponentDigits)
            return std::nullopt;
        exponent = std::strtol(text.c_str() + start, nullptr, 10);
    }
    if (i != text.size())
        return std::nullopt;
    std::string all = whole + fraction;
    size_t first = all.find_first_not_of('0');
    if (first != std::string::npos) {
        parts.digits = all.substr(first);
        parts.scale = int(exponent) + int(whole.size()) - 1 - int(first);
    }
    return parts;
}

// The significant digits rounded to n, without zeros at the end; a carry moves the scale.
std::string Rounded(const Parts& parts, size_t n, int& scale)
{
    std::string kept = parts.digits.substr(0, n);
    scale = parts.scale;
    if (n < parts.digits.size() && parts.digits[n] >= '5') {
        size_t k = kept.size();
        while (k > 0 && kept[k - 1] == '9')
            kept[--k] = '0';
        if (k == 0) {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            scale++;
        } else {
            kept[k - 1]++;
        }
    }
    size_t last = kept.find_last_not_of('0');
    kept.resize(last == std::string::npos ? 1 : last + 1);
    return kept;
}

// Plain notation; only called when every digit before the point is kept.
std::string Plain(const Parts& parts, const std::string& digits, int scale)
{
    std::string out = parts.sign;
    if (scale < 0) {
        out += '0';
        out += parts.mark;
        out.append(size_t(-scale - 1), '0');
        return out + digits;
    }
    std::string whole = digits.substr(0, std::min(digits.size(), size_t(scale) + 1));
    whole.append(size_t(scale) + 1 - whole.size(), '0');
    out += whole;
    if (digits.size() > size_t(scale) + 1)
        out += parts.mark + digits.substr(size_t(scale) + 1);
    return out;
}

std::string Scientific(const Parts& parts, const std::string& digits, int scale)
{
    std::string out = parts.sign + digits.substr(0, 1);
    if (digits.size() > 1)
        out += parts.mark + digits.substr(1);
    out += parts.exponentLetter ? parts.exponentLetter : 'E';
    out += scale < 0 ? '-' : '+';
    std::string power = std::to_string(std::abs(scale));
    if (power.size() < 2)
        power.insert(power.begin(), '0');
    return out + power;
}
}  // namespace

std::string FittedNumber(const char* text, uint32_t size, int room, const TextMeasure& widthOf)
{
    std::string full(text ? text : "", text ? size : 0);
    if (full.empty() || widthOf(full.data(), uint32_t(full.size())) <= room)
        return full;
    std::optional<Parts> parts = Split(full);
    if (!parts)
        return full;
    if (parts->digits.empty())
        return parts->sign + "0";
    auto fits = [&](const std::string& candidate) {
        return widthOf(candidate.data(), uint32_t(candidate.size())) <= room;
    };
    // Plain notation as long as every digit before the point stays; then an exponent.
    int scale = 0;
    if (!parts->exponentLetter) {
        for (size_t n = parts->digits.size(); n >= 1; n--) {
            if (parts->scale >= 0 && n < size_t(parts->scale) + 1)
                break;  // digits before the point would be lost
            std::string digits = Rounded(*parts, n, scale);
            std::string candidate = Plain(*parts, digits, scale);
            if (fits(candidate))
                return candidate;
        }
    }
    std::string shortest;
    for (size_t n = parts->digits.size(); n >= 1; n--) {
        std::string digits = Rounded(*parts, n, scale);
        shortest = Scientific(*parts, digits, scale);
        if (fits(shortest))
            return shortest;
    }
    return shortest;
}
