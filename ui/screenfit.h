#pragma once

class QMainWindow;
class QScrollArea;

// A window of fixed design size (its maximum size) on a screen shorter than that: the window
// gets the screen's height, its page scrolls inside the scroll area, and the window widens by the
// scroll bar so that the page keeps its width. Where the screen has room nothing changes.
namespace screenfit {

// Sizes window for its screen now and again once it is shown with its frame; keeps the width in
// step with the scroll bar from then on (also when the user makes the window shorter).
void install(QMainWindow *window, QScrollArea *area);

// Sizes window for roomHeight pixels of screen, frame included.
void fitTo(QMainWindow *window, int roomHeight);

} // namespace screenfit
