// The surface every fixed-layout drawing paints on: the screen, a printer, PDF, an image, or a recorder for tests.
#pragma once

#include "canvas/rgb.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zorv::canvas {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point &) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size &) const = default;
};

// Right and bottom are exclusive, so a rectangle covers right - left by bottom - top pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool operator==(const Rect &) const = default;
};

enum class PenStyle {
    Solid,
    Dash,
    Dot,
    DashDot,
    None, // moves without leaving a trace
};

struct Pen {
    Rgb colour = 0;
    int width = 1; // pixels; 0 draws the thinnest line the device has
    PenStyle style = PenStyle::Solid;
    bool operator==(const Pen &) const = default;
};

enum class BrushStyle {
    None, // outlines only
    Solid,
};

struct Brush {
    Rgb colour = 0;
    BrushStyle style = BrushStyle::None;
    bool operator==(const Brush &) const = default;
};

// A font by family and point size, as the old layouts name them ("Arial" 8 point).
// A positive pixelHeight asks for a size in device pixels instead, for the few
// layouts that give one; pixelWidth 0 keeps the family's own proportions.
struct Font {
    std::string family = "Arial";
    double pointSize = 8.0;
    int pixelHeight = 0;
    int pixelWidth = 0;
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool operator==(const Font &) const = default;
};

// Copy paints; Invert flips the pixels under the pen, so drawing the same line
// twice restores the picture (cursor lines over a finished chart).
enum class RasterMode {
    Copy,
    Invert,
};

enum class HAlign {
    Left,
    Centre,
    Right,
};
enum class VAlign {
    Top,
    Centre,
    Bottom,
};

// The drawing state (pen, brush, font, text colour, raster mode, clip) persists
// between calls, as on a device context. Coordinates are device pixels. Texts are UTF-8.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setPen(const Pen &pen) = 0;
    virtual void setBrush(const Brush &brush) = 0;
    virtual void setFont(const Font &font) = 0;
    virtual void setTextColour(Rgb colour) = 0;
    virtual void setRasterMode(RasterMode mode) = 0;
    // Nothing outside `clip` is touched until clearClip().
    virtual void setClip(const Rect &clip) = 0;
    virtual void clearClip() = 0;

    // Pixels per inch of the device, for layouts given in millimetres or points.
    virtual int dpi() const = 0;

    virtual void fillRect(const Rect &rect, Rgb colour) = 0;
    virtual void drawLine(Point from, Point to) = 0;
    virtual void drawPolyline(std::span<const Point> points) = 0;
    // Outlined with the pen, filled with the brush.
    virtual void drawPolygon(std::span<const Point> points) = 0;
    virtual void drawRect(const Rect &rect) = 0;
    virtual void drawEllipse(const Rect &bounds) = 0;
    // The arc of the ellipse in `bounds`, counter-clockwise from the ray through
    // `start` to the ray through `end`; equal rays draw the whole ellipse.
    virtual void drawArc(const Rect &bounds, Point start, Point end) = 0;

    // Draws the text with its cell's top left corner at `topLeft`, without filling behind it.
    virtual void drawText(Point topLeft, std::string_view text) = 0;
    // Draws one line of text aligned inside `box` (not clipped to it).
    virtual void drawText(const Rect &box, std::string_view text, HAlign h, VAlign v) = 0;
    // The size of the text's cell in the current font.
    virtual Size textSize(std::string_view text) const = 0;

    int textWidth(std::string_view text) const { return textSize(text).width; }
    int textHeight(std::string_view text) const { return textSize(text).height; }
};

} // namespace zorv::canvas
