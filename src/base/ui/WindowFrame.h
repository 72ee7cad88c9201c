#pragma once

#include <QMargins>

class QWidget;

// The frame the window manager puts around a top-level window. The stored
// placement of the main window is its frame's, and a dialog is centred with
// its frame, so the frame must be known before the window is first shown, or
// it would appear at the wrong place and size and jump when the frame becomes
// known.
namespace WindowFrame {

// The frame margins the window will have once shown. Creates the window's
// native window if it has none. On X11 the window manager is asked for its
// estimate (_NET_REQUEST_FRAME_EXTENTS), waiting for the answer at most a
// quarter of a second; elsewhere, and when no answer comes, the platform's
// margins of the window as they are now.
QMargins expectedMargins(QWidget &window);

} // namespace WindowFrame
