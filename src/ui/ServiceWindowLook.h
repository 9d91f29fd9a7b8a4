#pragma once

class QWidget;

// The look of the small service windows (wait banner, progress window): borderless,
// 350 × 150, rounded corners, slightly transparent, blue background, centred on the screen.
void ApplyServiceWindowLook(QWidget *window);
void CentreOnScreen(QWidget *window);
