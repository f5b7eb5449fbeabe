#pragma once

#include <QMetaType>
#include <QObject>

// How an image is laid out on a PDF page.
struct LayoutSettingsData
{
    Q_GADGET
public:
    enum ImageSize {
        Original = 0,
        ScaleToFit = 1
    };
    Q_ENUM(ImageSize)
    enum PageSize {
        Letter = 0,
        A3 = 1,
        A4 = 2,
        A5 = 3,
        B5 = 4,
        FitImage = 5
    };
    Q_ENUM(PageSize)
    // A cell of a 3 x 3 grid, row by row from the top left.
    enum Position {
        TopLeft = 0,
        TopCenter,
        TopRight,
        MiddleLeft,
        Center,
        MiddleRight,
        BottomLeft,
        BottomCenter,
        BottomRight
    };
    Q_ENUM(Position)
    enum Margin {
        NoMargin = 0,
        Small = 1,
        Big = 2
    };
    Q_ENUM(Margin)
    enum Orientation {
        Portrait = 0,
        Landscape = 1
    };
    Q_ENUM(Orientation)

    int reserved = 0; // only copied with the record
    int imageSize = ScaleToFit;
    int pageSize = A4;
    int margin = Small;
    int position = Center;
    int rotate = 0; // degrees: 0, 90, 180 or 270
    int orientation = Portrait;

    // Worker-side numbers: margin in millimetres, and the alignment of a position
    // (horizontal 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 bottom).
    static int marginMillimetres(int margin);
    static int horizontalAlignment(int position);
    static int verticalAlignment(int position);
};

Q_DECLARE_METATYPE(LayoutSettingsData)
