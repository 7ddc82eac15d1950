#include "app/WindowViews.h"

#include <cmath>

namespace olv {

WindowView WindowViews::ViewOf(bool showMyCities, bool showGlobal) {
    if (showMyCities)
        return WindowView::MyCities;
    return showGlobal ? WindowView::Global : WindowView::Normal;
}

void WindowViews::ToggleMyCities(bool& showMyCities, bool& showGlobal) {
    if (showMyCities) {
        showMyCities = false;
        return;
    }
    showMyCities = true;
    showGlobal = false;
}

void WindowViews::ToggleGlobal(bool& showMyCities, bool& showGlobal) {
    ToggleMyCities(showGlobal, showMyCities);
}

int WindowViews::Scaled(int pixels, double dotsPerInch) {
    return int(std::lround(pixels * dotsPerInch / 96.0));
}

} // namespace olv
