// The application icon for the desktop's icon theme, drawn from the window
// icon: PNG files at the theme's usual sizes and one scalable SVG, laid out
// as the hicolor theme folders want them.
#pragma once

#include <QString>

inline constexpr int DesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr char DesktopIconName[] = "huxing";

// "16x16/apps/huxing.png" for 16; "scalable/apps/huxing.svg" for 0.
QString DesktopIconPath(int Size);

// Writes every size's PNG and the SVG under ThemeDir, making the folders.
// Raises EFCreateError naming the file that cannot be written.
void WriteDesktopIcons(const QString& ThemeDir);
