#pragma once

// The "Quality images" setting ("quality_images", stored as the level's number): the resolution
// at which the "From PDF" tab renders page images.
namespace ImageQuality {

enum Level {
    Low = 0,
    Medium = 1,
    High = 2
};

// The level of a stored number; Medium for a number of no level.
inline Level fromNumber(int number)
{
    return number >= Low && number <= High ? Level(number) : Medium;
}

// Low 72 dpi, Medium 150 dpi, High 300 dpi; a number of no level renders as Medium.
inline double dotsPerInch(int number)
{
    switch (fromNumber(number)) {
    case Low:
        return 72.0;
    case High:
        return 300.0;
    case Medium:
        break;
    }
    return 150.0;
}

} // namespace ImageQuality
