#pragma once
// Point, size and rectangle in device pixels, with the semantics the drawing
// and hit-test code is written in: a rectangle's right and bottom edges are
// exclusive (Width() = right - left), and all operations are plain integer
// arithmetic (no normalisation unless asked for). Header-only, cost O(1).
#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

#include "platform/WinTypes.h"

struct CSize
{
    int cx = 0;
    int cy = 0;

    constexpr CSize() = default;
    constexpr CSize(int x, int y) : cx(x), cy(y) {}
    explicit CSize(const QSize& s) : cx(s.width()), cy(s.height()) {}

    constexpr bool operator==(const CSize&) const = default;
};

struct CPoint
{
    int x = 0;
    int y = 0;

    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}
    explicit CPoint(const QPoint& p) : x(p.x()), y(p.y()) {}

    QPoint ToQPoint() const { return QPoint(x, y); }
    constexpr bool operator==(const CPoint&) const = default;
    constexpr CPoint operator+(const CSize& s) const { return CPoint(x + s.cx, y + s.cy); }
    constexpr CPoint operator-(const CSize& s) const { return CPoint(x - s.cx, y - s.cy); }
    constexpr CSize operator-(const CPoint& p) const { return CSize(x - p.x, y - p.y); }
};

struct CRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& topLeft, const CSize& size)
        : left(topLeft.x), top(topLeft.y), right(topLeft.x + size.cx), bottom(topLeft.y + size.cy) {}
    // A null QRect gives the empty rectangle at its origin.
    explicit CRect(const QRect& r) : left(r.x()), top(r.y()), right(r.x() + r.width()), bottom(r.y() + r.height()) {}

    // Negative extents become empty Qt rectangles.
    QRect ToQRect() const { return QRect(left, top, std::max(0, Width()), std::max(0, Height())); }

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr CSize Size() const { return CSize(Width(), Height()); }
    constexpr CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
    // Right and bottom edges are outside.
    constexpr bool PtInRect(const CPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(const CPoint& p) { OffsetRect(p.x, p.y); }
    void OffsetRect(const CSize& s) { OffsetRect(s.cx, s.cy); }
    void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect()
    {
        if (left > right) std::swap(left, right);
        if (top > bottom) std::swap(top, bottom);
    }
    // Sets this to the overlap of a and b; FALSE (and an empty rectangle) when none.
    BOOL IntersectRect(const CRect& a, const CRect& b)
    {
        const CRect r(std::max(a.left, b.left), std::max(a.top, b.top),
                      std::min(a.right, b.right), std::min(a.bottom, b.bottom));
        if (r.IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        *this = r;
        return TRUE;
    }
    // Sets this to the smallest rectangle holding a and b (empty ones are ignored).
    BOOL UnionRect(const CRect& a, const CRect& b)
    {
        if (a.IsRectEmpty()) *this = b;
        else if (b.IsRectEmpty()) *this = a;
        else *this = CRect(std::min(a.left, b.left), std::min(a.top, b.top),
                           std::max(a.right, b.right), std::max(a.bottom, b.bottom));
        return IsRectEmpty() ? FALSE : TRUE;
    }
    constexpr bool operator==(const CRect&) const = default;
};
