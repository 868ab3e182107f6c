#pragma once

#include <QIcon>
#include <QPixmap>

// The program's artwork, drawn by code.
namespace icons {

// The common window icon: a yellow serif capital "A" on a transparent ground.
QIcon common();
// The editor's own icon.
QIcon editor();
// 32 x 32 letter pictures of the attribute buttons: 'B', 'I' or 'U'.
QPixmap attributeLetter(char letter);

} // namespace icons
