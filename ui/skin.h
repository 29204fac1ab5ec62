#pragma once

class QWidget;

namespace quillory {

class AppPaths;

/** The design colours: the window and its frames, options, check boxes and labels on white. */
void usePlainWhite(QWidget* window);

/**
 * Gives the window and its option buttons, check boxes, frames and labels the system's button-face
 * colour. Text boxes, lists, push buttons and progress bars keep theirs.
 */
void UseFaceColour(QWidget* window);

/** When the skin file exists beside the program, the main window takes the button-face colour. */
void ApplySkin(QWidget* window, const AppPaths& paths);

} // namespace quillory
