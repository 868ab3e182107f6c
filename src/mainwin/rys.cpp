#include "mainwin/rys.h"

// Placeholder until the render window is built.
Rys::Rys(QWidget* parent) : QWidget(parent) {}
QImage Rys::resultPicture() const { return {}; }
