#pragma once
// "宋体" is the face named everywhere in the lab; it maps to an installed Song-style CJK face.

#include <QFont>
#include <QString>

namespace vlab {

inline const QString kSongFace = QStringLiteral("宋体");
// The installed face that stands in for "宋体" (from Debian's fonts-arphic-uming).
inline const QString kSongFamily = QStringLiteral("AR PL UMing CN");

// Registers the substitution; call once after the QGuiApplication exists.
void InstallFontSubstitutes();
// The lab's widget font: "宋体" at a fixed pixel height, so the desktop's dpi cannot change it.
QFont SongFont(int pixels, bool bold = false);
// Pixel height of a font size in points at the lab's fixed 96 dpi.
int PointsToPixels(int points);

}  // namespace vlab
