#include "colour/tlo.h"

// Placeholder until the colour dialog is built.
Tlo::Tlo(QWidget* parent) : QDialog(parent) {}
void Tlo::showModal() {}
