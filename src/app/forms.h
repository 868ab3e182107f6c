#pragma once

#include <functional>

class Redak;
class MDI;
class Rys;
class Tlo;
class AutorX;
class XData;

// The single instance of each window, and the one place that knows them all:
// windows hand values on through their signals, and this registry wires each
// window's signals to the others when it creates the window.
//
// An accessor creates its window on first use (the constructor runs the
// window's Form_Load) and hands out the same one until it is destroyed: a
// window closed with its close box is deleted, and the next use creates it
// afresh, so no accessor hands out a dangling pointer.
namespace forms {

Redak& redak();
MDI& mdi();
Rys& rys();
Tlo& tlo();
AutorX& autorX();
XData& xdata();

// Whether the window exists now, without creating it.
bool hasRedak();
bool hasMdi();
bool hasRys();
bool hasTlo();
bool hasAutorX();

// Ends the program at once: nothing is asked, saved or closed one by one.
void endProgram();

// Replaces what endProgram does (tests record the call instead of exiting).
// An empty function restores the default.
void setEndProgramHandler(std::function<void()> handler);

// Destroys every window that exists and forgets the settings handed over at
// "&OK" (tests start each case afresh).
void unloadAll();

} // namespace forms
