#pragma once

// Windows that never outgrow the screen. An image window builds its content
// inside a scroll area: the content keeps its own layout and minimum sizes
// (the display frame's is its viewport), and what does not fit the window
// scrolls. A fitted window, whenever it is shown and whenever its content
// asks for another size while it is shown, takes the size it wants (its
// content's size hint, but no less than a size its owner gave it before
// building the content; or without such a content the size its owner gave
// it) capped to the available area of its screen, and is moved to lie
// inside that area: the window with the window manager's frame, which is
// known once the window is mapped, when it is fitted once more. The user
// may move and resize it afterwards. GUI thread only.

class QBoxLayout;
class QWidget;

// Gives `window` (which has no layout yet) a layout holding one frameless
// scroll area around a new content widget, and fits the window
// (vx_fit_to_screen). Returns the content widget: the caller sets its layout
// there; widgets added to that layout become its children.
QWidget* vx_scrolled_content(QWidget* window);

// The same for a window whose own `layout` (already set on it) also holds
// controls that stay in view beside the scrolled part: the scroll area goes
// next into `layout`.
QWidget* vx_scrolled_part(QWidget* window, QBoxLayout* layout);

// The content widget vx_scrolled_content made for `window`, or the window
// itself when it has none: where its controls are direct children.
QWidget* vx_window_content(QWidget* window);

// Fits the top-level `window` to its screen from now on, as said above.
// Calling it again changes nothing.
void vx_fit_to_screen(QWidget* window);
