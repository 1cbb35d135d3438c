#include "app/windowplace.h"

#include <algorithm>

namespace zorv::app {

namespace {

    constexpr int kGap = 8;

    bool inside(const canvas::Rect &outer, const canvas::Rect &r)
    {
        return r.left >= outer.left && r.top >= outer.top && r.right <= outer.right && r.bottom <= outer.bottom;
    }

    bool overlaps(const canvas::Rect &a, const canvas::Rect &b)
    {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

} // namespace

canvas::Rect placeBeside(const canvas::Rect &screen, const canvas::Rect &owner, canvas::Size size)
{
    const int width = std::min(size.width, screen.width());
    const int height = std::min(size.height, screen.height());
    const int top = std::clamp(owner.top, screen.top, screen.bottom - height);
    const int roomRight = screen.right - (owner.right + kGap);
    const int roomLeft = owner.left - kGap - screen.left;
    int left = 0;
    if (roomRight >= width)
        left = owner.right + kGap;
    else if (roomLeft >= width)
        left = owner.left - kGap - width;
    else if (roomRight >= roomLeft)
        left = screen.right - width;
    else
        left = screen.left;
    return { left, top, left + width, top + height };
}

bool clearOfOwner(const canvas::Rect &screen, const canvas::Rect &owner, const canvas::Rect &stored)
{
    return inside(screen, stored) && !overlaps(stored, owner);
}

} // namespace zorv::app
