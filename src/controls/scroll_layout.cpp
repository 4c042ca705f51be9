#include "controls/scroll_layout.h"

#include <algorithm>

namespace tessera {

Offset CentreChild(Extent client, Extent child) {
    // Integer division truncates toward zero; a child larger than the client starts at the
    // origin, and the scroll bars reach the rest.
    const int x = (client.width - child.width) / 2;
    const int y = (client.height - child.height) / 2;
    return {std::max(x, 0), std::max(y, 0)};
}

ScrollBarFit FitScrollBars(Extent bare, Extent content, Extent bar) {
    bool horizontal = content.width > bare.width;
    bool vertical = content.height > bare.height;
    // Each bar takes room from the other direction, which may then need its own bar too.
    for (int pass = 0; pass < 2; ++pass) {
        if (horizontal && !vertical) vertical = content.height > bare.height - bar.height;
        if (vertical && !horizontal) horizontal = content.width > bare.width - bar.width;
    }
    ScrollBarFit fit;
    fit.horizontal = horizontal;
    fit.vertical = vertical;
    fit.client.width = std::max(0, bare.width - (vertical ? bar.width : 0));
    fit.client.height = std::max(0, bare.height - (horizontal ? bar.height : 0));
    return fit;
}

int ClampScrollPosition(int position, int page, int content) {
    return std::clamp(position, 0, std::max(0, content - page));
}

int ScrollTarget(ScrollRequest request, const ScrollState& s) {
    int target = s.position;
    switch (request) {
    case ScrollRequest::LineBack: target = s.position - s.line; break;
    case ScrollRequest::LineForward: target = s.position + s.line; break;
    case ScrollRequest::PageBack: target = s.position - std::max(s.page, 1); break;
    case ScrollRequest::PageForward: target = s.position + std::max(s.page, 1); break;
    case ScrollRequest::Track: target = s.trackPosition; break;
    case ScrollRequest::Start: target = 0; break;
    case ScrollRequest::End: target = s.content; break;
    case ScrollRequest::Other: break;
    }
    return ClampScrollPosition(target, s.page, s.content);
}

}  // namespace tessera
