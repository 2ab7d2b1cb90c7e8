#include "menubar/MenuColors.h"

#include "platform/SysColors.h"

#include <algorithm>
#include <cmath>

namespace {

struct Hls {
    int hue;        // 0..255 for 0..360 degrees
    int lightness;  // 0..255
    int saturation; // 0..255
};

Hls ToHls(COLORREF color)
{
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    const int maximum = std::max({red, green, blue});
    const int minimum = std::min({red, green, blue});
    const int lightness = (maximum + minimum) / 2;
    if (maximum == minimum)
        return {0, lightness, 0};
    const int delta = maximum - minimum;
    const int saturation = lightness <= 127 ? delta * 255 / (maximum + minimum)
                                            : delta * 255 / (510 - maximum - minimum);
    double sector;
    if (maximum == red)
        sector = double(green - blue) / delta;
    else if (maximum == green)
        sector = 2 + double(blue - red) / delta;
    else
        sector = 4 + double(red - green) / delta;
    double degrees = sector * 60;
    if (degrees < 0)
        degrees += 360;
    return {int(std::lround(degrees * 255 / 360)), lightness, saturation};
}

double Channel(double low, double high, double hue)
{
    if (hue < 0)
        hue += 1;
    if (hue > 1)
        hue -= 1;
    if (hue < 1.0 / 6)
        return low + (high - low) * 6 * hue;
    if (hue < 1.0 / 2)
        return high;
    if (hue < 2.0 / 3)
        return low + (high - low) * (2.0 / 3 - hue) * 6;
    return low;
}

COLORREF FromHls(const Hls& hls)
{
    if (hls.saturation == 0)
        return RGB(hls.lightness, hls.lightness, hls.lightness);
    const double lightness = hls.lightness / 255.0;
    const double saturation = hls.saturation / 255.0;
    const double hue = hls.hue / 255.0;
    const double high = lightness < 0.5 ? lightness * (1 + saturation)
                                        : lightness + saturation - lightness * saturation;
    const double low = 2 * lightness - high;
    const auto level = [&](double h) { return int(std::lround(Channel(low, high, h) * 255)); };
    return RGB(level(hue + 1.0 / 3), level(hue), level(hue - 1.0 / 3));
}

int Scale(int value, int percent)
{
    const int scaled = percent > 0 ? value + (255 - value) * percent / 100 : value * (100 + percent) / 100;
    return std::clamp(scaled, 0, 255);
}

} // namespace

COLORREF AdjustColor(COLORREF color, int lightness, int saturation)
{
    Hls hls = ToHls(color);
    hls.lightness = Scale(hls.lightness, lightness);
    hls.saturation = Scale(hls.saturation, saturation);
    return FromHls(hls);
}

COLORREF AdjustSysColor(int index, int lightness, int saturation)
{
    return AdjustColor(GetSysColor(index), lightness, saturation);
}
