#pragma once

#include <QByteArray>
#include <QIcon>
#include <QPixmap>

class QPainter;
class QRectF;

// The program's artwork, drawn by code. Every function builds a new icon or
// picture: none is kept in a static, since pixmaps must not outlive the
// application object.
namespace icons {

// The program's icon, which every window but the editor carries: a yellow
// serif capital "A" on a transparent ground. It is drawn from fixed outlines,
// not from a font, so it looks the same on every machine and at every size.
QIcon common();
// Draws the program's icon scaled to fill `box`.
void paintProgramIcon(QPainter& painter, const QRectF& box);
// The same drawing as a scalable SVG document; the installed icon files are
// made from it and from paintProgramIcon (tools/iconfiles.cpp).
QByteArray programIconSvg();

// The editor's own icon.
QIcon editor();
// 32 x 32 letter pictures of the attribute buttons: 'B', 'I' or 'U'.
QPixmap attributeLetter(char letter);

} // namespace icons
