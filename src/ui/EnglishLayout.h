#pragma once

class QWidget;

// Where the English window differs from the Chinese one: English captions are wider, so some
// controls are wider, the controls right of them move right, and the window opens wider. Every
// other control keeps the place it has in Chinese.
namespace EnglishLayout {

// The client width in English, in twips (7200 = 480 pixels at 96 dpi).
constexpr int kClientWidthTwips = 7200;

// Gives every control of the window that the English layout moves or widens its English
// twips, found by object name.
void apply(QWidget* window);

}  // namespace EnglishLayout
