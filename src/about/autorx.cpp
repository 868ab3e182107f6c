#include "about/autorx.h"

// Placeholder until the About box is built.
AutorX::AutorX(QWidget* parent) : QWidget(parent) {}
void AutorX::showModeless() {}
