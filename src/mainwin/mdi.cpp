#include "mainwin/mdi.h"

// Placeholder until the main window is built.
MDI::MDI(QWidget* parent) : QMainWindow(parent) {}
