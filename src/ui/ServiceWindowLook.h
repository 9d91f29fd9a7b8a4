#pragma once

class QWidget;

// The look of the small service windows (wait banner, progress window): borderless,
// 350 × 150, rounded corners, slightly transparent, blue background, centred on the screen.
void ApplyServiceWindowLook(QWidget *window);
// Puts a window (with its frame) in the middle of its screen's free area.
void CentreOnScreen(QWidget *window);
