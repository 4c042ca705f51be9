#pragma once
// Placing a child in the viewer: centring, the automatic scroll bars and scroll positions.
namespace tessera {

struct Extent {
    int width = 0;
    int height = 0;
};
struct Offset {
    int x = 0;
    int y = 0;
};

// The child's origin: centred in the client, but never left of or above the client's origin.
Offset CentreChild(Extent client, Extent child);

// The scroll bars a content needs and the client left beside them.
struct ScrollBarFit {
    bool horizontal = false;
    bool vertical = false;
    Extent client;
};
// `bare` is the client without scroll bars; `bar` holds the vertical bar's width and the
// horizontal bar's height.
ScrollBarFit FitScrollBars(Extent bare, Extent content, Extent bar);

// What the user asked of a scroll bar.
enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Track, Start, End, Other };

// The new scroll position after `request`, kept between 0 and content − page.
struct ScrollState {
    int position = 0;
    int trackPosition = 0;  // where the thumb is being dragged
    int page = 0;
    int content = 0;
    int line = 1;
};
int ScrollTarget(ScrollRequest request, const ScrollState& state);
int ClampScrollPosition(int position, int page, int content);

}  // namespace tessera
