#pragma once
// What every Qt entry point of the program sets up the same way: Japanese
// texts on Qt's own buttons, and one Japanese font for everything, so that
// the windows look the same on every machine and in screenshots.

class QApplication;

namespace rahmen {

// The family of the application font.
inline constexpr const char* ApplicationFontFamily = "IPAexGothic";

// Loads Qt's Japanese translations (はい/いいえ, キャンセル, ...) and sets the
// application font. Returns false when the translations were not found.
bool setUpApplication(QApplication& app);

} // namespace rahmen
