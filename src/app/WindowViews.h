#pragma once

namespace olv {

// The window's three views: normal (the drop-down strip under the main panel), My Cities and
// global locations. The settings "ShowMyCities" and "ShowGlobal" choose one; at most one of
// them is true.
enum class WindowView { Normal, MyCities, Global };

class WindowViews {
public:
    static constexpr int kWidth = 638;
    static constexpr int kNormalHeight = 309;
    static constexpr int kAreaHeight = 450;

    static WindowView ViewOf(bool showMyCities, bool showGlobal);
    // The "Show MyCities" / "Hide MyCities" button: off when on, else on and global off.
    static void ToggleMyCities(bool& showMyCities, bool& showGlobal);
    static void ToggleGlobal(bool& showMyCities, bool& showGlobal);

    static int Height(WindowView view) {
        return view == WindowView::Normal ? kNormalHeight : kAreaHeight;
    }
    // pixels scaled by the screen's dots per inch / 96, rounded.
    static int Scaled(int pixels, double dotsPerInch);
};

} // namespace olv
