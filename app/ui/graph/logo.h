// The maker logo right of the graph frame: a bitmap whose light pixels are transparent, or a
// line of text when no bitmap is found.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace chromiva::ui {

inline constexpr const char* kLogoFileName = "veltrixscience-logo-white.bmp";
inline constexpr const char* kLogoFallbackText = " veltrix science ";

// Where the bitmap is looked for, in order: the current directory, then the installed data
// folder beside the program.
QStringList LogoSearchPaths();
// The first of those that loads; a null image when none does.
QImage LoadLogoBitmap();
// The logo area (160 x 86, transparent where nothing is drawn) from a bitmap: a pixel whose
// colour value blue * 65536 + green * 256 + red exceeds 12582912 is skipped, as is every place
// outside the bitmap. Without a bitmap, the fallback text at (20, 30).
QImage LogoImage(const QImage& bitmap);

}  // namespace chromiva::ui
